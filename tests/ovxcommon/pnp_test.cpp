#include <gtest/gtest.h>

#include "device_util.h"
#include "process_state.h"
#include "test_env.h"

namespace ovxtest {
namespace {

const std::wstring kPci = L"SYSTEM\\CurrentControlSet\\Enum\\PCI";
const std::wstring kHwId = L"VEN_7E21&DEV_0B58&SUBSYS_00017E21&REV_01";
const std::wstring kInstance = L"4&1A2B3C4D&0&0018";
const std::wstring kParams = kPci + L"\\" + kHwId + L"\\" + kInstance + L"\\Device Parameters";
const std::wstring kDeviceId = L"PCI\\" + kHwId + L"\\" + kInstance;

class PnPTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    registry.AddKey(kPci + L"\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000");
    registry.AddKey(kParams);
    util = MakeDeviceUtil();
  }
  std::uint32_t Run() { return static_cast<ovx::CDeviceUtil*>(util.get())->PnPControl(); }
  Owned<CExportDeviceUtil> util;
};

TEST_F(PnPTest, MissingOrZeroFlagRestartsNothing) {
  EXPECT_EQ(Run(), 0u);
  registry.SetDword(kParams, L"RestartFlag", 0);
  EXPECT_EQ(Run(), 0u);
  registry.SetDword(kParams, L"RestartFlag", 2);
  EXPECT_EQ(Run(), 0u);
  EXPECT_TRUE(setup.calls.empty());
  EXPECT_EQ(registry.OpenKeys(), 0);
}

TEST_F(PnPTest, FlagOneClosesTheDeviceThenDisablesAndEnables) {
  ASSERT_EQ(OpenBoard(), 0u);
  registry.SetDword(kParams, L"RestartFlag", 1);
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(setup.calls, (std::vector<std::wstring>{L"locate " + kDeviceId, L"disable", L"enable"}));
  EXPECT_EQ(ovx::ProcessState::Get().deviceHandle.load(), 0u);
  EXPECT_EQ(driver.OpenHandles(), 0u);
}

TEST_F(PnPTest, FirstConfigurationManagerFailureEndsTheSequence) {
  registry.SetDword(kParams, L"RestartFlag", 1);
  setup.locateResults[kDeviceId] = 0x13;
  EXPECT_EQ(Run(), 0x13u);
  EXPECT_EQ(setup.calls, std::vector<std::wstring>{L"locate " + kDeviceId});
  setup.calls.clear();
  setup.locateResults.clear();
  setup.disableResult = 0x17;
  EXPECT_EQ(Run(), 0x17u);
  EXPECT_EQ(setup.calls, (std::vector<std::wstring>{L"locate " + kDeviceId, L"disable"}));
}

TEST_F(PnPTest, RegistryFailuresAreReturned) {
  registry.DenyFullAccess(kParams);
  EXPECT_EQ(Run(), 5u);  // no administrative rights
  registry.FailEnumeration(kPci + L"\\" + kHwId, 1018);
  EXPECT_EQ(Run(), 1018u);
  EXPECT_TRUE(setup.calls.empty());
}

TEST_F(PnPTest, InstancesAreWalkedInNameOrderAndTheLastStatusCounts) {
  const std::wstring other = kPci + L"\\" + kHwId + L"\\0&AAAA\\Device Parameters";
  registry.AddKey(other);
  registry.SetDword(other, L"RestartFlag", 1);
  registry.SetDword(kParams, L"RestartFlag", 1);
  setup.locateResults[L"PCI\\" + kHwId + L"\\0&AAAA"] = 0x13;
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(setup.calls, (std::vector<std::wstring>{L"locate PCI\\" + kHwId + L"\\0&AAAA",
                                                    L"locate " + kDeviceId, L"disable", L"enable"}));
}

TEST_F(PnPTest, TracesTheWalk) {
  ovx::ProcessState::Get().traceMask = 3;
  registry.SetDword(kParams, L"RestartFlag", 1);
  setup.locateResults[kDeviceId] = 0x13;
  EXPECT_EQ(Run(), 0x13u);
  const auto lines = debug.Matching(L"CDeviceUtil::P");
  const std::wstring p = L"INFO : [OvxCOM]: CDeviceUtil::PnPControl ";
  const std::wstring h = L"INFO : [OvxCOM]: CDeviceUtil::PnPHandling ";
  EXPECT_EQ(lines,
            (std::vector<std::wstring>{
                p + L"TargetDeviceKey = " + kHwId + L"\n", p + L"szTargetDeviceID = PCI\\" + kHwId + L"\n",
                p + L"szRegEnumKey = SYSTEM\\CurrentControlSet\\Enum\\PCI\\" + kHwId + L"\n",
                p + L"strRegKeyDevParam = " + kParams + L"\n", p + L"ResetFlag value = 1\n",
                p + L"deviceId = " + kDeviceId + L"\n", h + L"++\n",
                h + L"Get Target Device's Handle failed with 0x00000013\n", h + L"--\n",
                p + L"PnPHandling failed with 0x00000013\n"}));
  EXPECT_EQ(debug.Matching(L"Target key is found !!!").size(), 1u);
}

}  // namespace
}  // namespace ovxtest
