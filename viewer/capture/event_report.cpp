#include "capture/event_report.h"

#include "capture/capture_services.h"
#include "views/ui_strings.h"

namespace capture {

bool ReportEvent(const std::wstring& text) {
  EventLogService& log = *Services().eventLog;
  const uintptr_t source = log.RegisterSource(views::LoadUiString(views::kIdsTitle));
  if (source == 0) return false;
  const bool reported = log.ReportError(source, text);
  if (!reported) Services().debugOutput->Write(log.LastErrorText());
  log.DeregisterSource(source);
  return reported;
}

std::wstring StatusEventText(int32_t status, const char* function) {
  std::wstring text;
  for (const char* p = function; p != nullptr && *p != '\0'; ++p) text.push_back(static_cast<unsigned char>(*p));
  text += L'(';
  const std::string number = std::to_string(status);
  text.append(number.begin(), number.end());
  text += L')';
  return text;
}

bool ReportStatus(int32_t status, const char* function) { return ReportEvent(StatusEventText(status, function)); }

}  // namespace capture
