// The session's plane operations and its worker against the simulated board.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>

#include "capture/plane/plane_placement.h"
#include "capture/plane/plane_request_writer.h"
#include "capture/reporting/api_log.h"
#include "capture/session/input_manager.h"
#include "environment/audio_context.h"
#include "fake_services.h"
#include "plane_test_util.h"
#include "sim_calls.h"
#include "support/eventually.h"

namespace capture {
namespace {

using namespace capture::testing;
using Names = std::vector<std::string>;

using testsupport::Eventually;

class PlaneSession : public ::testing::Test {
 protected:
  void SetUp() override {
    OvxSim_Reset();
    const OvxEventSize output{0, {3840, 2560}};
    OvxSim_SetOutput(&output);
    session_ = InputManager::Create(apiLog_);
    ASSERT_NE(session_, nullptr);
    OvxSim_ClearCalls();
  }
  void TearDown() override {
    InputManager::Destroy();
    ApiLog::SetSwitch(0);
  }
  // Every request published before the call has been applied.
  void AfterAPass() {
    ASSERT_TRUE(Eventually([&] { return session_->Queue().AllSlotsFree() && session_->WorkerIdle(); }));
  }
  bool Plane() { return session_->CreatePlane({1920, 1080, 0}, 1, 25); }

  int32_t apiLog_ = 0;
  FakeServices fakes_;
  InputManager* session_ = nullptr;
};

TEST_F(PlaneSession, CreatePlaneSetsUpTheBoardAndSendsEverythingOnce) {
  ASSERT_TRUE(Plane());
  EXPECT_EQ(session_->SignalStatusValue(), kSignalPresent);
  EXPECT_EQ(session_->ExecutionInterval(), 1);
  AfterAPass();
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpCreate", "Ovx_DevGetProp:4", "Ovx_DevSetProp:7", "Ovx_VpSetProp:11",
                                   "Ovx_VpSetProp:10", "Ovx_VpSetProp:2", "Ovx_VpSetProp:3",
                                   "Ovx_VpSetProp:1", "Ovx_VpDrawAll"}));
  OvxSimState state{};
  OvxSim_GetState(&state);
  EXPECT_EQ(state.audio_delay, 25);
  // (1, 1, 1, 1) on a 1920 x 1080 mode, panel 3840 x 2560: s = 2, oy = 200.
  EXPECT_EQ(state.plane_placement.top.x, 2);
  EXPECT_EQ(state.plane_placement.top.y, 202);
  EXPECT_EQ(state.plane_placement.size.x, 2);
  EXPECT_EQ(state.plane_placement.size.y, 2);
  OvxSimPlane shown{};
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.enable, 0);
  EXPECT_EQ(shown.parts_id, 3);
  EXPECT_TRUE(fakes_.eventLog.Texts().empty());
}

TEST_F(PlaneSession, QueryOutputSizeReachesEverySlotAndBothStates) {
  const OvxEventSize output{0, {2880, 1920}};
  OvxSim_SetOutput(&output);
  ASSERT_TRUE(session_->QueryOutputSize());
  const PlaneRequestQueue& q = session_->Queue();
  EXPECT_EQ(q.Merged().planeWidth, 2880);
  EXPECT_EQ(q.Applied().planeHeight, 1920);
  for (int i = 0; i < PlaneRequestQueue::kSlotCount; ++i) EXPECT_EQ(q.SlotAt(i).body.planeWidth, 2880);
}

TEST_F(PlaneSession, FailedOutputQueryLeavesThePlaneSizeAlone) {
  OvxSim_InjectStatus("Ovx_DevGetProp", 4, -6, 1, 1);
  EXPECT_FALSE(session_->QueryOutputSize());
  EXPECT_EQ(session_->Queue().Merged().planeWidth, 0);
  EXPECT_EQ(fakes_.eventLog.Texts(), std::vector<std::wstring>{L"Ovx_DevGetProp(-6)"});
}

TEST_F(PlaneSession, SetDelayTimeSendsTheValue) {
  EXPECT_TRUE(session_->SetDelayTime(40));
  OvxSimState state{};
  OvxSim_GetState(&state);
  EXPECT_EQ(state.audio_delay, 40);
  OvxSim_InjectStatus("Ovx_DevSetProp", 7, -2, 1, 1);
  EXPECT_FALSE(session_->SetDelayTime(41));
}

TEST_F(PlaneSession, ClosedDeviceRefusesEveryPlaneOperation) {
  session_->CloseDevice();
  ASSERT_FALSE(session_->IsOpened());
  OvxSim_ClearCalls();
  EXPECT_FALSE(Plane());
  EXPECT_FALSE(session_->QueryOutputSize());
  EXPECT_FALSE(session_->SetDelayTime(20));
  EXPECT_TRUE(SimCalls().empty());
}

class CreatePlaneFailure : public PlaneSession,
                           public ::testing::WithParamInterface<std::tuple<const char*, int32_t, size_t>> {};

TEST_P(CreatePlaneFailure, StopsAtTheFirstFailureAndPushesNothing) {
  const auto [function, id, callsMade] = GetParam();
  OvxSim_InjectStatus(function, id, -8, 1, 1);
  EXPECT_FALSE(Plane());
  AfterAPass();
  EXPECT_EQ(SimCalls().size(), callsMade);
  EXPECT_TRUE(SimCallsOf("Ovx_VpDrawAll").empty());
  EXPECT_EQ(fakes_.eventLog.Texts(),
            std::vector<std::wstring>{std::wstring(function, function + std::strlen(function)) + L"(-8)"});
  EXPECT_TRUE(session_->Queue().AllSlotsFree());
}

INSTANTIATE_TEST_SUITE_P(EachStep, CreatePlaneFailure,
                         ::testing::Values(std::make_tuple("Ovx_VpCreate", -1, size_t{1}),
                                           std::make_tuple("Ovx_DevGetProp", 4, size_t{2}),
                                           std::make_tuple("Ovx_DevSetProp", 7, size_t{3}),
                                           std::make_tuple("Ovx_VpSetProp", 11, size_t{4})),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param)).substr(4) + "_" +
                                  std::to_string(std::max(0, std::get<1>(info.param)));
                         });

TEST_F(PlaneSession, DestroyAppliesPendingRequestsAndTheHideBeforeClosing) {
  ASSERT_TRUE(Plane());
  PushScreen(session_->Queue(), 1920, 1080);
  PushAngle(session_->Queue(), 180);
  PushEnable(session_->Queue(), 1);
  InputManager::Destroy();
  session_ = nullptr;
  const Names names = SimCallNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.back(), "Ovx_DevClose");
  const auto enables = SimCallsOf("Ovx_VpSetProp", 1);
  ASSERT_FALSE(enables.empty());
  EXPECT_EQ(enables.back().args[0], 0);
  OvxSimPlane shown{};
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.enable, 0);
  EXPECT_EQ(shown.angle, 180);
}

// The ring holds 99 waiting requests; a slowed worker against a burst of
// 1200 has the window thread fold the oldest instead of overwriting them.
TEST_F(PlaneSession, BurstAgainstASlowBoardLosesNoRequest) {
  ASSERT_TRUE(Plane());
  AfterAPass();
  OvxSim_SetCallDelay("Ovx_VpSetProp", 3);
  PlaneRequestQueue& q = session_->Queue();
  constexpr int kCount = 1200;
  for (int i = 0; i < kCount; ++i) {
    switch (i % 5) {
      case 0:
        PushPlacement(q, {i, i / 2, 800 + i, 450});
        break;
      case 1:
        PushAngle(q, (i / 5 % 4) * 90);
        break;
      case 2:
        PushParts(q, 5, i % 1000, i % 500, 1920, 1080);
        break;
      case 3:
        PushEnable(q, i / 5 % 2);
        break;
      case 4:
        PushScreen(q, 1920 + i % 7, 1080);
        break;
    }
  }
  ASSERT_TRUE(Eventually([&] { return q.AllSlotsFree(); }));
  AfterAPass();
  OvxSim_SetCallDelay("Ovx_VpSetProp", 0);
  // Last of each group: placement i = 1195, angle i = 1196, parts i = 1197,
  // enable i = 1198, screen i = 1199.
  OvxSimPlane shown{};
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.angle, (1196 / 5 % 4) * 90);
  EXPECT_EQ(shown.parts_id, 5);
  EXPECT_EQ(shown.parts.top.x, 1197 % 1000);
  EXPECT_EQ(shown.parts.top.y, 1197 % 500);
  EXPECT_EQ(shown.enable, 1198 / 5 % 2);
  PlaneState expected = InitialPlaneState();
  expected.planeWidth = 3840;
  expected.planeHeight = 2560;
  expected.screen = {1920 + 1199 % 7, 1080, 0};
  expected.angle = shown.angle;
  expected.placement = {1195, 1195 / 2, 800 + 1195, 450};
  // PlacementFor is checked on its own; here the board got what it gives.
  const PlaneRect r = PlacementFor(expected);
  EXPECT_EQ(shown.placement.top.x, r.x);
  EXPECT_EQ(shown.placement.top.y, r.y);
  EXPECT_EQ(shown.placement.size.x, r.width);
  EXPECT_EQ(shown.placement.size.y, r.height);
}

// The worker pauses an hour after the first pass: a burst of 1000 requests
// must neither block the window thread nor lose anything, and the end of the
// session (the stop cuts the pause short) brings the merged result and the
// hide request to the board.
TEST_F(PlaneSession, BurstWhileTheWorkerPausesFoldsAndArrivesAtTheEnd) {
  ASSERT_TRUE(session_->CreatePlane({1920, 1080, 0}, 3600 * 1000, 25));
  ASSERT_TRUE(Eventually([&] { return !SimCallsOf("Ovx_VpDrawAll").empty(); }));
  std::atomic<bool> done{false};
  std::thread window([&] {
    for (int i = 0; i < 1000; ++i) {
      PlaneRequestWriter(session_->Queue()).Angle(i % 4 * 90);
      PlaneRequestWriter(session_->Queue()).Crop({i, 1}, {640, 360});
    }
    done = true;
  });
  ASSERT_TRUE(Eventually([&] { return done.load(); }));
  window.join();
  EXPECT_GT(session_->Queue().FoldedRequests(), 1800u);
  OvxSimPlane shown{};
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.parts_id, OVX_VP_PROP_PARTS_WHOLE);  // still the first pass's
  InputManager::Destroy();
  session_ = nullptr;
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.angle, 270);
  EXPECT_EQ(shown.parts_id, OVX_VP_PROP_PARTS_CROP);
  EXPECT_EQ(shown.parts.top.x, 999);
  EXPECT_EQ(SimCallsOf("Ovx_VpSetProp", OVX_VP_PROP_ANGLE).size(), 2u);  // creation, then the end
}

TEST_F(PlaneSession, AudioWithoutALineLevelEndpointEndsAtOnceAndVideoCarriesOn) {
  ASSERT_TRUE(Plane());
  AfterAPass();
  OvxSim_ClearCalls();
  // One request, so that the worker (woken by the publication) applies it in one pass.
  capture::PlaneRequestWriter(session_->Queue()).Audio(true).Placement({0, 0, 1920, 1080}).Enable(true);
  AfterAPass();
  environment::AudioContext* audio = environment::AudioContext::Get();
  EXPECT_EQ(audio->ThreadsStarted(), 1u);
  EXPECT_TRUE(audio->WaitThreadEndedForTesting(std::chrono::seconds(10)));
  EXPECT_NE(audio->Record().captureFormFactor, environment::kFormFactorLineLevel);
  EXPECT_EQ(SimCallNames(), (Names{"Ovx_VpSetProp:2", "Ovx_VpSetProp:1", "Ovx_VpDrawAll"}));
  OvxSimPlane shown{};
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.enable, 1);

  // On again, even forced: the finished event still exists, so no second thread.
  PushAudio(session_->Queue(), 1);
  AfterAPass();
  PushEnable(session_->Queue(), 1, 1);
  AfterAPass();
  EXPECT_EQ(audio->ThreadsStarted(), 1u);
  // Off and on: a new thread.
  PushAudio(session_->Queue(), 0);
  AfterAPass();
  EXPECT_FALSE(audio->HasFinishedEvent());
  PushAudio(session_->Queue(), 1);
  AfterAPass();
  EXPECT_EQ(audio->ThreadsStarted(), 2u);
}

class LoggedPlaneSession : public PlaneSession {
 protected:
  void SetUp() override {
    // A folder per test: ctest runs the tests of this fixture side by side.
    folder_ = FreshFolder(std::string("plane-log-") +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fakes_.logFolder.desktop = folder_.string();
    apiLog_ = 1;
    PlaneSession::SetUp();
  }
  std::filesystem::path folder_;
};

TEST_F(LoggedPlaneSession, PlanePropertiesAreLoggedAndTheDrawIsNot) {
  ASSERT_TRUE(Plane());
  AfterAPass();
  InputManager::Destroy();
  session_ = nullptr;
  std::string log = ReadFile(folder_ / "log" / "mira5api.log");
  std::erase(log, '\r');  // a text stream on Windows
  EXPECT_NE(log.find(",0,Ovx_VpSetProp,"), std::string::npos);
  EXPECT_NE(log.find(",11,index:0\n"), std::string::npos);
  EXPECT_NE(log.find(",10,angle:0\n"), std::string::npos);
  EXPECT_NE(log.find(",2,top.x:2 top.y:202 size.x:2 size.y:2\n"), std::string::npos);
  EXPECT_NE(log.find(",3,parts.x:3840 parts.y:2160 "), std::string::npos);
  EXPECT_NE(log.find(",1,enb:0\n"), std::string::npos);
  EXPECT_EQ(log.find("DrawAll"), std::string::npos);
}

// A whole-input request sends the top and size its slot held (here those of
// an earlier crop in the same slot); the log line shows what the board got.
TEST_F(LoggedPlaneSession, WholeInputCarriesTheSlotsCropWordsToTheBoardAndTheLog) {
  ASSERT_TRUE(Plane());                                                             // slot 1
  PlaneRequestWriter(session_->Queue()).Crop({10, 20}, {640, 360});                 // slot 2
  for (int i = 0; i < 99; ++i) PlaneRequestWriter(session_->Queue()).Audio(false);  // slots 3..99, 0, 1
  PlaneRequestWriter(session_->Queue()).WholeInput();                               // slot 2 again
  AfterAPass();
  OvxSimState board{};
  OvxSim_GetState(&board);
  EXPECT_EQ(board.plane_parts_id, OVX_VP_PROP_PARTS_WHOLE);
  EXPECT_EQ(board.plane_parts.top.x, 10);
  EXPECT_EQ(board.plane_parts.size.y, 360);
  InputManager::Destroy();
  session_ = nullptr;
  std::string log = ReadFile(folder_ / "log" / "mira5api.log");
  std::erase(log, '\r');
  EXPECT_NE(log.find(",3,parts.x:3840 parts.y:2160 top.x:10 top.y:20 size.x:640 size.y:360\n"),
            std::string::npos);
}

}  // namespace
}  // namespace capture
