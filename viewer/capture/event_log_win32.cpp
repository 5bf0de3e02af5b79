#include "capture/services_win32.h"

#include <windows.h>

namespace capture {

uintptr_t Win32EventLog::RegisterSource(const std::wstring& name) {
  return reinterpret_cast<uintptr_t>(RegisterEventSourceW(nullptr, name.c_str()));
}

bool Win32EventLog::ReportError(uintptr_t source, const std::wstring& text) {
  const wchar_t* strings[] = {text.c_str()};
  return ReportEventW(reinterpret_cast<HANDLE>(source), EVENTLOG_ERROR_TYPE, 0, 1, nullptr, 1, 0, strings,
                      nullptr) != FALSE;
}

void Win32EventLog::DeregisterSource(uintptr_t source) { DeregisterEventSource(reinterpret_cast<HANDLE>(source)); }

std::wstring Win32EventLog::LastErrorText() {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, GetLastError(), LANG_USER_DEFAULT, reinterpret_cast<wchar_t*>(&buffer),
                                 0, nullptr);
  std::wstring text = (n != 0 && buffer != nullptr) ? std::wstring(buffer, n) : std::wstring();
  if (buffer != nullptr) LocalFree(buffer);
  return text;
}

void Win32DebugOutput::Write(const std::wstring& text) { OutputDebugStringW(text.c_str()); }

}  // namespace capture
