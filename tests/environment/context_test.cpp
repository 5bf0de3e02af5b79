// Starting and stopping the pass-through thread through the context.
#include "environment/audio_context.h"

#include <gtest/gtest.h>

#include <chrono>

#include "fake_endpoints.h"
#include "sim_endpoints.h"

namespace environment {
namespace {

using namespace environment::testing;

class Context : public ::testing::Test {
 protected:
  void TearDown() override { AudioContext::Free(); }
};

TEST_F(Context, IsCreatedEmptyOnceAndFreed) {
  AudioContext* a = AudioContext::Get();
  EXPECT_EQ(AudioContext::Get(), a);
  EXPECT_EQ(a->Running(), 0);
  EXPECT_FALSE(a->HasFinishedEvent());
  EXPECT_TRUE(a->Record().captureDescription.empty());
  AudioContext::Free();
  AudioContext::Free();  // harmless twice
}

TEST_F(Context, SwitchingOnTwiceStartsOneThread) {
  auto audio = std::make_shared<FakeAudio>();
  audio->packets.push_back(Packet(1, 480));
  AudioContext* c = AudioContext::Get();
  c->SetEndpointFactory(FactoryFor(audio));
  StartAudioPassThrough(*c);
  StartAudioPassThrough(*c);
  EXPECT_EQ(c->ThreadsStarted(), 1u);
  EXPECT_EQ(c->Running(), 1);
  StopAudioPassThrough(*c);
  EXPECT_EQ(c->Running(), 0);
  EXPECT_FALSE(c->HasFinishedEvent());
  StartAudioPassThrough(*c);
  EXPECT_EQ(c->ThreadsStarted(), 2u);
}

TEST_F(Context, OffWhileTheLoopRunsEndsTheThread) {
  auto audio = std::make_shared<FakeAudio>();
  for (uint32_t i = 0; i < 10; ++i) audio->packets.push_back(Packet(i * 480, 480));
  AudioContext* c = AudioContext::Get();
  c->SetEndpointFactory(FactoryFor(audio));
  StartAudioPassThrough(*c);
  // The loop keeps being signalled; wait until it is in its loop.
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (audio->Calls().size() < 20 && std::chrono::steady_clock::now() < limit) std::this_thread::yield();
  StopAudioPassThrough(*c);
  EXPECT_FALSE(c->HasFinishedEvent());
  EXPECT_TRUE(audio->stopped);
}

TEST_F(Context, ThreadThatEndsByItselfLeavesTheEventUntilOff) {
  auto audio = std::make_shared<FakeAudio>();
  audio->failAt["OpenCapture"] = 1;
  AudioContext* c = AudioContext::Get();
  c->SetEndpointFactory(FactoryFor(audio));
  StartAudioPassThrough(*c);
  EXPECT_TRUE(c->WaitThreadEndedForTesting(std::chrono::seconds(10)));
  EXPECT_TRUE(c->HasFinishedEvent());
  EXPECT_EQ(c->Running(), 1);  // the audio group is still on
  StartAudioPassThrough(*c);
  EXPECT_EQ(c->ThreadsStarted(), 1u);
  StopAudioPassThrough(*c);
  EXPECT_FALSE(c->HasFinishedEvent());
}

TEST_F(Context, PlatformEndpointsWithoutLineLevelCaptureEndAtOnce) {
  AudioContext* c = AudioContext::Get();
  StartAudioPassThrough(*c);
  EXPECT_TRUE(c->WaitThreadEndedForTesting(std::chrono::seconds(10)));
  EXPECT_NE(c->Record().captureFormFactor, kFormFactorLineLevel);
  StopAudioPassThrough(*c);
}

TEST_F(Context, FreeingStopsARunningThread) {
  auto audio = std::make_shared<FakeAudio>();
  AudioContext* c = AudioContext::Get();
  c->SetEndpointFactory(FactoryFor(audio));
  StartAudioPassThrough(*c);
  AudioContext::Free();
  // The thread has released its endpoints before the free returned.
  EXPECT_TRUE(audio->stopped);
}

// Waits (for real) until `done` holds; false after 10 s.
template <class F>
bool WaitUntil(F done) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Audio off while the path follows a new default device, waits for a
// playback device, or waits for the capture endpoint: the thread ends and
// the worker's wait stays within its 2000 ms.
TEST_F(Context, StopWhileReopeningEndsInTime) {
  enum Scenario { kNewDefault, kNoPlayback, kNoCapture };
  for (Scenario scenario : {kNewDefault, kNoPlayback, kNoCapture}) {
    auto sim = std::make_shared<SimAudio>();
    sim->realTime = true;
    sim->devices.push_back({L"Headphones", L"USB Audio"});
    sim->At(0.05, [scenario](SimAudio& a) {
      if (scenario == kNewDefault) a.SetDefault(1);
      if (scenario == kNoPlayback) a.Remove(0);
      if (scenario == kNoCapture) a.CaptureGone();
    });
    AudioContext* c = AudioContext::Get();
    c->SetEndpointFactory(SimFactory(sim));
    StartAudioPassThrough(*c);
    ASSERT_TRUE(WaitUntil([&] {
      if (scenario == kNewDefault) return c->Diagnosis().reopens >= 1;
      std::lock_guard g(sim->lock);
      return sim->stats.openFailures >= 2;  // it keeps looking
    })) << scenario;
    const auto start = std::chrono::steady_clock::now();
    StopAudioPassThrough(*c);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000)) << scenario;
    EXPECT_FALSE(c->HasFinishedEvent());
    {
      std::lock_guard g(sim->lock);
      EXPECT_TRUE(sim->destroyed) << scenario;  // the thread ended and let its endpoints go
    }
    AudioContext::Free();
  }
}

}  // namespace
}  // namespace environment
