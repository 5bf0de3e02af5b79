// ApplyPlaneState against the simulated board: what is sent, in which order.
#include "capture/plane/plane_apply.h"

#include <gtest/gtest.h>

#include "capture/plane/plane_request_queue.h"
#include "environment/audio_context.h"
#include "fake_services.h"
#include "plane_test_util.h"
#include "sim_calls.h"

namespace capture {
namespace {

using namespace capture::testing;
using Names = std::vector<std::string>;

class Apply : public ::testing::Test {
 protected:
  void SetUp() override {
    OvxSim_Reset();
    ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
    ASSERT_EQ(Ovx_VpCreate(&device_, &plane_, OVX_VP_TYPE, OVX_VP_FLAGS), 0);
    OvxSim_ClearCalls();
    queue_.SetPlaneSize(3840, 2560);
  }
  void TearDown() override {
    environment::StopAudioPassThrough(audio_);
    Ovx_DevClose(&device_);
  }
  // One worker pass.
  bool Pass() {
    if (!queue_.Collect()) return true;
    const PlaneState wanted = queue_.Merged();
    return ApplyPlaneState(queue_.MergedForce(), &device_, &plane_, &audio_, queue_.Applied(), wanted);
  }
  // The board told everything once, shown, full-screen on a 3840 x 2560 mode.
  void Baseline() {
    PushScreen(queue_, 3840, 2560);
    PushPlacement(queue_, {0, 0, 3840, 2560});
    PushEnable(queue_, 1, 1);
    ASSERT_TRUE(Pass());
    OvxSim_ClearCalls();
  }

  FakeServices fakes_;
  OvxDevice device_ = 0;
  OvxPlane plane_ = 0;
  PlaneRequestQueue queue_;
  environment::AudioContext audio_;
};

TEST_F(Apply, ForcedRequestBehindTwoUnforcedSendsEveryPropertyOnce) {
  PushAngle(queue_, 90);
  PushScreen(queue_, 2560, 3840);
  PushEnable(queue_, 1, 1);
  ASSERT_TRUE(Pass());
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpSetProp:10", "Ovx_VpSetProp:2", "Ovx_VpSetProp:3",
                                   "Ovx_VpSetProp:1", "Ovx_VpDrawAll"}));
  OvxSimPlane shown{};
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.angle, 90);
  EXPECT_EQ(shown.enable, 1);
  EXPECT_EQ(shown.parts_id, 3);
  EXPECT_TRUE(fakes_.eventLog.Texts().empty());
}

TEST_F(Apply, TwentyPartsRequestsGiveOneCallWithTheNewestValues) {
  Baseline();
  for (int i = 0; i < 20; ++i) PushParts(queue_, 5, 100 + i, 50 + i, 1920 - i, 1080 - i);
  ASSERT_TRUE(Pass());
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpSetProp:5", "Ovx_VpDrawAll"}));
  const auto parts = SimCallsOf("Ovx_VpSetProp", 5);
  ASSERT_EQ(parts.size(), 1u);
  OvxSimState state{};
  OvxSim_GetState(&state);
  EXPECT_EQ(state.plane_parts.parts.x, 3840);
  EXPECT_EQ(state.plane_parts.parts.y, 2160);
  EXPECT_EQ(state.plane_parts.top.x, 119);
  EXPECT_EQ(state.plane_parts.top.y, 69);
  EXPECT_EQ(state.plane_parts.size.x, 1901);
  EXPECT_EQ(state.plane_parts.size.y, 1061);
}

TEST_F(Apply, AudioOnlySendsNoPlanePropertyAndNoDraw) {
  Baseline();
  PushAudio(queue_, 1);
  ASSERT_TRUE(Pass());
  PushAudio(queue_, 0);
  ASSERT_TRUE(Pass());
  EXPECT_TRUE(SimCalls().empty());
  EXPECT_EQ(audio_.ThreadsStarted(), 1u);
  EXPECT_FALSE(audio_.HasFinishedEvent());
}

TEST_F(Apply, SamePanelRectangleFromADifferentSourceSendsNothing) {
  Baseline();
  // Mode 11520 x 7680 on the 3840 x 2560 panel: s = 1/3, so several source
  // rectangles truncate to one panel rectangle.
  PushScreen(queue_, 11520, 7680);
  PushPlacement(queue_, {0, 0, 3001, 3001});  // (0, 0, 1000.3, 1000.3) -> (0, 0, 1000, 1000)
  ASSERT_TRUE(Pass());
  OvxSim_ClearCalls();
  PushPlacement(queue_, {1, 1, 3002, 3002});  // (0.8, 0.8, 1000.7, 1000.7) -> (0, 0, 1000, 1000)
  ASSERT_TRUE(Pass());
  EXPECT_TRUE(SimCalls().empty());
  EXPECT_EQ(queue_.Applied().placement, (PlaneRect{0, 0, 3001, 3001}));
  // One that does move on the panel is sent.
  PushPlacement(queue_, {3, 0, 3001, 3001});  // x 1.5 -> 1
  ASSERT_TRUE(Pass());
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpSetProp:2", "Ovx_VpDrawAll"}));
  OvxSimState state{};
  OvxSim_GetState(&state);
  EXPECT_EQ(state.plane_placement.top.x, 1);
  EXPECT_EQ(state.plane_placement.size.x, 1000);
}

TEST_F(Apply, ScreenChangeResendsThePlacement) {
  Baseline();
  PushScreen(queue_, 1920, 1280);
  ASSERT_TRUE(Pass());
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpSetProp:2", "Ovx_VpDrawAll"}));
  OvxSimState state{};
  OvxSim_GetState(&state);
  // (0, 0, 3840, 2560) at s = 2 overflows the panel; that is the frame's business.
  EXPECT_EQ(state.plane_placement.size.x, 7680);
}

TEST_F(Apply, ScreenOfZeroPlacesAnEmptyRectangle) {
  PushScreen(queue_, 0, 0);
  PushPlacement(queue_, {10, 10, 100, 100});
  PushEnable(queue_, 1, 1);
  ASSERT_TRUE(Pass());
  const auto placed = SimCallsOf("Ovx_VpSetProp", 2);
  ASSERT_EQ(placed.size(), 1u);
  OvxSimState state{};
  OvxSim_GetState(&state);
  EXPECT_EQ(state.plane_placement.top.x, 0);
  EXPECT_EQ(state.plane_placement.top.y, 0);
  EXPECT_EQ(state.plane_placement.size.x, 0);
  EXPECT_EQ(state.plane_placement.size.y, 0);
}

TEST_F(Apply, UnchangedEnableWithoutOtherChangesMakesNoCall) {
  Baseline();
  PushEnable(queue_, 1);
  ASSERT_TRUE(Pass());
  EXPECT_TRUE(SimCalls().empty());
  PushEnable(queue_, 0);
  ASSERT_TRUE(Pass());
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpSetProp:1", "Ovx_VpDrawAll"}));
}

TEST_F(Apply, FailingPropertyEndsThePassAndIsSentAgainLater) {
  Baseline();
  OvxSim_InjectStatus("Ovx_VpSetProp", 10, -9, 1, 1);
  PushAngle(queue_, 180);
  PushParts(queue_, 5, 1, 2, 3, 4);
  EXPECT_FALSE(Pass());
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpSetProp:10"}));
  EXPECT_EQ(fakes_.eventLog.Texts(), std::vector<std::wstring>{L"Ovx_VpSetProp(-9)"});
  // The applied state took the angle: it goes again only with a change or
  // force.  The parts that the failure skipped go with the next pass.
  EXPECT_EQ(queue_.Applied().angle, 180);
  OvxSim_ClearCalls();
  PushEnable(queue_, 1);
  ASSERT_TRUE(Pass());
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpSetProp:5", "Ovx_VpDrawAll"}));
  OvxSim_ClearCalls();
  PushAngle(queue_, 270);
  ASSERT_TRUE(Pass());
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpSetProp:10", "Ovx_VpSetProp:2", "Ovx_VpDrawAll"}));
  OvxSim_ClearCalls();
  PushEnable(queue_, 1, 1);
  ASSERT_TRUE(Pass());
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpSetProp:10", "Ovx_VpSetProp:2", "Ovx_VpSetProp:5",
                                   "Ovx_VpSetProp:1", "Ovx_VpDrawAll"}));
}

TEST_F(Apply, FailingEnableIsReportedAndSkipsTheDraw) {
  Baseline();
  OvxSim_InjectStatus("Ovx_VpSetProp", 1, -4, 1, 1);
  PushEnable(queue_, 0);
  EXPECT_FALSE(Pass());
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpSetProp:1"}));
  EXPECT_EQ(fakes_.eventLog.Texts(), std::vector<std::wstring>{L"Ovx_VpSetProp(-4)"});
}

TEST_F(Apply, FailingDrawIsNeitherReportedNorRetried) {
  Baseline();
  OvxSim_InjectStatus("Ovx_VpDrawAll", -1, -3, 1, 1);
  PushAngle(queue_, 90);
  EXPECT_FALSE(Pass());
  EXPECT_TRUE(fakes_.eventLog.Texts().empty());
  OvxSim_ClearCalls();
  EXPECT_TRUE(Pass());
  EXPECT_TRUE(SimCalls().empty());
}

TEST_F(Apply, UnknownPartsIdInARequestKeepsTheBoardsId) {
  Baseline();
  PushParts(queue_, 5, 1, 2, 3, 4);
  ASSERT_TRUE(Pass());
  OvxSim_ClearCalls();
  // The words of the group travel; the id 4 does not.
  Push(queue_, [](PlaneState& b) {
    b.partsId = 4;
    b.parts.top = {7, 8};
    b.parts.size = {9, 10};
    b.flags |= kGroupParts;
  });
  ASSERT_TRUE(Pass());
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpSetProp:5", "Ovx_VpDrawAll"}));
  EXPECT_EQ(queue_.Applied().partsId, 5);
  OvxSimState state{};
  OvxSim_GetState(&state);
  EXPECT_EQ(state.plane_parts_id, 5);
  EXPECT_EQ(state.plane_parts.top.x, 7);
  EXPECT_EQ(state.plane_parts.size.y, 10);
}

}  // namespace
}  // namespace capture
