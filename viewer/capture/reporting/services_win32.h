#pragma once
// Win32 implementations of the capture session's seams.
#include "capture/reporting/capture_services.h"

namespace capture {

class Win32EventLog final : public EventLogService {
 public:
  uintptr_t RegisterSource(const std::wstring& name) override;
  bool ReportError(uintptr_t source, const std::wstring& text) override;
  void DeregisterSource(uintptr_t source) override;
  std::wstring LastErrorText() override;
};

class Win32DebugOutput final : public DebugOutput {
 public:
  void Write(const std::wstring& text) override;
};

class Win32LogFolder final : public LogFolder {
 public:
  std::optional<std::string> DesktopPath() override;
  bool IsDirectory(const std::string& path) override;
  bool CreateDirectory(const std::string& path) override;
  FilePtr OpenAppend(const std::string& path) override;
};

class Win32Clock final : public Clock {
 public:
  LocalTime Now() override;
};

}  // namespace capture
