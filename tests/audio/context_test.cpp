// Starting and stopping the pass-through thread through the context.
#include "environment/audio_context.h"

#include <gtest/gtest.h>

#include <chrono>

#include "fake_endpoints.h"

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
  audio->packets.push_back(Packet(0, 480));
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

}  // namespace
}  // namespace environment
