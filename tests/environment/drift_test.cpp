// The pass-through against simulated clocks: hours of audio at the drifts
// met in practice, glitches, and playback or capture devices that change.
#include <gtest/gtest.h>

#include "environment/audio_pass_through.h"
#include "sim_endpoints.h"

namespace environment {
namespace {

using namespace environment::testing;

// What is heard lags the newest captured frame by the delay held (30 ms) and
// the device's own period (10 ms).
constexpr double kLatency = 0.040;
constexpr double kTolerance = 0.005;

struct SimRun {
  std::shared_ptr<SimAudio> audio = std::make_shared<SimAudio>();
  AudioShared shared;
  AudioStatus status = kAudioFail;

  SimRun() {
    audio->running = &shared.running;
    audio->shared = &shared;
    audio->bandLow = kLatency - kTolerance;
    audio->bandHigh = kLatency + kTolerance;
  }
  void For(double seconds) {
    audio->endAt = seconds;
    shared.running = 1;
    SimEndpoints endpoints(audio);
    status = RunPassThrough(endpoints, shared);
  }
  // When sound was first heard on `device` at or after `t`; -1 never.
  double SoundOn(int device, double t) const {
    for (const auto& [d, at] : audio->firstSound)
      if (d == device && at >= t) return at;
    return -1;
  }
};

struct Drift {
  double ppm;
  bool rateAdjust;
};

void PrintTo(const Drift& d, std::ostream* os) {
  *os << d.ppm << " ppm, " << (d.rateAdjust ? "rate" : "frames");
}

class HeldDelay : public ::testing::TestWithParam<Drift> {};

TEST_P(HeldDelay, StaysInBoundsForAnHourWithoutLossOrUnderrun) {
  const Drift drift = GetParam();
  SimRun run;
  run.audio->capturePpm = drift.ppm;
  run.audio->devices[0].rateAdjust = drift.rateAdjust;
  run.For(3600);
  const SimStats& s = run.audio->stats;
  EXPECT_EQ(run.status, kAudioOk);
  EXPECT_EQ(s.overflows, 0u);
  EXPECT_EQ(s.underruns, 0u);
  EXPECT_EQ(s.breaks, 0u);
  EXPECT_GE(s.minLatency, kLatency - kTolerance);
  EXPECT_LE(s.maxLatency, kLatency + kTolerance);
  EXPECT_LE(s.maxDelayError, kTolerance * 1000);
  const AudioDiagnosis d = run.shared.Diagnosis();
  EXPECT_EQ(d.reopens, 0u);
  EXPECT_LE(d.resyncs, 1u);  // at most the first alignment
  if (drift.rateAdjust) {
    EXPECT_TRUE(d.rateAdjust);
    EXPECT_NEAR(d.ratePpm, drift.ppm, 20.0);
    EXPECT_EQ(s.repeats + s.drops, 0u);
  } else {
    EXPECT_FALSE(d.rateAdjust);
    // One frame per ppm-worth of frames heard, spread out as promised.
    const double expected = std::fabs(drift.ppm) * 1e-6 * 48000 * 3600;
    // Beyond the drift the loop nudges at most once in 10 s (a frame is 21 us).
    EXPECT_NEAR(static_cast<double>(s.repeats + s.drops), expected, expected * 0.01 + 360);
    EXPECT_NEAR(static_cast<double>(d.corrections), static_cast<double>(s.repeats + s.drops), 2);
    if (drift.ppm >= 100) {
      EXPECT_EQ(s.repeats, 0u);
    } else if (drift.ppm <= -100) {
      EXPECT_EQ(s.drops, 0u);
    }
    EXPECT_GE(s.minSpacing, 2000u);
  }
}

INSTANTIATE_TEST_SUITE_P(Drifts, HeldDelay,
                         ::testing::Values(Drift{300, true}, Drift{100, true}, Drift{0, true},
                                           Drift{-100, true}, Drift{-300, true}, Drift{300, false},
                                           Drift{100, false}, Drift{0, false}, Drift{-100, false},
                                           Drift{-300, false}),
                         [](const auto& info) {
                           const double p = info.param.ppm;
                           return std::string(p < 0 ? "minus" : "plus") +
                                  std::to_string(static_cast<int>(std::fabs(p))) +
                                  (info.param.rateAdjust ? "_rate" : "_frames");
                         });

TEST(Glitches, DiscontinuityAndRenderGlitchRecoverWithinASecond) {
  for (bool rateAdjust : {true, false}) {
    SimRun run;
    run.audio->capturePpm = 200;
    run.audio->devices[0].rateAdjust = rateAdjust;
    run.audio->At(60, [](SimAudio& a) { a.Stall(0.2); });
    run.audio->At(120, [](SimAudio& a) { a.DropRenderBuffer(); });
    run.audio->At(180, [](SimAudio& a) { a.Stall(0.05); });
    double lastBadBefore[3] = {};
    run.audio->At(59.9, [&](SimAudio& a) { lastBadBefore[0] = a.stats.lastBad; });
    run.audio->At(119.9, [&](SimAudio& a) { lastBadBefore[1] = a.stats.lastBad; });
    run.audio->At(121.5, [&](SimAudio& a) { lastBadBefore[2] = a.stats.lastBad; });
    run.For(200);
    EXPECT_LT(lastBadBefore[0], 1.0);  // nothing wrong before the first glitch
    EXPECT_LT(lastBadBefore[1], 60.2 + 1.0);
    EXPECT_GT(lastBadBefore[2], 120.0);  // the glitch was heard
    EXPECT_LT(lastBadBefore[2], 121.0);
    EXPECT_LT(run.audio->stats.lastBad, 180.05 + 1.0);
    EXPECT_GE(run.shared.Diagnosis().resyncs, 3u);
    EXPECT_EQ(run.audio->stats.overflows, 0u);
  }
}

TEST(DeviceChanges, SoundFollowsThePlaybackDeviceAndTheCaptureEndpoint) {
  SimRun run;
  run.audio->capturePpm = -150;
  run.audio->devices.push_back({L"Headphones", L"USB Audio", true, false});
  run.audio->At(20, [](SimAudio& a) { a.SetDefault(1); });
  run.audio->At(40, [](SimAudio& a) { a.Remove(1); });
  run.audio->At(45, [](SimAudio& a) { a.Restore(1); });
  run.audio->At(60, [](SimAudio& a) { a.CaptureGone(); });
  run.audio->At(65, [](SimAudio& a) { a.CaptureBack(); });
  double badAt[3] = {};
  run.audio->At(39.9, [&](SimAudio& a) { badAt[0] = a.stats.lastBad; });
  run.audio->At(59.9, [&](SimAudio& a) { badAt[1] = a.stats.lastBad; });
  run.For(80);
  EXPECT_EQ(run.status, kAudioOk);
  // Default device changed: the headphones play within a second.
  const double switched = run.SoundOn(1, 20);
  ASSERT_GT(switched, 0);
  EXPECT_LT(switched, 21);
  EXPECT_LT(badAt[0], 21);
  // Gone and back.
  const double back = run.SoundOn(1, 45);
  ASSERT_GT(back, 0);
  EXPECT_LT(back, 46);
  EXPECT_LT(badAt[1], 46);
  // The capture endpoint gone and back.
  const double captured = run.SoundOn(1, 65);
  ASSERT_GT(captured, 0);
  EXPECT_LT(captured, 66);
  EXPECT_LT(run.audio->stats.lastBad, 66);
  EXPECT_EQ(run.audio->RenderDevice(), 1);

  const AudioDiagnosis d = run.shared.Diagnosis();
  EXPECT_EQ(d.reopens, 3u);    // headphones, headphones again, capture
  EXPECT_FALSE(d.rateAdjust);  // the headphones cannot adjust their rate
  const AudioRecord r = run.shared.Record();
  EXPECT_EQ(r.renderDescription, L"Headphones");
  const std::vector<std::wstring> expected{L"tavrin: audio playback reopened on Headphones (USB Audio)\n",
                                           L"tavrin: audio playback reopened on Headphones (USB Audio)\n",
                                           L"tavrin: audio capture lost on HDMI Audio (Capture Board)\n",
                                           L"tavrin: audio capture reopened on HDMI Audio (Capture Board)\n"};
  EXPECT_EQ(run.audio->traces, expected);
}

// No notification, no more render events: the silence shows the device is
// gone, and the loop goes on with the new default.
TEST(DeviceChanges, PlaybackDeviceThatVanishesSilentlyIsReplaced) {
  SimRun run;
  run.audio->devices.push_back({L"Headphones", L"USB Audio"});
  run.audio->At(10, [](SimAudio& a) { a.Vanish(0, 1); });
  run.For(20);
  EXPECT_EQ(run.status, kAudioOk);
  const double back = run.SoundOn(1, 10);
  ASSERT_GT(back, 0);
  EXPECT_LT(back, 12.5);  // the 2 s wait for an event, then at once
  EXPECT_LT(run.audio->stats.lastBad, 13.5);
  EXPECT_EQ(run.shared.Diagnosis().reopens, 1u);
  ASSERT_EQ(run.audio->traces.size(), 2u);
  EXPECT_EQ(run.audio->traces[0], L"tavrin: audio playback lost on Speakers (Realtek Audio)\n");
}

}  // namespace
}  // namespace environment
