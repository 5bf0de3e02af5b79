#pragma once
// Fakes of the capture session's seams for tests of both tiers.

#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "capture/reporting/capture_services.h"

namespace capture::testing {

class FakeEventLog final : public EventLogService {
 public:
  uintptr_t RegisterSource(const std::wstring& name) override {
    std::lock_guard g(lock);
    sources.push_back(name);
    return refuseSource ? 0 : 42;
  }
  bool ReportError(uintptr_t source, const std::wstring& text) override {
    std::lock_guard g(lock);
    if (source != 42) return false;
    texts.push_back(text);
    return !refuseReport;
  }
  void DeregisterSource(uintptr_t) override {
    std::lock_guard g(lock);
    ++deregistered;
  }
  std::wstring LastErrorText() override { return L"The event log file is full.\r\n"; }

  std::vector<std::wstring> Texts() {
    std::lock_guard g(lock);
    return texts;
  }

  std::mutex lock;
  std::vector<std::wstring> sources;
  std::vector<std::wstring> texts;
  int deregistered = 0;
  bool refuseSource = false;
  bool refuseReport = false;
};

class FakeDebugOutput final : public DebugOutput {
 public:
  void Write(const std::wstring& text) override {
    std::lock_guard g(lock);
    lines.push_back(text);
  }
  std::mutex lock;
  std::vector<std::wstring> lines;
};

// A Desktop in a folder of the test's choice (or none at all).
class FakeLogFolder final : public LogFolder {
 public:
  std::optional<std::string> DesktopPath() override { return desktop; }
  bool IsDirectory(const std::string& path) override { return std::filesystem::is_directory(path); }
  bool CreateDirectory(const std::string& path) override {
    ++created;
    std::error_code ec;
    return std::filesystem::create_directory(path, ec);
  }
  FilePtr OpenAppend(const std::string& path) override { return FilePtr(std::fopen(path.c_str(), "a+")); }

  std::optional<std::string> desktop;
  int created = 0;
};

class FakeClock final : public Clock {
 public:
  LocalTime Now() override { return now; }
  LocalTime now{2026, 12, 7, 9, 5, 3, 42};
};

// All four fakes, installed for the lifetime of the object.
struct FakeServices {
  FakeEventLog eventLog;
  FakeDebugOutput debugOutput;
  FakeLogFolder logFolder;
  FakeClock clock;
  ScopedServices scope{CaptureServices{&eventLog, &debugOutput, &logFolder, &clock}};
};

// The log is a text stream: lines end in CR LF on Windows.
#ifdef _WIN32
inline constexpr const char* kNewline = "\r\n";
#else
inline constexpr const char* kNewline = "\n";
#endif

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A fresh, empty folder below the system's temporary folder.
inline std::filesystem::path FreshFolder(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() / ("tavrin-test-" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace capture::testing
