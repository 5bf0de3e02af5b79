#include "app/frame_controller.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "frame_fakes.h"

namespace {

using app::ScreenKind;
using app_test::FakePlane;
using app_test::FakeSession;
using app_test::FakeTablet;
using app_test::FakeTimers;
using app_test::FakeWindow;

class FrameControllerTest : public ::testing::Test {
 protected:
  app::FrameController& Make(bool withSession = true, bool otherSession = false) {
    frame_ = std::make_unique<app::FrameController>(withSession ? &session_ : nullptr, plane_, timers_,
                                                    window_, window_, tablet_,
                                                    app::FrameSettings{detect_, 25, 40}, otherSession);
    window_.frame = frame_.get();
    return *frame_;
  }
  // Started with a source present and the wait over: Play.
  app::FrameController& Playing() {
    session_.Signal(1920, 1080);
    auto& f = Make();
    f.Start();
    f.OnTimer(app::kTimerWait);
    return f;
  }

  FakeSession session_;
  FakePlane plane_;
  FakeTimers timers_;
  FakeWindow window_;
  FakeTablet tablet_;
  uint32_t detect_ = 1;
  std::unique_ptr<app::FrameController> frame_;
};

TEST_F(FrameControllerTest, StartRunsTheDeviceStepsInOrderAndWaits) {
  auto& f = Make();
  f.Start();
  EXPECT_EQ((std::vector<std::string>{"firmware", "driver", "plane", "watchdog", "callback", "query"}),
            session_.calls);
  EXPECT_EQ(1920, session_.planeWidth);
  EXPECT_EQ(1280, session_.planeHeight);
  EXPECT_EQ(25u, session_.planeInterval);
  EXPECT_EQ(40, session_.planeAudioDelay);
  EXPECT_EQ(std::vector<int32_t>{2000}, session_.watchdogIntervals);
  EXPECT_EQ(ScreenKind::Waiting, f.Current());
  EXPECT_EQ(1000u, timers_.running.at(app::kTimerDevicePoll));
  EXPECT_EQ(1000u, timers_.running.at(app::kTimerWait));
  EXPECT_EQ(1, tablet_.loads);
  // A message screen hides the plane and silences the audio.
  EXPECT_EQ((std::vector<std::string>{"hide", "audio 0"}), plane_.requests);
  EXPECT_EQ(std::vector<ScreenKind>{ScreenKind::Waiting}, window_.switches);
}

TEST_F(FrameControllerTest, WaitEndsInPlayWithSignalAndNoSignalWithout) {
  session_.Signal(1920, 1080);
  auto& f = Make();
  f.Start();
  plane_.requests.clear();
  f.OnTimer(app::kTimerWait);
  EXPECT_EQ(ScreenKind::Play, f.Current());
  EXPECT_FALSE(timers_.IsRunning(app::kTimerWait));
  EXPECT_TRUE(session_.notifications);
  // Entering Play shows the plane fitted into the display area, then sound.
  ASSERT_GE(plane_.requests.size(), 2u);
  EXPECT_EQ("show", plane_.requests[0]);
  EXPECT_EQ("audio 1", plane_.requests[1]);
  EXPECT_EQ("whole", plane_.requests.back());
  EXPECT_EQ((app::PlaneGeometry{1920, 1280, 0, 100, 50, 960, 540}), plane_.last);

  FakeSession none;
  session_ = none;
  auto& g = Make();
  g.Start();
  g.OnTimer(app::kTimerWait);
  EXPECT_EQ(ScreenKind::NoSignal, g.Current());
}

TEST_F(FrameControllerTest, StartFailuresDecideTheFirstScreen) {
  {
    auto& f = Make(false);
    f.Start();
    EXPECT_EQ(ScreenKind::Abnormal, f.Current());
    EXPECT_FALSE(timers_.IsRunning(app::kTimerDevicePoll));
  }
  {
    session_ = FakeSession{};
    session_.firmware = 1;
    auto& f = Make();
    f.Start();
    EXPECT_EQ(ScreenKind::UpdateRequired, f.Current());
    EXPECT_EQ(std::vector<std::string>{"firmware"}, session_.calls);
  }
  {
    session_ = FakeSession{};
    session_.driver = -2;  // driver not found
    auto& f = Make();
    f.Start();
    EXPECT_EQ(ScreenKind::Abnormal, f.Current());
  }
  for (int step = 0; step < 4; ++step) {
    session_ = FakeSession{};
    timers_ = FakeTimers{};
    session_.createPlaneOk = step != 0;
    session_.initWatchdogOk = step != 1;
    session_.registerOk = step != 2;
    if (step == 3) session_.status = 3;
    auto& f = Make();
    f.Start();
    EXPECT_EQ(ScreenKind::Abnormal, f.Current()) << "step " << step;
    EXPECT_FALSE(timers_.IsRunning(app::kTimerDevicePoll)) << "step " << step;
  }
}

TEST_F(FrameControllerTest, TabletLibraryFailureIsAbnormalAndItsModeIsKept) {
  tablet_.ok = false;
  auto& f = Make();
  f.Start();
  EXPECT_EQ(ScreenKind::Abnormal, f.Current());

  tablet_.ok = true;
  tablet_.mode = 2;
  const auto fitsBefore = window_.fits.size();
  auto& g = Make();
  g.Start();
  EXPECT_TRUE(g.TabletMode());
  // In tablet mode the frame leaves the window where the system put it.
  EXPECT_EQ(fitsBefore, window_.fits.size());
  g.OnTabletModeChanged(1);
  EXPECT_FALSE(g.TabletMode());
}

TEST_F(FrameControllerTest, OtherSessionOpensNothingAndShowsAlreadyRunning) {
  auto& f = Make(true, true);
  f.Start();
  EXPECT_EQ(ScreenKind::AlreadyRunning, f.Current());
  EXPECT_TRUE(session_.calls.empty());
  EXPECT_EQ(0, tablet_.loads);
  EXPECT_TRUE(plane_.requests.empty());
  f.OnTimer(app::kTimerDevicePoll);
  EXPECT_TRUE(session_.calls.empty());
}

TEST_F(FrameControllerTest, DeviceEventLeadsThroughWaitingToPlayWithRefit) {
  auto& f = Make();
  f.Start();
  f.OnTimer(app::kTimerWait);
  ASSERT_EQ(ScreenKind::NoSignal, f.Current());
  // No event pending: the poll only checks the watchdog.
  session_.calls.clear();
  f.OnTimer(app::kTimerDevicePoll);
  EXPECT_EQ(std::vector<std::string>{"check"}, session_.calls);
  EXPECT_EQ(ScreenKind::NoSignal, f.Current());

  session_.Signal(1280, 720);
  session_.pending = true;
  window_.fits.clear();
  f.OnTimer(app::kTimerDevicePoll);
  EXPECT_EQ(ScreenKind::Waiting, f.Current());
  EXPECT_EQ((std::vector<std::pair<int32_t, int32_t>>{{1280, 720}}), window_.fits);
  EXPECT_TRUE(timers_.IsRunning(app::kTimerWait));
  f.OnTimer(app::kTimerWait);
  EXPECT_EQ(ScreenKind::Play, f.Current());
  EXPECT_EQ(1280, f.InputWidth());
}

TEST_F(FrameControllerTest, WatchdogFailureIsAbnormalFromAnyScreen) {
  auto& f = Playing();
  ASSERT_EQ(ScreenKind::Play, f.Current());
  session_.watchdogOk = false;
  plane_.requests.clear();
  f.OnTimer(app::kTimerDevicePoll);
  EXPECT_EQ(ScreenKind::Abnormal, f.Current());
  EXPECT_EQ((std::vector<std::string>{"hide", "audio 0"}), plane_.requests);
  // Final: no more polls, so the failing call is reported once.
  EXPECT_FALSE(timers_.IsRunning(app::kTimerDevicePoll));
}

TEST_F(FrameControllerTest, LockStopsAndContinueRestarts) {
  auto& f = Playing();
  f.OnSessionChange(app::kSessionLock);
  EXPECT_EQ(ScreenKind::Stopped, f.Current());
  EXPECT_EQ("suspend", session_.calls.back());
  EXPECT_FALSE(timers_.IsRunning(app::kTimerDevicePoll));
  // Unlock (8) and other codes change nothing.
  f.OnSessionChange(8);
  EXPECT_EQ(ScreenKind::Stopped, f.Current());

  session_.calls.clear();
  session_.Signal(3840, 2160);
  f.Continue();
  EXPECT_EQ(ScreenKind::Waiting, f.Current());
  EXPECT_FALSE(session_.notifications);  // until Waiting is left
  // The new input size re-fits the window at once (normal mode).
  EXPECT_FALSE(f.RefitPending());
  EXPECT_EQ(std::make_pair(3840, 2160), window_.fits.back());
  EXPECT_EQ((std::vector<std::string>{"query", "watchdog", "delay 33", "callback"}), session_.calls);
  EXPECT_EQ(1500, session_.watchdogIntervals.back());
  EXPECT_TRUE(timers_.IsRunning(app::kTimerDevicePoll));
  f.OnTimer(app::kTimerWait);
  EXPECT_EQ(ScreenKind::Play, f.Current());
  EXPECT_TRUE(session_.notifications);
}

TEST_F(FrameControllerTest, PowerEventsStopPlayback) {
  auto& f = Playing();
  f.OnMonitorPower(1);
  EXPECT_EQ(ScreenKind::Play, f.Current());
  f.OnMonitorPower(0);
  EXPECT_EQ(ScreenKind::Stopped, f.Current());

  auto& g = Playing();
  g.OnSuspendNotice();
  EXPECT_EQ(ScreenKind::Stopped, g.Current());
  g.OnSessionChange(app::kSessionConsoleDisconnect);
  EXPECT_EQ(ScreenKind::Stopped, g.Current());
}

TEST_F(FrameControllerTest, FailedSuspendOrResumeIsAbnormal) {
  auto& f = Playing();
  session_.suspendOk = false;
  f.OnSessionChange(app::kSessionLock);
  EXPECT_EQ(ScreenKind::Abnormal, f.Current());

  session_ = FakeSession{};
  auto& g = Playing();
  g.OnSessionChange(app::kSessionLock);
  session_.delayOk = false;
  g.Continue();
  EXPECT_EQ(ScreenKind::Abnormal, g.Current());
  EXPECT_FALSE(timers_.IsRunning(app::kTimerDevicePoll));

  session_ = FakeSession{};
  auto& h = Playing();
  h.OnSessionChange(app::kSessionLock);
  session_.opened = false;
  h.Continue();
  EXPECT_EQ(ScreenKind::Abnormal, h.Current());
}

TEST_F(FrameControllerTest, LogoffClosesTheWindow) {
  auto& f = Playing();
  f.OnSessionChange(app::kSessionLogoff);
  EXPECT_TRUE(window_.closed);
}

TEST_F(FrameControllerTest, DisplayChangeBlanksThenWaitsThenChecksAgain) {
  auto& f = Playing();
  window_.display.angle = 90;
  f.OnDisplayChange();
  EXPECT_EQ(ScreenKind::Blank, f.Current());
  EXPECT_EQ(90, f.Display().angle);
  EXPECT_EQ(3000u, timers_.running.at(app::kTimerBlank));
  f.OnTimer(app::kTimerBlank);
  EXPECT_EQ(ScreenKind::Waiting, f.Current());
  EXPECT_FALSE(timers_.IsRunning(app::kTimerBlank));
  f.OnTimer(app::kTimerWait);
  EXPECT_EQ(ScreenKind::Play, f.Current());
  EXPECT_EQ(90, plane_.last.angle);

  // Minimised: no blank screen, only the plane follows.
  window_.minimised = true;
  f.OnDisplayChange();
  EXPECT_EQ(ScreenKind::Play, f.Current());
}

TEST_F(FrameControllerTest, MovingInPlayMovesThePlaneOnlyThere) {
  auto& f = Playing();
  plane_.requests.clear();
  window_.area = {0, 0, 1920, 1080};
  f.OnMoved();
  EXPECT_EQ((std::vector<std::string>{"show"}), plane_.requests);
  EXPECT_EQ((app::PlaneGeometry{1920, 1280, 0, 0, 0, 1920, 1080}), plane_.last);
  f.OnSessionChange(app::kSessionLock);
  plane_.requests.clear();
  f.OnMoved();
  EXPECT_TRUE(plane_.requests.empty());
}

TEST_F(FrameControllerTest, MaximisingSettlesForThreeSeconds) {
  auto& f = Playing();
  f.OnSized(app::SizeType::Maximised);
  EXPECT_EQ(1u, f.Conditions().resizeSettling);
  EXPECT_EQ(3000u, timers_.running.at(app::kTimerSettle));
  f.OnTimer(app::kTimerSettle);
  EXPECT_EQ(0u, f.Conditions().resizeSettling);
  f.OnSized(app::SizeType::Restored);
  EXPECT_EQ(1u, f.Conditions().resizeSettling);
}

TEST_F(FrameControllerTest, KeepAwakeAndTeardownTimers) {
  auto& f = Playing();
  f.OnWindowCreated();
  EXPECT_EQ(30000u, timers_.running.at(app::kTimerKeepAwake));
  f.OnTimer(app::kTimerKeepAwake);
  EXPECT_EQ(1, window_.keepAwake);
  f.Stop();
  EXPECT_FALSE(timers_.IsRunning(app::kTimerDevicePoll));
}

}  // namespace

namespace {

TEST_F(FrameControllerTest, ZoomCropsAboutTheTappedPointAndStoresIt) {
  auto& f = Playing();
  plane_.requests.clear();
  window_.relayouts.clear();
  const app::Rect area{0, 0, 1000, 500};
  const app::ZoomCentre middle{0.5, 0.5};
  f.OnZoomChanged(&area, &middle, 2.0);
  EXPECT_EQ((std::vector<std::string>{"crop 960,540,1920,1080"}), plane_.requests);
  ASSERT_FALSE(window_.relayouts.empty());
  EXPECT_EQ(2.0, window_.relayouts.back().zoom);
  EXPECT_EQ(0.5, window_.relayouts.back().zoomCentreX);
  const app::ZoomCentre corner{0.0, 0.0};
  plane_.requests.clear();
  f.OnZoomChanged(&area, &corner, 2.0);
  EXPECT_EQ((std::vector<std::string>{"crop 0,0,1920,1080"}), plane_.requests);
  EXPECT_EQ(0.0, f.Layout().zoomCentreX);
  // Zoom 1.0: the whole input and the centre back in the middle.
  plane_.requests.clear();
  f.OnZoomChanged(&area, &corner, 1.0);
  EXPECT_EQ((std::vector<std::string>{"whole"}), plane_.requests);
  EXPECT_EQ(0.5, f.Layout().zoomCentreX);
  EXPECT_EQ(0.5, f.Layout().zoomCentreY);
  EXPECT_EQ(1.0, f.Layout().zoom);
}

TEST_F(FrameControllerTest, ZoomThatCannotCropShowsTheWholePicture) {
  auto& f = Playing();
  const app::Rect area{0, 0, 1000, 500};
  const app::ZoomCentre middle{0.5, 0.5};
  const app::Rect empty{};
  // 0.0 is what a DoubleClickZoom setting that did not parse gives.
  for (double zoom : {0.0, 0.5, -2.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
    plane_.requests.clear();
    f.OnZoomChanged(&area, &middle, zoom);
    EXPECT_EQ((std::vector<std::string>{"whole"}), plane_.requests) << zoom;
    EXPECT_EQ(1.0, f.Layout().zoom) << zoom;
  }
  plane_.requests.clear();
  f.OnZoomChanged(&empty, &middle, 2.0);
  f.OnZoomChanged(nullptr, &middle, 2.0);
  f.OnZoomChanged(&area, nullptr, 2.0);
  EXPECT_EQ((std::vector<std::string>{"whole", "whole", "whole"}), plane_.requests);
  EXPECT_EQ(1.0, f.Layout().zoom);
  // A centre outside the picture is held to its edge.
  const app::ZoomCentre far{7.0, -3.0};
  plane_.requests.clear();
  f.OnZoomChanged(&area, &far, 4.0);
  EXPECT_EQ((std::vector<std::string>{"crop 2880,0,960,540"}), plane_.requests);
  EXPECT_EQ(1.0, f.Layout().zoomCentreX);
  EXPECT_EQ(0.0, f.Layout().zoomCentreY);
}

TEST_F(FrameControllerTest, ZoomWithoutSessionOnlyMovesTheIndicator) {
  auto& f = Make(false);
  f.Start();
  const size_t before = plane_.requests.size();
  const app::Rect area{0, 0, 1000, 500};
  const app::ZoomCentre middle{0.5, 0.5};
  f.OnZoomChanged(&area, &middle, 2.0);
  EXPECT_EQ(before, plane_.requests.size());
  EXPECT_EQ(2.0, f.Layout().zoom);
  EXPECT_EQ(2.0, window_.relayouts.back().zoom);
}

TEST_F(FrameControllerTest, LayoutCarriesTheDisplayAndTheFittedVideo) {
  auto& f = Playing();
  window_.area = {100, 50, 1060, 590};  // 960 x 540: 16:9 fills it
  f.OnMoved();
  const views::DisplayLayout& l = window_.relayouts.back();
  EXPECT_EQ((app::Rect{100, 50, 1060, 590}), l.video);
  EXPECT_EQ(1920, l.displayWidth);
  EXPECT_EQ(1280, l.displayHeight);
  EXPECT_EQ((app::Rect{0, 0, 1920, 1240}), l.workArea);
  EXPECT_EQ(0u, l.tabletMode);
  f.OnTabletModeChanged(app::kTabletMode);
  EXPECT_EQ(1u, window_.relayouts.back().tabletMode);
  // A taller area: full width, centred with the shift and the rounding.
  window_.area = {0, 0, 1001, 1000};
  f.OnMoved();
  EXPECT_EQ((app::Rect{0, 218, 1001, 781}), window_.relayouts.back().video);
  EXPECT_EQ((app::PlaneGeometry{1920, 1280, 0, 0, 218, 1001, 563}), plane_.last);
  // No input size yet: the whole display view, nothing divided by zero.
  session_.Signal(0, 0);
  f.OnTimer(app::kTimerWait);
  EXPECT_EQ((app::Rect{0, 0, 1001, 1000}), window_.relayouts.back().video);
}

}  // namespace

namespace {

TEST_F(FrameControllerTest, OverlapChecksFollowTheShownViewAndTheWindow) {
  auto& f = Playing();
  EXPECT_EQ(1000u, timers_.running.at(app::kTimerOverlapCheck));
  EXPECT_EQ(true, window_.planeShown.back());
  // Covered: the Overlapped view is watched too, and leaves by itself.
  window_.overlapAnswer = overlap::kOverlapCovered;
  f.OnTimer(app::kTimerOverlapCheck);
  EXPECT_EQ(ScreenKind::Overlapped, f.Current());
  EXPECT_EQ(false, window_.planeShown.back());
  EXPECT_TRUE(timers_.IsRunning(app::kTimerOverlapCheck));
  window_.overlapAnswer = overlap::kOverlapClear;
  f.OnTimer(app::kTimerOverlapCheck);
  EXPECT_EQ(ScreenKind::Play, f.Current());
  // Dragging the window: no checks until it ends.
  f.OnEnterSizeMove();
  const int checks = window_.overlapChecks;
  f.OnTimer(app::kTimerOverlapCheck);
  EXPECT_EQ(checks, window_.overlapChecks);
  f.OnExitSizeMove();
  f.OnTimer(app::kTimerOverlapCheck);
  EXPECT_EQ(checks + 1, window_.overlapChecks);
  // Minimised: no timer; back from the task bar: the timer again.
  window_.minimised = true;
  f.OnSized(app::SizeType::Minimised);
  EXPECT_FALSE(timers_.IsRunning(app::kTimerOverlapCheck));
  window_.minimised = false;
  f.OnSized(app::SizeType::Restored);
  EXPECT_TRUE(timers_.IsRunning(app::kTimerOverlapCheck));
  // A switch away from a watched view stops it.
  f.OnSessionChange(app::kSessionLock);
  EXPECT_EQ(ScreenKind::Stopped, f.Current());
  EXPECT_FALSE(timers_.IsRunning(app::kTimerOverlapCheck));
}

TEST_F(FrameControllerTest, SettlingIgnoresCoverAndDetectZeroChecksOnlyAtTheEndOfWaiting) {
  auto& f = Playing();
  f.OnSized(app::SizeType::Maximised);
  window_.overlapAnswer = overlap::kOverlapCovered;
  f.OnTimer(app::kTimerOverlapCheck);
  EXPECT_EQ(ScreenKind::Play, f.Current());
  f.OnTimer(app::kTimerSettle);
  EXPECT_EQ(ScreenKind::Overlapped, f.Current());

  detect_ = 0;
  window_ = FakeWindow{};
  timers_ = FakeTimers{};
  window_.overlapAnswer = overlap::kOverlapCovered;
  auto& g = Playing();
  // The one check at the end of Waiting ran; its Overlapped screen stays.
  EXPECT_EQ(1, window_.overlapChecks);
  EXPECT_EQ(ScreenKind::Overlapped, g.Current());
  EXPECT_FALSE(timers_.IsRunning(app::kTimerOverlapCheck));
  g.OnSized(app::SizeType::Minimised);
  g.OnSized(app::SizeType::Restored);
  EXPECT_FALSE(timers_.IsRunning(app::kTimerOverlapCheck));
}

TEST_F(FrameControllerTest, FullScreenHidesTheIdleBarAndActivityBringsItBack) {
  auto& f = Playing();
  f.OnTimer(app::kTimerSettle);
  EXPECT_FALSE(timers_.IsRunning(app::kTimerIdle));  // normal mode: the bar stays
  f.RequestScreenMode(app::kScreenModeFull);
  EXPECT_EQ(std::vector<std::string>{"full"}, window_.modes);
  EXPECT_TRUE(f.FullScreen());
  EXPECT_EQ(1u, window_.relayouts.back().fullScreen);
  EXPECT_EQ(1000u, timers_.running.at(app::kTimerIdle));
  f.RequestScreenMode(app::kScreenModeFull);  // already there
  EXPECT_EQ(1u, window_.modes.size());

  timers_.now += 5000;
  f.OnTimer(app::kTimerIdle);
  EXPECT_EQ(ScreenKind::Play, f.Current());
  timers_.now += 1;
  f.OnTimer(app::kTimerIdle);
  EXPECT_EQ(ScreenKind::PlayBarHidden, f.Current());
  EXPECT_FALSE(timers_.IsRunning(app::kTimerIdle));
  // A move to where the pointer already was is not the user's.
  f.OnPointerMove(0, 0);
  EXPECT_EQ(ScreenKind::PlayBarHidden, f.Current());
  f.OnPointerMove(3, 0);
  EXPECT_EQ(ScreenKind::Play, f.Current());
  EXPECT_TRUE(timers_.IsRunning(app::kTimerIdle));
  timers_.now += 5001;
  f.OnTimer(app::kTimerIdle);
  f.OnUserActivity();
  EXPECT_EQ(ScreenKind::Play, f.Current());

  // The system's restore leaves full screen first.
  f.OnSystemRestore();
  EXPECT_EQ((std::vector<std::string>{"full", "normal"}), window_.modes);
  EXPECT_FALSE(f.FullScreen());
  EXPECT_FALSE(timers_.IsRunning(app::kTimerIdle));
}

TEST_F(FrameControllerTest, SignalChangeInFullScreenRefitsOnlyWhenItIsLeft) {
  auto& f = Playing();
  f.RequestScreenMode(app::kScreenModeFull);
  window_.fits.clear();
  session_.Signal(1280, 720);
  session_.pending = true;
  f.OnTimer(app::kTimerDevicePoll);
  EXPECT_EQ(ScreenKind::Waiting, f.Current());
  EXPECT_TRUE(f.FullScreen());
  EXPECT_TRUE(f.RefitPending());
  EXPECT_TRUE(window_.fits.empty());
  f.RequestScreenMode(app::kScreenModeNormal);
  EXPECT_FALSE(f.RefitPending());
  EXPECT_EQ((std::vector<std::pair<int32_t, int32_t>>{{1280, 720}}), window_.fits);
  // The controller bar, scaled to the 1920 x 1280 display.
  EXPECT_EQ(100, window_.lastBar);
  f.RequestScreenMode(app::kScreenModeFull);
  f.RequestScreenMode(app::kScreenModeRefit);
  EXPECT_EQ(100 + 35, window_.lastBar);  // and the caption row
}

TEST_F(FrameControllerTest, TabletModeLeavesFullScreenMinimisedAndResetsTheZoom) {
  auto& f = Playing();
  const app::Rect area{0, 0, 1000, 500};
  const app::ZoomCentre middle{0.5, 0.5};
  f.OnZoomChanged(&area, &middle, 2.0);
  f.OnTabletModeChanged(app::kTabletMode);
  EXPECT_TRUE(window_.modes.empty());  // normal mode: only the zoom
  EXPECT_EQ(1.0, window_.relayouts.back().zoom);
  f.OnTabletModeChanged(1);
  f.RequestScreenMode(app::kScreenModeFull);
  f.OnZoomChanged(&area, &middle, 2.0);
  f.OnTabletModeChanged(app::kTabletMode);
  EXPECT_EQ((std::vector<std::string>{"full", "normal", "minimise"}), window_.modes);
  EXPECT_FALSE(f.FullScreen());
  EXPECT_EQ(1.0, window_.relayouts.back().zoom);
  EXPECT_EQ(1u, window_.relayouts.back().tabletMode);
}

}  // namespace
