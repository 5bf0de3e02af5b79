// Two processes, each with its own slowed simulated board, calling
// SoftUpdate on device index 0 at once: the system-control mutex
// DEV0_MUTEXSYSCTRL0 must keep their requests from overlapping. Both write
// begin and end markers of every command request to one shared file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <set>
#include <thread>
#include <vector>

#include "common/win32/unique_handle.h"
#include <memory>
#include <sstream>
#include <string>

#include "ioctl.h"
#include "library.h"
#include "platform.h"
#include "process_state.h"
#include "sim_driver.h"
#include "win_test_util.h"

namespace {

constexpr int kRounds = 8;
const wchar_t kBoard[] = L"\\\\?\\sim#board";

void Append(const std::wstring& file, const std::string& line) {
  const win32::UniqueFile h(CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return;
  DWORD written = 0;
  WriteFile(h.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// Runs the rounds; returns the number of failed SoftUpdate calls.
int Contend(const std::wstring& file) {
  ovxsim::SimDriver driver;
  driver.AddDevicePath(kBoard);
  driver.SetDelayAll(15);
  const std::string pid = std::to_string(GetCurrentProcessId());
  driver.SetObserver([&](const ovxsim::RequestRecord& r, bool begin) {
    if (r.code == ovx::ioctl::IOCTL_REQUEST_COMMAND) Append(file, (begin ? "B " : "E ") + pid + "\n");
  });
  ovx::platform::Install({nullptr, nullptr, &driver, nullptr, nullptr, nullptr, nullptr});
  ovx::ProcessState::Get().ResetForTesting();
  ovx::ProcessState::Get().deviceHandle = driver.Open(kBoard).handle.release();
  std::unique_ptr<CExportSystemCtrl, void (*)(CExportSystemCtrl*)> system(
      ovx::NewSystemCtrl(), [](CExportSystemCtrl* s) { s->Release(); });
  // Start together: both wait for the shared start event.
  WaitForSingleObject(
      win32::UniqueKernelHandle(CreateEventW(nullptr, TRUE, FALSE, L"OvxcommonSoftUpdateGo")).get(), 30000);
  int failures = 0;
  for (int i = 0; i < kRounds; ++i) failures += system->SoftUpdate() != 0;
  driver.SetObserver(nullptr);
  ovx::ProcessState::Get().deviceHandle = 0;
  ovx::platform::RestoreDefaults();
  return failures;
}

TEST(SoftUpdateProcesses, SystemControlMutexSerialisesTwoProcesses) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring file =
      std::wstring(temp) + L"ovx-softupdate-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  DeleteFileW(file.c_str());

  const win32::UniqueKernelHandle goOwner(CreateEventW(nullptr, TRUE, FALSE, L"OvxcommonSoftUpdateGo"));
  const HANDLE go = goOwner.get();
  ResetEvent(go);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring cmd = L"\"" + std::wstring(self) + L"\" --softupdate-child \"" + file + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(self, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  const win32::UniqueKernelHandle childThread(pi.hThread), child(pi.hProcess);

  int failures = 0;
  std::thread mine([&] { failures = Contend(file); });
  Sleep(200);  // lets the child reach its start line; correctness does not depend on it
  SetEvent(go);
  mine.join();
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
  DWORD childFailures = 99;
  GetExitCodeProcess(pi.hProcess, &childFailures);
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(childFailures, 0u);

  std::string content;
  {
    const win32::UniqueFile h(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(h);
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(h.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) content.append(chunk, got);
  }
  std::istringstream in(content);
  std::string kind, pid, open;
  int begins = 0, ends = 0;
  std::set<std::string> pids;
  while (in >> kind >> pid) {
    pids.insert(pid);
    if (kind == "B") {
      EXPECT_TRUE(open.empty()) << "request of " << pid << " began while one of " << open << " was running";
      open = pid;
      ++begins;
    } else {
      EXPECT_EQ(open, pid);
      open.clear();
      ++ends;
    }
  }
  DeleteFileW(file.c_str());
  EXPECT_EQ(begins, 2 * kRounds);
  EXPECT_EQ(ends, 2 * kRounds);
  EXPECT_EQ(pids.size(), 2u);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"--softupdate-child") return Contend(argv[2]);
  int ac = 1;
  std::vector<char*> av;
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) {
    std::string a;
    for (const wchar_t* p = argv[i]; *p; ++p) a.push_back(static_cast<char>(*p));
    args.push_back(a);
  }
  for (auto& a : args) av.push_back(a.data());
  ac = static_cast<int>(av.size());
  ::testing::InitGoogleTest(&ac, av.data());
  return RUN_ALL_TESTS();
}
