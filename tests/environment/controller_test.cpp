// The drift controller's steps and limits; its behaviour over hours is in
// drift_test.cpp.
#include "environment/audio_drift_controller.h"

#include <gtest/gtest.h>

#include "environment/audio_trace.h"

namespace environment {
namespace {

TEST(DriftController, RestartSetsTheDelayBackInOneStep) {
  DriftController c(48000, true);
  EXPECT_EQ(c.TargetFrames(), 1440u);
  EXPECT_EQ(c.Update(0.050, 0).jumpFrames, -960);  // 20 ms too long: skip
  c.Reset();
  EXPECT_EQ(c.Update(0.010, 480).jumpFrames, 960);  // 20 ms short: silence
  c.Reset();
  EXPECT_EQ(c.Update(0.0305, 480).jumpFrames, 0);  // close enough for the loop
  // Steady, then a sudden 25 ms more: a glitch, not drift.
  EXPECT_EQ(c.Update(0.030, 480).jumpFrames, 0);
  EXPECT_EQ(c.Update(0.055, 480).jumpFrames, -1200);
}

TEST(DriftController, RateFollowsTheErrorWithinItsLimit) {
  DriftController c(48000, true);
  (void)c.Update(0.030, 0);
  const DriftStep up = c.Update(0.033, 480);  // smoothed: part of the 3 ms
  EXPECT_TRUE(up.rateChanged);
  EXPECT_GT(up.ratePpm, 0);
  for (int i = 0; i < 1000; ++i) (void)c.Update(0.0345, 480);  // held long: the integral saturates
  EXPECT_NEAR(c.RatePpm(), DriftController::kMaxRatePpm, 1.0);
  EXPECT_LE(c.RatePpm(), DriftController::kMaxRatePpm);
  // Back on target: the wound-up integral does not hold the rate at its limit.
  for (int i = 0; i < 100; ++i) (void)c.Update(0.030, 480);
  EXPECT_LT(c.RatePpm(), DriftController::kMaxRatePpm);
}

TEST(DriftController, FrameCorrectionsAreSpacedAndWaitForTheWrite) {
  DriftController c(48000, false);
  (void)c.Update(0.030, 0);
  int applied = 0;
  bool outstanding = false;
  uint64_t sinceApplied = 0;
  uint64_t minGap = UINT64_MAX;
  for (int i = 0; i < 10000; ++i) {
    const DriftStep step = c.Update(0.033, 480);  // steadily 3 ms long
    sinceApplied += 480;
    EXPECT_FALSE(step.rateChanged);
    if (outstanding) {
      EXPECT_EQ(step.frameCorrection, 0);  // none new before the last was written
      // Written one pass late, as when no packet came.
      c.CorrectionApplied();
      if (applied > 0) minGap = std::min(minGap, sinceApplied);
      ++applied;
      sinceApplied = 0;
      outstanding = false;
    } else if (step.frameCorrection != 0) {
      EXPECT_EQ(step.frameCorrection, -1);  // too long: drop
      outstanding = true;
    }
  }
  EXPECT_GT(applied, 100);
  EXPECT_GE(minGap, DriftController::kFrameSpacing);
  EXPECT_DOUBLE_EQ(c.RatePpm(), DriftController::kMaxFramePpm);
}

TEST(AudioTrace, NamesTheDeviceAsTheSystemDoes) {
  EXPECT_EQ(
      AudioTraceLine(AudioSide::kRender, AudioEndpointEvent::kReopened, {1, L"Speakers", L"Realtek Audio"}),
      L"tavrin: audio playback reopened on Speakers (Realtek Audio)\n");
  EXPECT_EQ(AudioTraceLine(AudioSide::kCapture, AudioEndpointEvent::kLost, {2, L"", L"Capture Board"}),
            L"tavrin: audio capture lost on Capture Board\n");
  EXPECT_EQ(AudioTraceLine(AudioSide::kRender, AudioEndpointEvent::kLost, {}),
            L"tavrin: audio playback lost on (unnamed device)\n");
}

}  // namespace
}  // namespace environment
