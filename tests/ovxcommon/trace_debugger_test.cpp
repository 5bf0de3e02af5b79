// The trace lines as the platform's debug output carries them: the client
// runs as a debuggee and every OUTPUT_DEBUG_STRING_EVENT is collected.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/win32/unique_handle.h"

#include "win_test_util.h"

namespace {

struct DebugRun {
  std::vector<std::string> lines;
  DWORD exitCode = 0xFFFFFFFF;
  bool ended = false;
};

DebugRun Debug(const std::wstring& exe) {
  DebugRun run;
  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                      nullptr, &si, &pi))
    return run;
  const win32::UniqueKernelHandle thread(pi.hThread), process(pi.hProcess);
  for (;;) {
    DEBUG_EVENT ev{};
    if (!WaitForDebugEvent(&ev, 30000)) break;
    DWORD verdict = DBG_CONTINUE;
    switch (ev.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        win32::UniqueKernelHandle(ev.u.CreateProcessInfo.hFile).reset();
        break;
      case LOAD_DLL_DEBUG_EVENT:
        win32::UniqueKernelHandle(ev.u.LoadDll.hFile).reset();
        break;
      case OUTPUT_DEBUG_STRING_EVENT: {
        const auto& s = ev.u.DebugString;
        const std::size_t unit = s.fUnicode ? 2 : 1;
        std::vector<char> raw(s.nDebugStringLength * unit);
        SIZE_T got = 0;
        ReadProcessMemory(pi.hProcess, s.lpDebugStringData, raw.data(), raw.size(), &got);
        std::string text;
        for (std::size_t i = 0; i + unit <= got; i += unit) text.push_back(raw[i]);
        while (!text.empty() && text.back() == '\0') text.pop_back();
        run.lines.push_back(text);
        break;
      }
      case EXCEPTION_DEBUG_EVENT:
        if (ev.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
          verdict = DBG_EXCEPTION_NOT_HANDLED;
        break;
      case EXIT_PROCESS_DEBUG_EVENT:
        run.exitCode = ev.u.ExitProcess.dwExitCode;
        run.ended = true;
        break;
      default:
        break;
    }
    ContinueDebugEvent(ev.dwProcessId, ev.dwThreadId, verdict);
    if (run.ended) break;
  }
  WaitForSingleObject(process.get(), 10000);
  return run;
}

struct Line {
  bool error;
  std::string text;
};

const Line kClientLines[] = {
    {false, "INFO : [OvxCOM]: CDeviceUtil::OpenDevice ++\n"},
    {true, "ERROR: [OvxCOM]: CDeviceUtil::OpenDevice DeviceName is not found in the list\n"},
    {false, "INFO : [OvxCOM]: CDeviceUtil::OpenDevice -- Status = 0x000004B0\n"},
    {false, "INFO : [OvxCOM]: CDeviceUtil::CloseDevice ++\n"},
    {false, "INFO : [OvxCOM]: CDeviceUtil::CloseDevice --\n"},
    {false,
     "INFO : [OvxCOM]: CRegCtrl::ReadRegData RegKey Path = "
     "SYSTEM\\CurrentControlSet\\Services\\ovxdrv\\Parameters\n"},
    {false, "INFO : [OvxCOM]: CRegCtrl::ReadRegData EntryName = DmaTimeOut\n"},
    {false, "INFO : [OvxCOM]: CRegCtrl::ReadRegData RegQueryValueEx failed with 0x2\n"},
    {false, "INFO : [OvxCOM]: CGenericfunc::generic_read32 ++ DevAddr: 0x0 pData: 0x0000000000000000\n"},
    {true, "ERROR: [OvxCOM]: CGenericfunc::generic_read32 Invalid Parameter\n"},
    {false, "INFO : [OvxCOM]: CGenericfunc::generic_read32 -- Status = 0x00000057\n"},
    {false,
     "INFO : [OvxCOM]: CRegCtrl::ReadRegData RegKey Path = "
     "SYSTEM\\CurrentControlSet\\Services\\ovxdrv\\Parameters\n"},
    {false, "INFO : [OvxCOM]: CRegCtrl::ReadRegData EntryName = DebugMask\n"},
    {false, "INFO : [OvxCOM]: CRegCtrl::ReadRegData RegQueryValueEx Read Size = 4\n"},
};

// One test for all masks: the value lives in the shared prefix.
TEST(TraceOnDebugOutput, LinesForEachDebugMask) {
  ovxwin::RegistryLock lock;
  ovxwin::ScopedDword mask(ovxwin::kParameters, L"DebugMask");
  ovxwin::ScopedDword dma(ovxwin::kParameters, L"DmaTimeOut");
  ASSERT_TRUE(dma.Set(std::nullopt));
  const std::wstring client = ovxwin::ExeFolder() + L"ovxcommon_trace_client.exe";
  for (DWORD m : {0u, 1u, 2u, 3u}) {
    SCOPED_TRACE(m);
    ASSERT_TRUE(mask.Set(m));
    const DebugRun run = Debug(client);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, m);
    std::vector<std::string> expected;
    for (const Line& l : kClientLines)
      if ((l.error && (m & 1)) || (!l.error && (m & 2))) expected.push_back(l.text);
    EXPECT_EQ(run.lines, expected);
  }
}

}  // namespace
