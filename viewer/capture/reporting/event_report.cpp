#include "capture/reporting/event_report.h"

#include "capture/reporting/capture_services.h"
#include "common/unique_owner.h"
#include "views/ui_strings.h"

namespace capture {

namespace {

// Every report registers and deregisters its own source, so that reports of
// different threads share nothing.
void DeregisterSource(uintptr_t source) noexcept { Services().eventLog->DeregisterSource(source); }
using EventSource = common::UniqueOwner<common::ZeroIsEmpty<uintptr_t, &DeregisterSource>>;

}  // namespace

bool ReportEvent(const std::wstring& text) {
  EventLogService& log = *Services().eventLog;
  const EventSource source(log.RegisterSource(views::LoadUiString(views::kIdsTitle)));
  if (!source) return false;
  const bool reported = log.ReportError(source.get(), text);
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
