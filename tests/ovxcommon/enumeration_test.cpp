#include <gtest/gtest.h>

#include <cstring>

#include "device_util.h"
#include "process_state.h"
#include "test_env.h"

namespace ovxtest {
namespace {

class EnumerationTest : public LibraryTest {
 protected:
  void TwoBoards() {
    setup.devices = {{L"\\\\?\\board#a", L"Capture Board", L"desc", L"PCI bus 3, device 4, function 0"},
                     {L"\\\\?\\board#b", L"Capture Board", L"desc", L"PCI bus 5, device 9, function 0"}};
    driver.AddDevicePath(L"\\\\?\\board#a");
    driver.AddDevicePath(L"\\\\?\\board#b");
  }
  DeviceListRecord records[8];
  void SetUp() override {
    LibraryTest::SetUp();
    std::memset(records, 0xAB, sizeof records);
  }
};

TEST_F(EnumerationTest, NoBoardListsNothingAndPnPControlFindsNoKey) {
  auto util = MakeDeviceUtil();
  EXPECT_EQ(util->GetDeviceList(records), 0u);
  EXPECT_EQ(records[0].SlotNumber, 0xABABABABu);
  EXPECT_EQ(ovx::ProcessState::Get().DeviceCount(), 0u);
  registry.AddKey(L"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00");
  EXPECT_EQ(static_cast<ovx::CDeviceUtil*>(util.get())->PnPControl(), 259u);
}

TEST_F(EnumerationTest, NoDeviceSetIsInvalidParameter) {
  setup.noSet = true;
  ovx::ProcessState::Get().traceMask = 1;
  auto util = MakeDeviceUtil();
  EXPECT_EQ(util->GetDeviceList(records), 87u);
  EXPECT_EQ(debug.Lines(),
            std::vector<std::wstring>{
                L"ERROR: [OvxCOM]: CDeviceUtil::GetDeviceList -- No HDEVINFO available for this GUID\n"});
  EXPECT_EQ(util->GetDeviceList(nullptr), 87u);
}

TEST_F(EnumerationTest, TwoBoardsGetNumberedNamesAndSlots) {
  TwoBoards();
  auto util = MakeDeviceUtil();
  ASSERT_EQ(util->GetDeviceList(records), 0u);
  EXPECT_EQ(RecordName(records[0]), L"Capture Board 0");
  EXPECT_EQ(RecordName(records[1]), L"Capture Board 1");
  EXPECT_EQ(records[0].SlotNumber, 4u);
  EXPECT_EQ(records[1].SlotNumber, 9u);
  EXPECT_EQ(records[1].DeviceName[259], 0);  // the rest of a record is zeroed
  EXPECT_EQ(records[2].SlotNumber, 0xABABABABu);
  EXPECT_EQ(util->OpenDevice(L"Capture Board 1"), 0u);
  EXPECT_EQ(util->GetDeviceIndex(), 1);
  EXPECT_EQ(util->OpenDevice(L"capture board 0"), 1200u);  // names compare exactly
}

TEST_F(EnumerationTest, ListingTwiceListsTwiceAndTheFirstMatchOpens) {
  TwoBoards();
  auto util = MakeDeviceUtil();
  ASSERT_EQ(util->GetDeviceList(records), 0u);
  ASSERT_EQ(util->GetDeviceList(records), 0u);
  EXPECT_EQ(ovx::ProcessState::Get().DeviceCount(), 4u);
  EXPECT_EQ(util->OpenDevice(L"Capture Board 1"), 0u);
  EXPECT_EQ(util->GetDeviceIndex(), 1);
}

TEST_F(EnumerationTest, EveryConstructionEmptiesTheList) {
  TwoBoards();
  auto util = MakeDeviceUtil();
  ASSERT_EQ(util->GetDeviceList(records), 0u);
  auto generic = MakeGenericfunc();
  EXPECT_EQ(util->OpenDevice(L"Capture Board 0"), 1200u);
  ASSERT_EQ(util->GetDeviceList(records), 0u);
  auto system = MakeSystemCtrl();
  EXPECT_EQ(util->OpenDevice(L"Capture Board 0"), 1200u);
  ASSERT_EQ(util->GetDeviceList(records), 0u);
  EXPECT_EQ(util->OpenDevice(L"Capture Board 0"), 0u);
}

TEST_F(EnumerationTest, OpenFailureGivesThePlatformErrorAndKeepsTheIndex) {
  TwoBoards();
  driver.SetOpenError(5);
  setup.devices[1].path = L"\\\\?\\board#gone";
  auto util = MakeDeviceUtil();
  ASSERT_EQ(util->GetDeviceList(records), 0u);
  EXPECT_EQ(util->OpenDevice(L"Capture Board 1"), 5u);
  EXPECT_EQ(util->GetDeviceIndex(), 1);
  EXPECT_EQ(ovx::ProcessState::Get().deviceHandle.load(), 0u);
}

TEST_F(EnumerationTest, DescriptionFallsBackToDeviceDescription) {
  setup.devices = {{L"p0", std::nullopt, L"Board Desc", std::nullopt},
                   {L"p1", std::nullopt, std::nullopt, L"x, 5"}};
  setup.devices[1].readError = 0x490;  // the failing read's own error, not the set's stale one
  ovx::ProcessState::Get().traceMask = 1;
  auto util = MakeDeviceUtil();
  EXPECT_EQ(util->GetDeviceList(records), 87u);
  EXPECT_EQ(RecordName(records[0]), L"Board Desc 0");
  EXPECT_EQ(records[0].SlotNumber, 0u);                   // no location: slot 0
  EXPECT_EQ(ovx::ProcessState::Get().DeviceCount(), 1u);  // entries before the failure stay
  EXPECT_EQ(
      debug.Lines(),
      std::vector<std::wstring>{
          L"ERROR: [OvxCOM]: CDeviceUtil::GetDeviceList -- Failed to GetDeviceDescription 0x00000490\n"});
}

TEST_F(EnumerationTest, DeviceThatCannotBeOpenedGivesTheSetsError) {
  setup.devices = {{L"p0", L"B", std::nullopt, std::nullopt}};
  setup.devices[0].openFails = true;
  ovx::ProcessState::Get().traceMask = 1;
  EXPECT_EQ(MakeDeviceUtil()->GetDeviceList(records), 87u);
  EXPECT_EQ(
      debug.Lines(),
      std::vector<std::wstring>{
          L"ERROR: [OvxCOM]: CDeviceUtil::GetDeviceList -- Failed to GetDeviceDescription 0x00000057\n"});
}

TEST_F(EnumerationTest, AllocationFailureBecomesNotEnoughMemory) {
  setup.throwOnPresent = true;
  EXPECT_EQ(MakeDeviceUtil()->GetDeviceList(records), 8u);
}

TEST_F(EnumerationTest, DetailFailuresAreInvalidParameter) {
  setup.devices = {{L"p0", L"B", std::nullopt, std::nullopt}, {L"p1", L"B", std::nullopt, std::nullopt}};
  setup.failIndex = 1;
  setup.failError = 1784;
  ovx::ProcessState::Get().traceMask = 1;
  auto util = MakeDeviceUtil();
  EXPECT_EQ(util->GetDeviceList(records), 87u);
  EXPECT_EQ(RecordName(records[0]), L"B 0");
  setup.failKind = ovx::InterfaceEnum::Kind::DetailAllocFailed;
  EXPECT_EQ(util->GetDeviceList(records), 87u);
  EXPECT_EQ(debug.Lines(),
            (std::vector<std::wstring>{
                L"ERROR: [OvxCOM]: CDeviceUtil::GetDeviceList -- INVALID_HANDLE_VALUE ErrCode = 1784\n",
                L"ERROR: [OvxCOM]: CDeviceUtil::GetDeviceList -- NVALID_HANDLE_VALUE\n"}));
}

TEST_F(EnumerationTest, LongPathsAndDescriptionsAreCutSafely) {
  const std::wstring longPath = L"\\\\?\\" + std::wstring(400, L'p');
  const std::wstring longName(400, L'n');
  setup.devices = {{longPath, longName, std::nullopt, L"PCI bus 1, device 2, function 0"}};
  driver.AddDevicePath(longPath.substr(0, 259));
  auto util = MakeDeviceUtil();
  ASSERT_EQ(util->GetDeviceList(records), 0u);
  const std::wstring name = RecordName(records[0]);
  EXPECT_EQ(name, std::wstring(259, L'n'));
  EXPECT_EQ(records[0].SlotNumber, 2u);
  EXPECT_EQ(util->OpenDevice(name.c_str()), 0u);
}

TEST_F(EnumerationTest, FullWidthCommasGiveTheSameSlot) {
  setup.devices = {{L"p0", L"B", std::nullopt, L"PCI bus 3, device 12, function 0"},
                   {L"p1", L"B", std::nullopt, L"PCI bus 3\xFF0C device 12\xFF0C function 0"}};
  auto util = MakeDeviceUtil();
  ASSERT_EQ(util->GetDeviceList(records), 0u);
  EXPECT_EQ(records[0].SlotNumber, 12u);
  EXPECT_EQ(records[1].SlotNumber, 12u);
}

TEST(SlotNumber, ParsesTheSecondToken) {
  std::wstring first;
  std::uint32_t slot = 77;
  EXPECT_TRUE(ovx::ParseSlotNumber(L"PCI bus 3, device 0, function 0", &first, &slot));
  EXPECT_EQ(first, L"PCI bus 3");
  EXPECT_EQ(slot, 0u);
  EXPECT_TRUE(ovx::ParseSlotNumber(L",,bus 1,,dev 42x", &first, &slot));  // empty tokens are skipped
  EXPECT_EQ(first, L"bus 1");
  EXPECT_EQ(slot, 42u);
  slot = 77;
  EXPECT_FALSE(ovx::ParseSlotNumber(L"PCI bus 3", &first, &slot));
  EXPECT_FALSE(ovx::ParseSlotNumber(L"PCI bus 3, device", &first, &slot));
  EXPECT_FALSE(ovx::ParseSlotNumber(L"", &first, &slot));
  EXPECT_EQ(slot, 77u);
  EXPECT_TRUE(ovx::ParseSlotNumber(L"a, 99999999999", &first, &slot));
  EXPECT_EQ(slot, 0xFFFFFFFFu);
}

TEST_F(EnumerationTest, ListAndOpenTraceTheirLines) {
  setup.devices = {{L"\\\\?\\b", L"Capture Board", std::nullopt, L"PCI bus 3, device 0, function 0"}};
  driver.AddDevicePath(L"\\\\?\\b");
  ovx::ProcessState::Get().traceMask = 3;
  auto util = MakeDeviceUtil();
  ASSERT_EQ(util->GetDeviceList(records), 0u);
  ASSERT_EQ(util->OpenDevice(L"Capture Board 0"), 0u);
  util->CloseDevice();
  const std::wstring l = L"INFO : [OvxCOM]: CDeviceUtil::GetDeviceList ";
  const std::wstring d = L"INFO : [OvxCOM]: CDeviceUtil::GetDeviceDescription ";
  const std::wstring o = L"INFO : [OvxCOM]: CDeviceUtil::OpenDevice ";
  const std::wstring c = L"INFO : [OvxCOM]: CDeviceUtil::CloseDevice ";
  EXPECT_EQ(debug.Lines(),
            (std::vector<std::wstring>{
                l + L"++\n", l + L"Symbolic link is \\\\?\\b\n", d + L"++\n",
                d + L"PCI bus 3, device 0, function 0\n", d + L"PCI bus 3\n", d + L"PCI slot number is: 0\n",
                d + L"--\n", l + L"DevicePath[0] is \\\\?\\b\n", l + L"DeviceName[0] is Capture Board 0\n",
                l + L"-- Status = 0x00000000\n", o + L"++\n", o + L"DeviceName is Capture Board 0\n",
                o + L"DevicePath is \\\\?\\b\n", o + L"-- Status = 0x00000000\n", c + L"++\n", c + L"--\n"}));
}

}  // namespace
}  // namespace ovxtest
