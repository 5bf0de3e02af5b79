#include "capture/event_report.h"

#include "capture/capture_services.h"
#include "views/ui_strings.h"

namespace capture {

namespace {

// Every report registers and deregisters its own source, so that reports of
// different threads share nothing.
class EventSource {
 public:
  explicit EventSource(EventLogService& log)
      : log_(log), handle_(log.RegisterSource(views::LoadUiString(views::kIdsTitle))) {}
  ~EventSource() {
    if (handle_ != 0) log_.DeregisterSource(handle_);
  }
  EventSource(const EventSource&) = delete;
  EventSource& operator=(const EventSource&) = delete;
  uintptr_t Handle() const { return handle_; }

 private:
  EventLogService& log_;
  const uintptr_t handle_;
};

}  // namespace

bool ReportEvent(const std::wstring& text) {
  EventLogService& log = *Services().eventLog;
  const EventSource source(log);
  if (source.Handle() == 0) return false;
  const bool reported = log.ReportError(source.Handle(), text);
  if (!reported) Services().debugOutput->Write(log.LastErrorText());
  return reported;
}

std::wstring StatusEventText(int32_t status, const char* function) {
  std::wstring text;
  for (const char* p = function; p != nullptr && *p != '\0'; ++p)
    text.push_back(static_cast<unsigned char>(*p));
  text += L'(';
  const std::string number = std::to_string(status);
  text.append(number.begin(), number.end());
  text += L')';
  return text;
}

bool ReportStatus(int32_t status, const char* function) {
  return ReportEvent(StatusEventText(status, function));
}

}  // namespace capture
