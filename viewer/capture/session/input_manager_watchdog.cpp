// The board's watchdog: armed with an interval and an error limit of 5, read
// once at open and then once a second.  Healthy while err_count > ovx_err.
#include "capture/reporting/capture_calls.h"
#include "capture/reporting/event_report.h"
#include "capture/session/input_manager.h"
#include "views/ui_strings.h"

namespace capture {
namespace {

bool Healthy(const OvxWatchdogInfo& watchdog) { return watchdog.err_count > watchdog.ovx_err; }

}  // namespace

bool InputManager::InitWatchdog(int32_t intervalMs) {
  if (opened_ == 0) return false;
  return CallDevWdtInit(&device_, intervalMs) == 0;
}

// A watchdog found fired at open is reported but does not stop the start.
bool InputManager::CheckWatchdogAtOpen() {
  if (opened_ == 0) return false;
  if (CallDevGetProp(&device_, OVX_DEV_PROP_WATCHDOG, &watchdog_) != 0) return false;
  if (!Healthy(watchdog_)) ReportEvent(views::LoadUiString(views::kIdsWatchdogFired));
  return true;
}

bool InputManager::CheckWatchdog() {
  if (opened_ == 0) return false;
  if (CallDevGetProp(&device_, OVX_DEV_PROP_WATCHDOG, &watchdog_) != 0) return false;
  if (Healthy(watchdog_)) return true;
  ReportEvent(views::LoadUiString(views::kIdsWatchdogOverLimit));
  return false;
}

}  // namespace capture
