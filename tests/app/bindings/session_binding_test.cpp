// The frame logic on the real capture session and the simulated board.
#include "app/bindings/session_binding.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "../frame_fakes.h"
#include "app/frame_controller.h"
#include "capture/plane/plane_request_writer.h"
#include "ovxcapture_sim.h"
#include "support/eventually.h"

namespace {

using app::ScreenKind;

using testsupport::Eventually;

OvxSimPlane Committed() {
  OvxSimPlane plane{};
  OvxSim_GetCommittedPlane(&plane);
  return plane;
}

OvxSimState BoardState() {
  OvxSimState state{};
  OvxSim_GetState(&state);
  return state;
}

TEST(QueuePlaneOutput, EachOperationPublishesItsGroups) {
  capture::PlaneRequestQueue queue;
  app::QueuePlaneOutput out(queue);
  out.ShowAt(app::PlaneGeometry{1920, 1280, 90, 10, 20, 640, 360});
  ASSERT_TRUE(queue.Collect());
  const capture::PlaneState& m = queue.Merged();
  EXPECT_EQ((capture::ScreenSize{1920, 1280, 0}), m.screen);
  EXPECT_EQ(90, m.angle);
  EXPECT_EQ((capture::PlaneRect{10, 20, 640, 360}), m.placement);
  EXPECT_EQ(1, m.enable);
  EXPECT_EQ(0, queue.MergedForce());
  EXPECT_TRUE(queue.AllSlotsFree());

  out.Hide();
  out.Audio(true);
  out.WholeInput();
  ASSERT_TRUE(queue.Collect());
  EXPECT_EQ(0, queue.Merged().enable);
  EXPECT_EQ(1, queue.Merged().audio);
  EXPECT_EQ(OVX_VP_PROP_PARTS_WHOLE, queue.Merged().partsId);
  out.Audio(false);
  ASSERT_TRUE(queue.Collect());
  EXPECT_EQ(0, queue.Merged().audio);
}

// The whole-input request writes only the id: the crop words its slot held
// go with it, and so to the board.
TEST(QueuePlaneOutput, WholeInputKeepsTheSlotsTopAndSize) {
  capture::PlaneRequestQueue queue;
  app::QueuePlaneOutput out(queue);
  capture::PlaneRequestWriter(queue).Crop({10, 20}, {640, 360});  // slot 1
  ASSERT_TRUE(queue.Collect());
  for (int i = 0; i < 99; ++i) out.Audio(false);  // round to slot 1 again
  ASSERT_TRUE(queue.Collect());
  out.WholeInput();
  ASSERT_TRUE(queue.Collect());
  const capture::PlaneState& m = queue.Merged();
  EXPECT_EQ(OVX_VP_PROP_PARTS_WHOLE, m.partsId);
  EXPECT_EQ(10, m.parts.top.x);
  EXPECT_EQ(20, m.parts.top.y);
  EXPECT_EQ(640, m.parts.size.x);
  EXPECT_EQ(360, m.parts.size.y);
}

// The driver lookup needs the installed board (Windows); everything else is
// the session's own.
struct DriverFits : app::SessionBinding {
  using app::SessionBinding::SessionBinding;
  capture::VersionCheckResult CheckDriverVersion() override { return capture::kVersionFits; }
};

class FrameOnSession : public ::testing::Test {
 protected:
  void SetUp() override {
    OvxSim_Reset();
    session_ = capture::InputManager::Create(0);
    ASSERT_NE(nullptr, session_);
    binding_ = std::make_unique<DriverFits>(*session_);
    plane_ = std::make_unique<app::QueuePlaneOutput>(session_->Queue());
    frame_ = std::make_unique<app::FrameController>(binding_.get(), *plane_, timers_, window_, window_,
                                                    tablet_, app::FrameSettings{1, 1, 20}, false);
  }
  void TearDown() override {
    frame_.reset();
    capture::InputManager::Destroy();
    capture::notificationsEnabled.store(1);
    capture::eventPending.store(0);
  }

  capture::InputManager* session_ = nullptr;
  std::unique_ptr<DriverFits> binding_;
  std::unique_ptr<app::QueuePlaneOutput> plane_;
  app_test::FakeTimers timers_;
  app_test::FakeWindow window_;
  app_test::FakeTablet tablet_;
  std::unique_ptr<app::FrameController> frame_;
};

TEST_F(FrameOnSession, SourceArrivalShowsThePlaneAndLockHidesIt) {
  frame_->Start();
  ASSERT_EQ(ScreenKind::Waiting, frame_->Current());
  EXPECT_EQ(1, BoardState().callback_set);
  frame_->OnTimer(app::kTimerWait);
  ASSERT_EQ(ScreenKind::NoSignal, frame_->Current());

  OvxSim_AdvanceTime(600);  // the default board's source arrives after 500 ms
  ASSERT_TRUE(binding_->EventPending());
  frame_->OnTimer(app::kTimerDevicePoll);
  ASSERT_EQ(ScreenKind::Waiting, frame_->Current());
  EXPECT_FALSE(binding_->EventPending());
  frame_->OnTimer(app::kTimerWait);
  ASSERT_EQ(ScreenKind::Play, frame_->Current());
  EXPECT_EQ(1920, frame_->InputWidth());
  EXPECT_TRUE(Eventually([] { return Committed().enable == 1; }));
  EXPECT_EQ(0, Committed().angle);

  frame_->OnSessionChange(app::kSessionLock);
  ASSERT_EQ(ScreenKind::Stopped, frame_->Current());
  EXPECT_EQ(0, BoardState().callback_set);
  EXPECT_TRUE(Eventually([] { return Committed().enable == 0; }));

  frame_->Continue();
  ASSERT_EQ(ScreenKind::Waiting, frame_->Current());
  EXPECT_EQ(1, BoardState().callback_set);
  frame_->OnTimer(app::kTimerWait);
  EXPECT_EQ(ScreenKind::Play, frame_->Current());
  EXPECT_TRUE(Eventually([] { return Committed().enable == 1; }));
}

// The registry's -1 arrives as 0xFFFFFFFF: no pause between passes, so the
// plane shows, and the end of the session (hide request, stop, join) returns.
TEST_F(FrameOnSession, NegativeExecutionIntervalMeansNoPause) {
  frame_ = std::make_unique<app::FrameController>(binding_.get(), *plane_, timers_, window_, window_, tablet_,
                                                  app::FrameSettings{1, 0xFFFFFFFFu, 20}, false);
  frame_->Start();
  EXPECT_EQ(-1, session_->ExecutionInterval());
  OvxSim_AdvanceTime(600);
  frame_->OnTimer(app::kTimerDevicePoll);
  frame_->OnTimer(app::kTimerWait);
  ASSERT_EQ(ScreenKind::Play, frame_->Current());
  EXPECT_TRUE(Eventually([] { return Committed().enable == 1; }));
  frame_.reset();
  capture::InputManager::Destroy();
  EXPECT_EQ(0, BoardState().opened);
  EXPECT_EQ(0, Committed().enable);
}

TEST_F(FrameOnSession, FailingWatchdogReadIsAbnormal) {
  frame_->Start();
  OvxSim_InjectStatus("Ovx_DevGetProp", OVX_DEV_PROP_WATCHDOG, -7, 1, 0);
  frame_->OnTimer(app::kTimerDevicePoll);
  EXPECT_EQ(ScreenKind::Abnormal, frame_->Current());
}

TEST_F(FrameOnSession, FailingSuspendIsAbnormal) {
  frame_->Start();
  OvxSim_InjectStatus("Ovx_DevGetProp", OVX_DEV_PROP_TIME, -9, 1, 1);
  frame_->OnSessionChange(app::kSessionLock);
  EXPECT_EQ(ScreenKind::Abnormal, frame_->Current());
}

}  // namespace
