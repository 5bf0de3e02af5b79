// The driver checks against changed driver installations in the test
// prefix's registry.  Each case changes the board's records and puts them
// back afterwards (the keys are deleted and the board's .reg file imported
// again), so other tests of the prefix see the installation unchanged.  Run
// alone (RUN_SERIAL): tests running at the same time would see the change.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "capture/session/input_manager.h"
#include "capture/versions/versions.h"
#include "common/win32/unique_handle.h"
#include "ovxcapture_sim.h"
#include "session_fixture.h"

namespace capture {
namespace {

using Texts = std::vector<std::wstring>;

const wchar_t kEnumKey[] = L"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_7E21&DEV_0B58&SUBSYS_00017E21&REV_01";
const wchar_t kInstanceKey[] =
    L"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_7E21&DEV_0B58&SUBSYS_00017E21&REV_01\\4&1A2B3C4D&0&0018";
const wchar_t kClassKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e96c-e325-11ce-bfc1-08002be10318}\\0000";

class Key {
 public:
  explicit Key(const wchar_t* path) {
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_SET_VALUE, key_.put()) != ERROR_SUCCESS) key_.reset();
  }

  bool Set(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    return key_ &&
           RegSetValueExW(key_.get(), name, 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
  }
  bool SetText(const wchar_t* name, const std::wstring& text, bool terminated = true) {
    const DWORD bytes = static_cast<DWORD>((text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
    return Set(name, REG_SZ, text.c_str(), bytes);
  }

 private:
  win32::UniqueKey key_;
};

// "Z:\...\board-install.reg": the file the prefix was set up from.
std::wstring BoardRegFile() {
  std::wstring path = L"Z:";
  for (const char* p = TAVRIN_BOARD_REG; *p != '\0'; ++p)
    path += (*p == '/') ? L'\\' : static_cast<wchar_t>(*p);
  return path;
}

bool RunRegedit(const std::wstring& file) {
  std::wstring command = L"regedit.exe /S \"" + file + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  const win32::UniqueKernelHandle thread(process.hThread), child(process.hProcess);
  const bool finished = WaitForSingleObject(child.get(), 60000) == WAIT_OBJECT_0;
  DWORD code = 1;
  GetExitCodeProcess(child.get(), &code);
  return finished && code == 0;
}

class ChangedInstallation : public testing::SessionTest {
 protected:
  void TearDown() override {
    SessionTest::TearDown();
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kEnumKey);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kClassKey);
    ASSERT_TRUE(RunRegedit(BoardRegFile())) << "board installation not restored";
    std::wstring text;
    ASSERT_EQ(FindDriverVersion(kBoardHardwareId, text), 0) << "board installation not restored";
    ASSERT_EQ(text, L"1.0.2.0");
  }

  int Check() {
    fakes.eventLog.texts.clear();
    return session->CheckDriverVersion();
  }
};

TEST_F(ChangedInstallation, WithoutTheBoardDeviceTheDriverIsNotFound) {
  ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, kEnumKey), ERROR_SUCCESS);
  std::wstring text = L"stale";
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text), 1);
  EXPECT_EQ(text, L"");
  EXPECT_EQ(Check(), kVersionNotFound);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Driver not found."});
}

TEST_F(ChangedInstallation, LowerCaseMatchingIdStillMatches) {
  ASSERT_TRUE(Key(kClassKey).SetText(L"MatchingDeviceId", L"pci\\ven_7e21&dev_0b58"));
  EXPECT_EQ(Check(), kVersionFits);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});
}

TEST_F(ChangedInstallation, ChangedDriverVersions) {
  Key key(kClassKey);
  const struct {
    const wchar_t* version;
    int result;
    const wchar_t* message;
  } cases[] = {
      {L"1.0.2.1", kVersionNewer, L"Driver version is new."},
      {L"0.9.0.0", kVersionOlder, L"Driver version is old."},
      {L"15.0.0.0", kVersionApiError, L"Driver version is API Error."},
      {L"1.0.2", kVersionApiError, L"Driver version is API Error."},
      {L"1.0.2.0.5", kVersionApiError, L"Driver version is API Error."},
      {L"1..0.2.0", kVersionFits, nullptr},
      {L"1.5.300.0", kVersionFits, nullptr},
      {L"", kVersionNotFound, L"Driver not found."},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(key.SetText(L"DriverVersion", c.version));
    EXPECT_EQ(Check(), c.result) << c.version;
    EXPECT_EQ(fakes.eventLog.Texts(), c.message != nullptr ? Texts{c.message} : Texts{}) << c.version;
  }
}

TEST_F(ChangedInstallation, VersionWithoutItsTerminatingNul) {
  ASSERT_TRUE(Key(kClassKey).SetText(L"DriverVersion", L"1.0.2.1", false));
  std::wstring text;
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text), 0);
  EXPECT_EQ(text, L"1.0.2.1");
  EXPECT_EQ(Check(), kVersionNewer);
}

TEST_F(ChangedInstallation, ValuesOfTheWrongTypeAreNotUsed) {
  Key key(kClassKey);
  const DWORD number = 0x10000200;
  ASSERT_TRUE(key.Set(L"DriverVersion", REG_DWORD, &number, sizeof(number)));
  EXPECT_EQ(Check(), kVersionNotFound);

  ASSERT_TRUE(key.SetText(L"DriverVersion", L"1.0.2.0"));
  const wchar_t multi[] = L"PCI\\VEN_7E21&DEV_0B58\0";
  ASSERT_TRUE(key.Set(L"MatchingDeviceId", REG_MULTI_SZ, multi, sizeof(multi)));
  EXPECT_EQ(Check(), kVersionNotFound);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Driver not found."});
}

TEST_F(ChangedInstallation, ValuesLongerThanTheBufferArePassedOver) {
  Key key(kClassKey);
  // An unrelated long value does not end the walk over the key's values.
  ASSERT_TRUE(key.SetText(L"AAA Notes", std::wstring(300, L'n')));
  ASSERT_TRUE(key.SetText(L"Zzz Notes", std::wstring(300, L'n')));
  EXPECT_EQ(Check(), kVersionFits);
  // A version text too long for the buffer is no version.
  ASSERT_TRUE(key.SetText(L"DriverVersion", L"1.0.2.0" + std::wstring(200, L' ')));
  std::wstring text;
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text), 1);
  EXPECT_EQ(Check(), kVersionNotFound);
  // One that just fits (129 characters and the NUL are 260 bytes) is used.
  ASSERT_TRUE(key.SetText(L"DriverVersion", L"1.0.2.1" + std::wstring(122, L' ')));
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text), 0);
  EXPECT_EQ(text.size(), 129u);
  EXPECT_EQ(Check(), kVersionNewer);
}

TEST_F(ChangedInstallation, DriverKeyNameTooLongForItsBuffer) {
  ASSERT_TRUE(Key(kInstanceKey).SetText(L"Driver", std::wstring(200, L'x')));
  std::wstring text;
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text), 1);
  EXPECT_EQ(Check(), kVersionNotFound);
}

TEST_F(ChangedInstallation, DriverKeyThatDoesNotExist) {
  ASSERT_TRUE(Key(kInstanceKey).SetText(L"Driver", L"{4d36e96c-e325-11ce-bfc1-08002be10318}\\0099"));
  EXPECT_EQ(Check(), kVersionNotFound);
}

}  // namespace
}  // namespace capture
