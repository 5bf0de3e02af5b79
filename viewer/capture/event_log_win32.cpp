#include "capture/services_win32.h"

#include <windows.h>

#include <memory>

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

namespace {
struct LocalFreer {
  void operator()(wchar_t* p) const { LocalFree(p); }
};
}  // namespace

std::wstring Win32EventLog::LastErrorText() {
  wchar_t* raw = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      GetLastError(), LANG_USER_DEFAULT, reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
  const std::unique_ptr<wchar_t, LocalFreer> buffer(raw);
  return (n != 0 && buffer) ? std::wstring(buffer.get(), n) : std::wstring();
}

void Win32DebugOutput::Write(const std::wstring& text) { OutputDebugStringW(text.c_str()); }

}  // namespace capture
