#include <gtest/gtest.h>

#include <cstring>

#include "genericfunc.h"
#include "library.h"
#include "process_state.h"
#include "reg_ctrl.h"
#include "test_env.h"
#include "trace.h"

namespace ovxtest {
namespace {

class TraceTest : public LibraryTest {};

const std::wstring kNotListed[] = {
    L"INFO : [OvxCOM]: CDeviceUtil::OpenDevice ++\n",
    L"ERROR: [OvxCOM]: CDeviceUtil::OpenDevice DeviceName is not found in the list\n",
    L"INFO : [OvxCOM]: CDeviceUtil::OpenDevice -- Status = 0x000004B0\n",
};

TEST_F(TraceTest, MaskSelectsLevelsAndLinesAreExact) {
  for (std::uint32_t mask : {0u, 1u, 2u, 3u, 0xFFFFFFFCu, 0xFFFFFFFFu}) {
    SCOPED_TRACE(mask);
    Load(mask);
    debug.Clear();
    auto util = MakeDeviceUtil();
    EXPECT_EQ(util->OpenDevice(L"No such board"), 1200u);
    std::vector<std::wstring> expected;
    if (mask & 2) expected.push_back(kNotListed[0]);
    if (mask & 1) expected.push_back(kNotListed[1]);
    if (mask & 2) expected.push_back(kNotListed[2]);
    EXPECT_EQ(debug.Lines(), expected);
  }
}

struct CountingText {
  int* conversions;
  operator const wchar_t*() const {
    ++*conversions;
    return L"x";
  }
};

TEST_F(TraceTest, DisabledLevelFormatsNothing) {
  int conversions = 0;
  const CountingText text{&conversions};
  ovx::ProcessState::Get().traceMask = 1;
  ovx::TraceInfo(L"T::f", L"%s", text);
  EXPECT_EQ(conversions, 0);
  EXPECT_TRUE(debug.Lines().empty());
  ovx::TraceError(L"T::f", L"%s", text);
  EXPECT_EQ(conversions, 1);
  EXPECT_EQ(debug.Lines(), std::vector<std::wstring>{L"ERROR: [OvxCOM]: T::f x\n"});
}

TEST_F(TraceTest, LongMessagesAreCutAndKeepTheLineFeed) {
  ovx::ProcessState::Get().traceMask = 3;
  const std::wstring huge(5000, L'z');
  ovx::TraceInfo(L"CDeviceUtil::GetDeviceList", L"Symbolic link is %s", huge);
  const auto lines = debug.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), ovx::kTraceBufferChars - 1);
  EXPECT_EQ(lines[0].back(), L'\n');
  EXPECT_EQ(lines[0].rfind(L"INFO : [OvxCOM]: CDeviceUtil::GetDeviceList Symbolic link is zzz", 0), 0u);
}

TEST_F(TraceTest, LoadWithoutValuesUsesDefaultsAndTracesNothing) {
  Load(std::nullopt, std::nullopt);
  EXPECT_EQ(ovx::ProcessState::Get().dmaTimeoutMs.load(), 5000u);
  EXPECT_EQ(ovx::ProcessState::Get().traceMask.load(), 0u);
  EXPECT_TRUE(debug.Lines().empty());
}

TEST_F(TraceTest, StoredValuesAreUsedUnchangedZeroIncluded) {
  Load(0u, 0u);
  EXPECT_EQ(ovx::ProcessState::Get().dmaTimeoutMs.load(), 0u);
  Load(2u, 1234u);
  EXPECT_EQ(ovx::ProcessState::Get().dmaTimeoutMs.load(), 1234u);
  EXPECT_EQ(ovx::ProcessState::Get().traceMask.load(), 2u);
}

TEST_F(TraceTest, GetDebugMaskReadsAfreshWhileTracingKeepsTheLoadMask) {
  Load(1u);
  auto generic = MakeGenericfunc();
  registry.SetDword(ovx::kParametersKey, L"DebugMask", 2);
  EXPECT_EQ(generic->GetDebugMask(), 2u);
  EXPECT_EQ(ovx::ProcessState::Get().traceMask.load(), 1u);
  registry.DeleteValue(ovx::kParametersKey, L"DebugMask");
  EXPECT_EQ(generic->GetDebugMask(), 0u);
}

TEST_F(TraceTest, ConstructionRereadsDmaTimeOut) {
  Load(0u, 700u);
  registry.SetDword(ovx::kParametersKey, L"DmaTimeOut", 900);
  auto generic = MakeGenericfunc();
  EXPECT_EQ(ovx::ProcessState::Get().dmaTimeoutMs.load(), 900u);
  registry.DeleteValue(ovx::kParametersKey, L"DmaTimeOut");
  auto system = MakeSystemCtrl();
  EXPECT_EQ(ovx::ProcessState::Get().dmaTimeoutMs.load(), 5000u);
}

class ReadRegDataTest : public LibraryTest {};

TEST_F(ReadRegDataTest, CopiesAtMostTheDestinationSize) {
  registry.SetBytes(L"K", L"V", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  std::uint8_t dest[8];
  std::memset(dest, 0xEE, sizeof dest);
  EXPECT_EQ(ovx::CRegCtrl::ReadRegData(L"K", L"V", dest, 4), 0u);
  EXPECT_EQ(std::vector<std::uint8_t>(dest, dest + 8),
            (std::vector<std::uint8_t>{1, 2, 3, 4, 0xEE, 0xEE, 0xEE, 0xEE}));
  EXPECT_EQ(registry.OpenKeys(), 0);
}

TEST_F(ReadRegDataTest, FailuresAndTheirLines) {
  ovx::ProcessState::Get().traceMask = 3;
  std::uint32_t v = 77;
  EXPECT_EQ(ovx::CRegCtrl::ReadRegData(L"K", L"V", nullptr, 4), 87u);
  EXPECT_EQ(ovx::CRegCtrl::ReadRegData(L"Missing", L"V", &v, 4), 2u);
  registry.DenyFullAccess(L"Locked");
  EXPECT_EQ(ovx::CRegCtrl::ReadRegData(L"Locked", L"V", &v, 4), 5u);
  registry.AddKey(L"K");
  EXPECT_EQ(ovx::CRegCtrl::ReadRegData(L"K", L"V", &v, 4), 2u);
  registry.SetBytes(L"K", L"Big", std::vector<std::uint8_t>(300, 1));
  EXPECT_EQ(ovx::CRegCtrl::ReadRegData(L"K", L"Big", &v, 4), 234u);  // larger than the 200-byte buffer
  EXPECT_EQ(v, 77u);
  EXPECT_EQ(registry.OpenKeys(), 0);
  const std::wstring n = L"INFO : [OvxCOM]: CRegCtrl::ReadRegData ";
  EXPECT_EQ(
      debug.Lines(),
      (std::vector<std::wstring>{
          n + L"RegKey Path = K\n", n + L"EntryName = V\n", n + L"Invalid Parameter\n",
          n + L"RegKey Path = Missing\n", n + L"EntryName = V\n", n + L"RegOpenKeyEx failed with 0x2\n",
          n + L"RegKey Path = Locked\n", n + L"EntryName = V\n", n + L"RegOpenKeyEx failed with 0x5\n",
          n + L"RegKey Path = K\n", n + L"EntryName = V\n", n + L"RegQueryValueEx failed with 0x2\n",
          n + L"RegKey Path = K\n", n + L"EntryName = Big\n", n + L"RegQueryValueEx failed with 0xEA\n"}));
  debug.Clear();
  registry.SetDword(L"K", L"V", 5);
  EXPECT_EQ(ovx::CRegCtrl::ReadRegData(L"K", L"V", &v, 4), 0u);
  EXPECT_EQ(v, 5u);
  EXPECT_EQ(debug.Lines().back(), n + L"RegQueryValueEx Read Size = 4\n");
}

}  // namespace
}  // namespace ovxtest
