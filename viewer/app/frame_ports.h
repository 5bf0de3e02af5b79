#pragma once
// What the frame's logic needs from the world around it: the device session,
// the video plane, its timers and its window.  The program implements them
// on the capture session and Win32; tests use fakes.

#include <cstdint>

#include "app/screen_decision.h"
#include "capture/result_codes.h"

namespace app {

// Frame timer ids (the values given to the platform's timer calls).
enum FrameTimer : uint32_t {
  kTimerOverlapCheck = 1,
  kTimerIdle = 2,
  kTimerDevicePoll = 3,
  kTimerKeepAwake = 4,
  kTimerBlank = 5,
  kTimerWait = 6,
  kTimerSettle = 7,
};

inline constexpr uint32_t kDevicePollMs = 1000;
inline constexpr uint32_t kKeepAwakeMs = 30000;
inline constexpr uint32_t kBlankMs = 3000;
inline constexpr uint32_t kWaitMs = 1000;
inline constexpr int32_t kStartWatchdogMs = 2000;

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// The built-in display as the last probe found it.
struct DisplayState {
  int32_t width = 0;
  int32_t height = 0;
  int32_t angle = 0;  // degrees
  Rect monitor;
  Rect workArea;
  friend bool operator==(const DisplayState&, const DisplayState&) = default;
};

// The device session operations the frame relies on (results only).
class DeviceSession {
 public:
  virtual ~DeviceSession() = default;
  [[nodiscard]] virtual capture::VersionCheckResult CheckFirmwareVersion() = 0;
  [[nodiscard]] virtual capture::VersionCheckResult CheckDriverVersion() = 0;
  // The interval is the registry's DWORD as it stands (signed in effect).
  [[nodiscard]] virtual bool CreatePlane(int32_t width, int32_t height, uint32_t executionInterval,
                                         int32_t audioDelay) = 0;
  [[nodiscard]] virtual bool InitWatchdog(int32_t intervalMs) = 0;
  [[nodiscard]] virtual bool IsCallbackRegistered() const = 0;
  // Registers the session's own device-event callback.
  [[nodiscard]] virtual bool RegisterCallback() = 0;
  // Writes the input size on a successful read.
  [[nodiscard]] virtual capture::SignalStatus QueryInputStatus(int32_t& width, int32_t& height) = 0;
  [[nodiscard]] virtual bool CheckWatchdog() = 0;
  [[nodiscard]] virtual bool Suspend() = 0;
  [[nodiscard]] virtual bool SetDelayTime(int32_t ms) = 0;
  [[nodiscard]] virtual int32_t SavedWatchdogInterval() const = 0;
  [[nodiscard]] virtual int32_t SavedTime() const = 0;
  [[nodiscard]] virtual bool IsOpened() const = 0;
  // The flags shared with the device callback.
  [[nodiscard]] virtual bool EventPending() const = 0;
  virtual void SetNotificationsEnabled(bool enabled) = 0;
};

// Requests to the video plane, each one request of the session's queue.
struct PlaneGeometry {
  int32_t screenWidth = 0;
  int32_t screenHeight = 0;
  int32_t angle = 0;
  int32_t x = 0;  // relative to the monitor's top-left
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const PlaneGeometry&, const PlaneGeometry&) = default;
};

class PlaneOutput {
 public:
  virtual ~PlaneOutput() = default;
  // Screen size, angle, and placement together with enable 1.
  virtual void ShowAt(const PlaneGeometry& geometry) = 0;
  virtual void Hide() = 0;
  virtual void Audio(bool on) = 0;
  // The whole input, no crop.
  virtual void WholeInput() = 0;
  // Only this part of the input (3840 x 2160 source space), stretched.
  virtual void Crop(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
};

class FrameTimers {
 public:
  virtual ~FrameTimers() = default;
  // Starts or restarts.
  virtual void Start(uint32_t id, uint32_t ms) = 0;
  virtual void Kill(uint32_t id) = 0;
  virtual bool IsRunning(uint32_t id) const = 0;
  // Milliseconds of a monotonic clock (the idle time is measured on it).
  [[nodiscard]] virtual uint64_t NowMs() const = 0;
};

// The frame's window as its logic sees it.
class FrameWindow {
 public:
  virtual ~FrameWindow() = default;
  // Probes the built-in display; false leaves `display` alone.
  virtual bool ProbeDisplay(DisplayState& display) = 0;
  virtual bool IsMinimised() const = 0;
  // Sizes the window to the input with barHeight more client height below
  // it, and centres it in the work area (window placement); false when
  // nothing changed.
  virtual bool FitToInput(int32_t width, int32_t height, int32_t barHeight) = 0;
  // Popup style maximised over the display, or back to the overlapped
  // style restored.  The style change comes back as a style notice.
  virtual void EnterFullScreen() = 0;
  virtual void LeaveFullScreen() = 0;
  // The system took over the window (tablet mode): minimised, then brought
  // to the foreground.
  virtual void MinimiseToForeground() = 0;
  virtual void Close() = 0;
  // Renews the request that keeps the system and the display awake.
  virtual void KeepAwake() = 0;
};

}  // namespace app
