#include "capture/reporting/services_win32.h"

#include <windows.h>

#include "common/win32/unique_handle.h"

namespace capture {

uintptr_t Win32EventLog::RegisterSource(const std::wstring& name) {
  return reinterpret_cast<uintptr_t>(RegisterEventSourceW(nullptr, name.c_str()));
}

bool Win32EventLog::ReportError(uintptr_t source, const std::wstring& text) {
  const wchar_t* strings[] = {text.c_str()};
  return ReportEventW(reinterpret_cast<HANDLE>(source), EVENTLOG_ERROR_TYPE, 0, 1, nullptr, 1, 0, strings,
                      nullptr) != FALSE;
}

void Win32EventLog::DeregisterSource(uintptr_t source) {
  DeregisterEventSource(reinterpret_cast<HANDLE>(source));
}

std::wstring Win32EventLog::LastErrorText() {
  win32::UniqueLocalMemory<wchar_t> buffer;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      GetLastError(), LANG_USER_DEFAULT, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
  return (n != 0 && buffer) ? std::wstring(buffer.get(), n) : std::wstring();
}

void Win32DebugOutput::Write(const std::wstring& text) { OutputDebugStringW(text.c_str()); }

}  // namespace capture
