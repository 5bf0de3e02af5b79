#include "app/frame_controller.h"

#include <cmath>

#include "app/video_fit.h"
#include "views/layout/zoom_geometry.h"

namespace app {
namespace {

// A centre outside the picture (or not a number) is held to it.
double Fraction(double v) {
  if (!(v >= 0.0)) return v > 0.0 ? 1.0 : 0.0;
  return v > 1.0 ? 1.0 : v;
}

}  // namespace

FrameController::FrameController(DeviceSession* session, PlaneOutput& plane, FrameTimers& timers,
                                 FrameWindow& window, ScreenViews& screens, TabletModeSource& tablet,
                                 FrameSettings settings, bool otherSession)
    : session_(otherSession ? nullptr : session),
      plane_(plane),
      timers_(timers),
      window_(window),
      screens_(screens),
      tablet_(tablet),
      settings_(settings),
      otherSession_(otherSession) {
  window_.ProbeDisplay(display_);
  CopyDisplayToLayout();
  lastActivity_ = timers_.NowMs();
}

void FrameController::Start() {
  conditions_.alreadyRunning = otherSession_ ? 1 : 0;
  if (!otherSession_) {
    StartDevice();
    conditions_.waiting = 1;
    int32_t mode = 0;
    if (tablet_.Load(mode)) {
      tabletMode_ = mode == kTabletMode;
      layout_.tabletMode = tabletMode_ ? 1 : 0;
    } else {
      conditions_.abnormal = 1;
    }
  }
  Placement();
  UpdateScreen(kModeNormal);
}

void FrameController::OnWindowCreated() {
  if (!timers_.IsRunning(kTimerKeepAwake)) timers_.Start(kTimerKeepAwake, kKeepAwakeMs);
}

// Every failed step is final: the Abnormal (or UpdateRequired) screen, no retry.
void FrameController::StartDevice() {
  if (session_ == nullptr) {
    conditions_.abnormal = 1;
    return;
  }
  conditions_.firmwareCheck = session_->CheckFirmwareVersion();
  if (conditions_.firmwareCheck != capture::kVersionFits) return;
  conditions_.driverCheck = session_->CheckDriverVersion();
  if (conditions_.driverCheck != capture::kVersionFits) return;
  if (!session_->CreatePlane(display_.width, display_.height, settings_.executionInterval,
                             settings_.audioDelay) ||
      !session_->InitWatchdog(kStartWatchdogMs) ||
      (!session_->IsCallbackRegistered() && !session_->RegisterCallback())) {
    conditions_.abnormal = 1;
    return;
  }
  if (session_->QueryInputStatus(inputWidth_, inputHeight_) == capture::kSignalReadError) {
    conditions_.abnormal = 1;
    return;
  }
  conditions_.abnormal = 0;
  if (!timers_.IsRunning(kTimerDevicePoll)) timers_.Start(kTimerDevicePoll, kDevicePollMs);
}

bool FrameController::CheckSignal() {
  if (session_ == nullptr) return false;
  const capture::SignalStatus status = session_->QueryInputStatus(inputWidth_, inputHeight_);
  if (!session_->IsCallbackRegistered() && !session_->RegisterCallback()) {
    conditions_.abnormal = 1;
    return false;
  }
  conditions_.inputStatus = status;
  return status == capture::kSignalPresent;
}

void FrameController::OnTimer(uint32_t id) {
  switch (id) {
    case kTimerOverlapCheck:
      RunOverlapCheck();
      UpdateScreen(CurrentMode());
      return;
    case kTimerIdle:
      if (timers_.NowMs() - lastActivity_ > kIdleHideMs) {
        conditions_.barHidden = 1;
        UpdateScreen(CurrentMode());
      }
      return;
    case kTimerDevicePoll: {
      if (session_ == nullptr) return;
      if (!session_->CheckWatchdog()) {
        conditions_.abnormal = 1;
        UpdateScreen(CurrentMode());
        return;
      }
      if (!session_->EventPending()) return;
      const bool signal = CheckSignal();
      // Full screen stays; the window is re-fitted when it is left.
      if (FullScreen()) {
        if (signal) {
          refitPending_ = true;
          conditions_.waiting = 1;
        }
        UpdateScreen(kModeFullScreen);
      } else if (signal) {
        conditions_.waiting = 1;
        UpdateScreen(kModeRefit);
      } else {
        UpdateScreen(kModeNormal);
      }
      return;
    }
    case kTimerKeepAwake:
      window_.KeepAwake();
      return;
    case kTimerBlank:
      timers_.Kill(kTimerBlank);
      conditions_.displayChanged = 0;
      conditions_.waiting = 1;
      UpdateScreen(CurrentMode());
      return;
    case kTimerWait:
      timers_.Kill(kTimerWait);
      conditions_.waiting = 0;
      // One check whatever Detect says: the Waiting view waits for its result.
      if (CheckSignal()) RunOverlapCheck();
      ResetZoom();
      UpdateScreen(CurrentMode());
      return;
    case kTimerSettle:
      timers_.Kill(kTimerSettle);
      conditions_.resizeSettling = 0;
      UpdateScreen(CurrentMode());
      return;
    default:
      return;
  }
}

void FrameController::Continue() {
  if (session_ != nullptr) {
    const int32_t oldWidth = inputWidth_;
    const int32_t oldHeight = inputHeight_;
    // Only the size is noted here; the status follows with the next poll.
    static_cast<void>(session_->QueryInputStatus(inputWidth_, inputHeight_));
    if (inputWidth_ != 0 && inputHeight_ != 0 && (inputWidth_ != oldWidth || inputHeight_ != oldHeight)) {
      refitPending_ = true;
    }
    session_->SetNotificationsEnabled(false);
    const bool ok = session_->IsOpened() && session_->InitWatchdog(session_->SavedWatchdogInterval()) &&
                    session_->SetDelayTime(session_->SavedTime()) &&
                    (session_->IsCallbackRegistered() || session_->RegisterCallback());
    if (!timers_.IsRunning(kTimerDevicePoll)) timers_.Start(kTimerDevicePoll, kDevicePollMs);
    if (!ok) {
      conditions_.abnormal = 1;
      UpdateScreen(CurrentMode());
      return;
    }
  }
  conditions_.stopped = 0;
  conditions_.waiting = 1;
  UpdateScreen(CurrentMode());
}

void FrameController::StopPlayback() {
  if (session_ != nullptr) {
    timers_.Kill(kTimerDevicePoll);
    if (!session_->Suspend()) {
      conditions_.abnormal = 1;
      UpdateScreen(CurrentMode());
      return;
    }
  }
  conditions_.stopped = 1;
  UpdateScreen(CurrentMode());
}

void FrameController::OnSuspendNotice() { StopPlayback(); }

void FrameController::OnMonitorPower(uint8_t firstDataByte) {
  if (firstDataByte == 0) StopPlayback();
}

void FrameController::OnSessionChange(uint32_t code) {
  if (code == kSessionConsoleDisconnect || code == kSessionLock) {
    StopPlayback();
  } else if (code == kSessionLogoff) {
    window_.Close();
  }
}

void FrameController::OnDisplayChange() {
  window_.ProbeDisplay(display_);
  if (!window_.IsMinimised()) {
    conditions_.displayChanged = 1;
    UpdateScreen(CurrentMode());
  }
  PushPlaneGeometry();
}

void FrameController::OnTabletModeChanged(int32_t mode) {
  tabletMode_ = mode == kTabletMode;
  layout_.tabletMode = tabletMode_ ? 1 : 0;
  if (tabletMode_ && FullScreen()) {
    refitPending_ = false;
    window_.LeaveFullScreen();
    window_.MinimiseToForeground();
  }
  ResetZoom();
  Relayout();
}

void FrameController::OnMoved() { PushPlaneGeometry(); }

void FrameController::OnSized(SizeType type) {
  PushPlaneGeometry();
  if (type == SizeType::Other || type == windowState_) return;
  const SizeType old = windowState_;
  windowState_ = type;
  if (type != SizeType::Minimised) {
    // Back from the task bar: checks again, whatever the shown view is.
    if (old == SizeType::Minimised && settings_.detect != 0 && !timers_.IsRunning(kTimerOverlapCheck)) {
      timers_.Start(kTimerOverlapCheck, kOverlapCheckMs);
    }
    if (type == SizeType::Maximised) {
      StartSettle();
      return;
    }
  } else {
    timers_.Kill(kTimerOverlapCheck);
  }
  if (old == SizeType::Maximised) StartSettle();
}

void FrameController::StartSettle() {
  conditions_.resizeSettling = 1;
  timers_.Start(kTimerSettle, kSettleMs);
}

// A window being dragged or sized moves over whatever lies around it: its
// own picture would be reported as covered.
void FrameController::OnEnterSizeMove() {
  if (current_ == ScreenKind::Play || current_ == ScreenKind::PlayBarHidden) screens_.PauseChecks();
}

void FrameController::OnExitSizeMove() {
  if (current_ == ScreenKind::Play || current_ == ScreenKind::PlayBarHidden) screens_.ResumeChecks();
}

void FrameController::OnStyleChanged(bool oldPopup, bool newPopup) {
  if (oldPopup == newPopup) return;
  layout_.fullScreen = newPopup ? 1 : 0;
  Relayout();
}

void FrameController::OnSystemRestore() {
  if (FullScreen()) UpdateScreen(kModeNormal);
}

void FrameController::OnUserActivity() {
  conditions_.barHidden = 0;
  UpdateScreen(CurrentMode());
  lastActivity_ = timers_.NowMs();
}

void FrameController::OnPointerMove(int32_t x, int32_t y) {
  if (x == pointerX_ && y == pointerY_) return;
  pointerX_ = x;
  pointerY_ = y;
  OnUserActivity();
}

void FrameController::RequestScreenMode(int32_t mode) { UpdateScreen(static_cast<uint32_t>(mode)); }

void FrameController::RunOverlapCheck() {
  PushPlaneGeometry();
  if (screens_.CheckState() != 0) conditions_.overlapResult = screens_.CheckOverlap();
}

void FrameController::StartOverlapChecks() {
  if (screens_.CheckState() == 1 && settings_.detect != 0 && !window_.IsMinimised() &&
      !timers_.IsRunning(kTimerOverlapCheck)) {
    timers_.Start(kTimerOverlapCheck, kOverlapCheckMs);
  }
}

void FrameController::Stop() {
  timers_.Kill(kTimerIdle);
  timers_.Kill(kTimerOverlapCheck);
  timers_.Kill(kTimerDevicePoll);
}

void FrameController::CopyDisplayToLayout() {
  layout_.displayWidth = display_.width;
  layout_.displayHeight = display_.height;
  layout_.displayThird = 0;
  layout_.displayOrientation = display_.angle;
  layout_.monitor = display_.monitor;
  layout_.workArea = display_.workArea;
}

void FrameController::FitVideo() {
  window_.ProbeDisplay(display_);
  CopyDisplayToLayout();
  layout_.video = FitVideoRect(screens_.DisplayArea(), inputWidth_, inputHeight_);
  Relayout();
}

void FrameController::Relayout() { screens_.Relayout(layout_); }

void FrameController::PushPlaneGeometry() {
  FitVideo();
  if (session_ != nullptr && (shown_ == ScreenKind::Play || shown_ == ScreenKind::PlayBarHidden)) {
    plane_.ShowAt(PlaneGeometryFor(display_, layout_.video));
  }
}

void FrameController::OnVideoAreaChanged() { PushPlaneGeometry(); }

// A zoom the crop cannot express (below 1.0, not a number, an empty area)
// shows the whole picture and is stored as 1.0, so the indicator, the
// zoom-out button and the plane never disagree and no empty crop reaches
// the board.
void FrameController::OnZoomChanged(const Rect* area, const ZoomCentre* centre, double zoom) {
  conditions_.barHidden = 0;
  UpdateScreen(CurrentMode());
  lastActivity_ = timers_.NowMs();  // a zoom is the user's
  views::SizedRect crop;
  bool cropped = false;
  ZoomCentre at;
  if (centre != nullptr) at = ZoomCentre{Fraction(centre->x), Fraction(centre->y)};
  if (zoom != 1.0 && centre != nullptr && area != nullptr && std::isfinite(zoom) && zoom > 1.0) {
    views::Point p;
    if (area->Width() > 0 && area->Height() > 0) {
      p.x = static_cast<int32_t>(area->Width() * at.x + 0.5) + area->left;
      p.y = static_cast<int32_t>(area->Height() * at.y + 0.5) + area->top;
    }
    cropped = views::ComputeCropRect(*area, p, zoom, crop) && crop.width > 0 && crop.height > 0;
  }
  if (session_ != nullptr) {
    if (cropped) {
      plane_.Crop(crop.x, crop.y, crop.width, crop.height);
    } else {
      plane_.WholeInput();
    }
  }
  if (cropped) {
    layout_.zoomCentreX = at.x;
    layout_.zoomCentreY = at.y;
    layout_.zoom = zoom;
  } else {
    layout_.zoomCentreX = 0.5;
    layout_.zoomCentreY = 0.5;
    layout_.zoom = 1.0;
  }
  Relayout();
}

void FrameController::ResetZoom() { OnZoomChanged(nullptr, nullptr, 1.0); }

// The full-screen flag follows the window's style (OnStyleChanged), never
// the request.
bool FrameController::ApplyMode(uint32_t mode) {
  if ((mode & kModeFullScreen) != 0) {
    if (FullScreen()) return false;
    window_.EnterFullScreen();
    return true;
  }
  if ((mode & kModeRefit) != 0) {
    Placement();
    return true;
  }
  bool changed = false;
  if (FullScreen()) {
    window_.LeaveFullScreen();
    changed = true;
  }
  if (refitPending_) {
    Placement();
    refitPending_ = false;
    changed = true;
  }
  return changed;
}

int32_t FrameController::BarHeight() const {
  return views::ScaleToDisplay(200, layout_) + (FullScreen() ? views::ScaleToDisplay(70, layout_) : 0);
}

// In tablet mode the system places the window.
void FrameController::Placement() {
  if (tabletMode_) return;
  static_cast<void>(window_.FitToInput(inputWidth_, inputHeight_, BarHeight()));
}

void FrameController::UpdateScreen(uint32_t mode) {
  const bool modeChanged = ApplyMode(mode);
  const ScreenKind next = DecideScreenKind(conditions_);
  if (next != current_) {
    if (screens_.CheckState() == 1) timers_.Kill(kTimerOverlapCheck);
    screens_.SwitchTo(next);
    shown_ = next;
  } else if (!modeChanged) {
    return;
  }
  const ScreenKind old = current_;
  current_ = next;
  ScreenChanged(next, old);
}

void FrameController::ScreenChanged(ScreenKind next, ScreenKind old) {
  if (next == ScreenKind::Play || next == ScreenKind::PlayBarHidden) {
    PushPlaneGeometry();
    if (layout_.zoom == 1.0) {
      layout_.zoomCentreX = 0.5;
      layout_.zoomCentreY = 0.5;
    }
    Relayout();
    screens_.SetPlaneShown(true);
    if (session_ != nullptr) plane_.Audio(true);
  } else if (session_ != nullptr) {
    PushPlaneGeometry();
    plane_.Hide();
    screens_.SetPlaneShown(false);
    // The sound goes on while another window covers the picture.
    plane_.Audio(next == ScreenKind::Overlapped);
  }
  StartOverlapChecks();
  if (FullScreen() && next == ScreenKind::Play) {
    if (!timers_.IsRunning(kTimerIdle)) {
      timers_.Start(kTimerIdle, kIdleCheckMs);
      lastActivity_ = timers_.NowMs();
    }
  } else {
    timers_.Kill(kTimerIdle);
  }
  // A final screen asks nothing more of the board: a poll that kept running
  // would report the same failing call to the event log every second.
  if (next == ScreenKind::Abnormal || next == ScreenKind::UpdateRequired ||
      next == ScreenKind::AlreadyRunning) {
    timers_.Kill(kTimerDevicePoll);
  }
  if (next == ScreenKind::Blank) timers_.Start(kTimerBlank, kBlankMs);
  if (next == ScreenKind::Waiting) timers_.Start(kTimerWait, kWaitMs);
  if (old == ScreenKind::Waiting && session_ != nullptr) session_->SetNotificationsEnabled(true);
}

}  // namespace app
