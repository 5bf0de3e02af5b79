#pragma once
// Which of the ten screens the frame shows, decided from its condition
// fields alone.  No state, no window: the same conditions always give the
// same screen.

#include <cstdint>

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

// Version check results as the frame keeps them.
inline constexpr int32_t kCheckFits = 0;
inline constexpr int32_t kCheckNewer = 1;
inline constexpr int32_t kCheckOlder = 2;
inline constexpr int32_t kCheckUnreadable = -1;  // firmware unreadable / driver API error
inline constexpr int32_t kCheckNotDone = -2;     // not checked yet; for the driver also "not found"

// Overlap check results.
inline constexpr int32_t kOverlapClear = 0;
inline constexpr int32_t kOverlapCovered = 1;
inline constexpr int32_t kOverlapNoResult = 2;

struct ScreenConditions {
  uint32_t abnormal = 0;
  uint32_t alreadyRunning = 0;
  int32_t firmwareCheck = kCheckNotDone;
  int32_t driverCheck = kCheckNotDone;
  uint32_t stopped = 0;
  uint32_t displayChanged = 0;
  uint32_t waiting = 0;
  int32_t inputStatus = 0;  // signal status: 0, 1 none, 2 present, 3 read error
  int32_t overlapResult = kOverlapClear;
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
