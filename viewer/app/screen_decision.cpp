#include "app/screen_decision.h"

namespace app {
namespace {

// The check fields are signed values kept in 32-bit words and compared as
// words: -1 and -2 are the two largest.
constexpr uint32_t Word(int32_t value) { return static_cast<uint32_t>(value); }

constexpr bool NeedsUpdate(int32_t check) {
  return Word(check) == Word(capture::kVersionNewer) || Word(check) == Word(capture::kVersionOlder);
}
constexpr bool CheckFailed(int32_t check) { return Word(check) >= Word(capture::kVersionNotFound); }

}  // namespace

ScreenKind DecideScreenKind(const ScreenConditions& c) {
  if (c.alreadyRunning != 0) return ScreenKind::AlreadyRunning;
  if (NeedsUpdate(c.firmwareCheck) || NeedsUpdate(c.driverCheck)) return ScreenKind::UpdateRequired;
  if (c.abnormal != 0 || CheckFailed(c.firmwareCheck) || CheckFailed(c.driverCheck) ||
      Word(c.inputStatus) == Word(capture::kSignalReadError)) {
    return ScreenKind::Abnormal;
  }
  if (c.stopped != 0) return ScreenKind::Stopped;
  if (c.displayChanged != 0) return ScreenKind::Blank;
  if (c.waiting != 0) return ScreenKind::Waiting;
  if (Word(c.inputStatus) < Word(capture::kSignalPresent)) return ScreenKind::NoSignal;
  if (c.overlapResult == overlap::kOverlapCovered && c.resizeSettling == 0) return ScreenKind::Overlapped;
  return c.barHidden != 0 ? ScreenKind::PlayBarHidden : ScreenKind::Play;
}

}  // namespace app
