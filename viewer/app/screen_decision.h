#pragma once
// Which of the ten screens the frame shows, decided from its condition
// fields alone.  No state, no window: the same conditions always give the
// same screen.

#include <cstdint>

#include "capture/result_codes.h"
#include "overlap/overlap_result.h"

namespace app {

// Also the key of the splitter's view sets and, from Stopped on, the kind of
// the error view.
enum class ScreenKind : int32_t {
  None = 0,  // before the first decision only
  Blank = 1,
  Play = 2,
  PlayBarHidden = 3,
  Stopped = 4,
  Waiting = 5,
  NoSignal = 6,
  Overlapped = 7,
  Abnormal = 8,
  UpdateRequired = 9,
  AlreadyRunning = 10,
};

struct ScreenConditions {
  uint32_t abnormal = 0;
  uint32_t alreadyRunning = 0;
  // capture::VersionCheckResult; kVersionNotFound also means not checked yet.
  int32_t firmwareCheck = capture::kVersionNotFound;
  int32_t driverCheck = capture::kVersionNotFound;
  uint32_t stopped = 0;
  uint32_t displayChanged = 0;
  uint32_t waiting = 0;
  int32_t inputStatus = capture::kSignalNone;  // capture::SignalStatus
  uint32_t overlapResult = overlap::kOverlapClear;
  uint32_t barHidden = 0;
  uint32_t resizeSettling = 0;

  friend bool operator==(const ScreenConditions&, const ScreenConditions&) = default;
};

// First matching rule wins: already running, a version that does not fit,
// anything abnormal (a check that failed or has not run counts), stopped,
// display changed, waiting, no signal, covered (unless the window is
// settling), bar hidden, else play.  Never None.
ScreenKind DecideScreenKind(const ScreenConditions& conditions);

}  // namespace app
