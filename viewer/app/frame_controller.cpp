#include "app/frame_controller.h"

#include "app/video_fit.h"

namespace app {

FrameController::FrameController(DeviceSession* session, PlaneOutput& plane, FrameTimers& timers,
                                 FrameWindow& window, TabletModeSource& tablet, FrameSettings settings,
                                 bool otherSession)
    : session_(otherSession ? nullptr : session),
      plane_(plane),
      timers_(timers),
      window_(window),
      tablet_(tablet),
      settings_(settings),
      otherSession_(otherSession) {
  window_.ProbeDisplay(display_);
}

void FrameController::Start() {
  conditions_.alreadyRunning = otherSession_ ? 1 : 0;
  if (!otherSession_) {
    StartDevice();
    conditions_.waiting = 1;
    int32_t mode = 0;
    if (tablet_.Load(mode)) {
      tabletMode_ = mode == kTabletMode;
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
    case kTimerDevicePoll:
      if (session_ == nullptr) return;
      if (!session_->CheckWatchdog()) {
        conditions_.abnormal = 1;
        UpdateScreen(CurrentMode());
        return;
      }
      if (session_->EventPending()) {
        if (CheckSignal()) {
          conditions_.waiting = 1;
          UpdateScreen(kModeRefit);
        } else {
          UpdateScreen(kModeNormal);
        }
      }
      return;
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
      if (CheckSignal()) PushPlaneGeometry();
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
  ResetZoom();
}

void FrameController::OnMoved() { PushPlaneGeometry(); }

void FrameController::OnSized(SizeType type) {
  PushPlaneGeometry();
  if (type == SizeType::Other || type == windowState_) return;
  const SizeType old = windowState_;
  windowState_ = type;
  if (type == SizeType::Maximised) {
    StartSettle();
    return;
  }
  if (old == SizeType::Maximised) StartSettle();
}

void FrameController::StartSettle() {
  conditions_.resizeSettling = 1;
  timers_.Start(kTimerSettle, 3000);
}

void FrameController::Stop() {
  timers_.Kill(kTimerIdle);
  timers_.Kill(kTimerOverlapCheck);
  timers_.Kill(kTimerDevicePoll);
}

void FrameController::PushPlaneGeometry() {
  window_.ProbeDisplay(display_);
  video_ = FitVideoRect(window_.DisplayArea(), inputWidth_, inputHeight_);
  if (session_ != nullptr && (shown_ == ScreenKind::Play || shown_ == ScreenKind::PlayBarHidden)) {
    plane_.ShowAt(PlaneGeometryFor(display_, video_));
  }
}

void FrameController::ResetZoom() {
  conditions_.barHidden = 0;
  UpdateScreen(CurrentMode());
  if (session_ != nullptr) plane_.WholeInput();
}

bool FrameController::ApplyMode(uint32_t mode) {
  if ((mode & kModeFullScreen) != 0) return false;  // no full-screen window yet: stays as it is
  if ((mode & kModeRefit) != 0) {
    Placement();
    return true;
  }
  if (refitPending_) {
    Placement();
    refitPending_ = false;
    return true;
  }
  return false;
}

// In tablet mode the system places the window.
void FrameController::Placement() {
  if (tabletMode_) return;
  window_.FitToInput(inputWidth_, inputHeight_);
}

void FrameController::UpdateScreen(uint32_t mode) {
  const bool modeChanged = ApplyMode(mode);
  const ScreenKind next = DecideScreenKind(conditions_);
  if (next != current_) {
    window_.SwitchTo(next);
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
    if (session_ != nullptr) plane_.Audio(true);
  } else if (session_ != nullptr) {
    PushPlaneGeometry();
    plane_.Hide();
    // The sound goes on while another window covers the picture.
    plane_.Audio(next == ScreenKind::Overlapped);
  }
  timers_.Kill(kTimerIdle);
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
