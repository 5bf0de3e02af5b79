// Host versions of the seams, so that the native build runs on its own:
// the event log and debug output go to stderr, the Desktop is
// $HOME/Desktop.
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "capture/reporting/capture_services.h"

namespace capture {
namespace {

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

class HostEventLog final : public EventLogService {
 public:
  uintptr_t RegisterSource(const std::wstring&) override { return 1; }
  bool ReportError(uintptr_t, const std::wstring& text) override {
    std::cerr << "eventlog: " << Narrow(text) << '\n';
    return true;
  }
  void DeregisterSource(uintptr_t) override {}
  std::wstring LastErrorText() override { return L"unknown error"; }
};

class HostDebugOutput final : public DebugOutput {
 public:
  void Write(const std::wstring& text) override { std::cerr << Narrow(text); }
};

class HostLogFolder final : public LogFolder {
 public:
  std::optional<std::string> DesktopPath() override {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return std::nullopt;
    return std::string(home) + "/Desktop";
  }
  bool IsDirectory(const std::string& path) override {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
  }
  bool CreateDirectory(const std::string& path) override { return ::mkdir(path.c_str(), 0777) == 0; }
  FilePtr OpenAppend(const std::string& path) override { return FilePtr(std::fopen(path.c_str(), "a+")); }
};

class HostClock final : public Clock {
 public:
  LocalTime Now() override {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm t{};
    localtime_r(&seconds, &t);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, static_cast<int>(ms)};
  }
};

}  // namespace

CaptureServices RealServices() {
  static HostEventLog eventLog;
  static HostDebugOutput debugOutput;
  static HostLogFolder logFolder;
  static HostClock clock;
  return {&eventLog, &debugOutput, &logFolder, &clock};
}

}  // namespace capture
