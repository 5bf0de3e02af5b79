#pragma once
// The platform seams the capture session uses, gathered at one injection
// point.  By default each points at the real implementation of the build
// (Win32 on Windows, a plain host version natively); tests swap in fakes.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "capture/reporting/api_log_format.h"

namespace capture {

// Windows Application event log.
class EventLogService {
 public:
  virtual ~EventLogService() = default;
  // 0 when the source cannot be registered.
  [[nodiscard]] virtual uintptr_t RegisterSource(const std::wstring& name) = 0;
  // One error entry, event id 1, category 0, one insertion string.
  [[nodiscard]] virtual bool ReportError(uintptr_t source, const std::wstring& text) = 0;
  virtual void DeregisterSource(uintptr_t source) = 0;
  // The system's text for the calling thread's last error.
  [[nodiscard]] virtual std::wstring LastErrorText() = 0;
};

// The debugger output.
class DebugOutput {
 public:
  virtual ~DebugOutput() = default;
  virtual void Write(const std::wstring& text) = 0;
};

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file != nullptr) std::fclose(file);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Where the API call log goes: the user's Desktop folder.
class LogFolder {
 public:
  virtual ~LogFolder() = default;
  [[nodiscard]] virtual std::optional<std::string> DesktopPath() = 0;
  [[nodiscard]] virtual bool IsDirectory(const std::string& path) = 0;
  [[nodiscard]] virtual bool CreateDirectory(const std::string& path) = 0;
  // Buffered text stream, mode "a+".
  [[nodiscard]] virtual FilePtr OpenAppend(const std::string& path) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  [[nodiscard]] virtual LocalTime Now() = 0;
};

struct CaptureServices {
  EventLogService* eventLog;
  DebugOutput* debugOutput;
  LogFolder* logFolder;
  Clock* clock;
};

// The services in use; the build's real ones unless a test replaced them.
[[nodiscard]] CaptureServices& Services();
[[nodiscard]] CaptureServices RealServices();

// Replaces the services for the lifetime of the object.
class ScopedServices {
 public:
  explicit ScopedServices(const CaptureServices& services) : saved_(Services()) { Services() = services; }
  ~ScopedServices() { Services() = saved_; }
  ScopedServices(const ScopedServices&) = delete;
  ScopedServices& operator=(const ScopedServices&) = delete;

 private:
  CaptureServices saved_;
};

}  // namespace capture
