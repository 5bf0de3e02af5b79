#pragma once
// The main frame's logic: its condition fields, the screen they decide, and
// how device results, timers and system events change them.  Everything
// runs on the window thread; the world is reached through the ports.
#include <cstdint>

#include "app/frame_ports.h"
#include "app/screen_decision.h"
#include "app/screen_views.h"
#include "app/tablet_mode.h"
#include "app/view_listeners.h"
#include "views/layout/display_layout.h"

namespace app {

struct FrameSettings {
  uint32_t detect = 1;
  uint32_t executionInterval = 16;
  int32_t audioDelay = 20;
};

// Mode requests of a screen update.
enum ScreenMode : uint32_t { kModeNormal = 0, kModeFullScreen = 1, kModeRefit = 2 };

// Session-change codes the frame reacts to.
inline constexpr uint32_t kSessionConsoleDisconnect = 2;
inline constexpr uint32_t kSessionLogoff = 6;
inline constexpr uint32_t kSessionLock = 7;

// Window size types.
enum class SizeType { Restored, Minimised, Maximised, Other };

// Without user activity for longer than this, full screen hides the bar.
inline constexpr uint64_t kIdleHideMs = 5000;
inline constexpr uint32_t kOverlapCheckMs = 1000;
inline constexpr uint32_t kIdleCheckMs = 1000;
inline constexpr uint32_t kSettleMs = 3000;

class FrameController : public IVideoPlayListner, public ScreenModeChangeListner {
 public:
  // session is null when no device session exists (another copy runs, or
  // the device did not open).
  FrameController(DeviceSession* session, PlaneOutput& plane, FrameTimers& timers, FrameWindow& window,
                  ScreenViews& screens, TabletModeSource& tablet, FrameSettings settings, bool otherSession);
  FrameController(const FrameController&) = delete;
  FrameController& operator=(const FrameController&) = delete;

  // Client-area creation: device start, tablet mode, first placement and
  // the first screen.
  void Start();
  // End of window creation.
  void OnWindowCreated();
  void OnTimer(uint32_t id);
  // The Stopped screen's Continue.
  void Continue();
  // System suspend or stand-by notice (the caller then blocks for a second).
  void OnSuspendNotice();
  void OnMonitorPower(uint8_t firstDataByte);
  void OnSessionChange(uint32_t code);
  void OnDisplayChange();
  void OnTabletModeChanged(int32_t mode);
  void OnMoved();
  void OnSized(SizeType type);
  // The user starts or ends dragging or sizing the window.
  void OnEnterSizeMove();
  void OnExitSizeMove();
  // The window's popup bit before and after a style change.
  void OnStyleChanged(bool oldPopup, bool newPopup);
  // The system's restore command, before the window restores.
  void OnSystemRestore();
  // A key or button release, or any other input that is the user's.
  void OnUserActivity();
  // A mouse move, in the client coordinates of the window that got it:
  // activity only when the position really changed.
  void OnPointerMove(int32_t x, int32_t y);
  // Teardown: the timers that do not end by themselves.
  void Stop();

  ScreenKind Current() const { return current_; }
  const ScreenConditions& Conditions() const { return conditions_; }
  bool TabletMode() const { return tabletMode_; }
  bool RefitPending() const { return refitPending_; }
  int32_t InputWidth() const { return inputWidth_; }
  int32_t InputHeight() const { return inputHeight_; }
  const DisplayState& Display() const { return display_; }
  bool HasSession() const { return session_ != nullptr; }
  bool FullScreen() const { return layout_.fullScreen != 0; }

  const views::DisplayLayout& Layout() const { return layout_; }

  // Exposed for the window's own size and move handling.
  void PushPlaneGeometry();

  // IVideoPlayListner: the play view resized, or a zoom (also its reset).
  void OnVideoAreaChanged() override;
  void OnZoomChanged(const Rect* area, const ZoomCentre* centre, double zoom) override;
  // ScreenModeChangeListner: 0 normal, 1 full screen, 2 re-fit.
  void RequestScreenMode(int32_t mode) override;

 private:
  void StartDevice();
  bool CheckSignal();
  void UpdateScreen(uint32_t mode);
  bool ApplyMode(uint32_t mode);
  void Placement();
  void ScreenChanged(ScreenKind next, ScreenKind old);
  void ResetZoom();
  // Probes the display and fits the video into the shown display view.
  void FitVideo();
  void Relayout();
  void StopPlayback();
  void StartSettle();
  void CopyDisplayToLayout();
  void StartOverlapChecks();
  void RunOverlapCheck();
  void NoteActivity();
  int32_t BarHeight() const;
  uint32_t CurrentMode() const { return FullScreen() ? kModeFullScreen : kModeNormal; }

  DeviceSession* session_;
  PlaneOutput& plane_;
  FrameTimers& timers_;
  FrameWindow& window_;
  ScreenViews& screens_;
  TabletModeSource& tablet_;
  const FrameSettings settings_;
  const bool otherSession_;

  ScreenConditions conditions_{};
  ScreenKind current_ = ScreenKind::None;
  ScreenKind shown_ = ScreenKind::None;  // the kind whose views the window shows
  DisplayState display_{};
  views::DisplayLayout layout_{};
  int32_t inputWidth_ = 0;
  int32_t inputHeight_ = 0;
  bool refitPending_ = false;
  bool tabletMode_ = false;
  SizeType windowState_ = SizeType::Restored;
  uint64_t lastActivity_ = 0;
  int32_t pointerX_ = 0;
  int32_t pointerY_ = 0;
};

}  // namespace app
