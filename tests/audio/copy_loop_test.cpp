// The pass-through's copy loop against scripted endpoints.
#include <gtest/gtest.h>

#include "environment/audio_pass_through.h"
#include "fake_endpoints.h"

namespace environment {
namespace {

using namespace environment::testing;
using Names = std::vector<std::string>;

std::vector<uint8_t> Frames(uint32_t first, uint32_t count) { return Packet(first, count); }

class CopyLoop : public ::testing::Test {
 protected:
  void SetUp() override { shared_.running = 1; }
  AudioStatus Run() {
    FakeEndpoints endpoints(audio_);
    return RunPassThrough(endpoints, shared_);
  }
  // Packets of the given sizes with frames numbered on from 0.
  void Packets(std::initializer_list<uint32_t> sizes) {
    uint32_t next = 0;
    for (uint32_t n : sizes) {
      audio_->packets.push_back(Packet(next, n));
      next += n;
    }
    total_ = next;
  }
  std::shared_ptr<FakeAudio> audio_ = std::make_shared<FakeAudio>();
  AudioShared shared_;
  uint32_t total_ = 0;
};

TEST_F(CopyLoop, PrefillCopiesOnePacketThenStartsRendering) {
  Packets({480});
  audio_->eventsBeforeSilence = 0;
  EXPECT_EQ(Run(), kAudioOk);
  EXPECT_EQ(audio_->Calls(),
            (Names{"OpenCapture", "OpenRender", "StartCapture", "NextPacket", "RenderBuffer:480",
                   "ReleaseRender:480", "ReleasePacket:480", "StartRender", "WaitForBuffer", "StopStreams"}));
  EXPECT_EQ(audio_->rendered, Frames(0, 480));
}

TEST_F(CopyLoop, RecordsTheEndpointsAndBufferSizes) {
  Packets({480});
  audio_->renderFrames = 96000;
  audio_->eventsBeforeSilence = 1;
  Run();
  const AudioRecord r = shared_.Record();
  EXPECT_EQ(r.captureFormFactor, kFormFactorLineLevel);
  EXPECT_EQ(r.captureDescription, L"HDMI Audio");
  EXPECT_EQ(r.captureFriendlyName, L"Capture Board");
  EXPECT_EQ(r.renderFormFactor, 1u);
  EXPECT_EQ(r.renderDescription, L"Speakers");
  EXPECT_EQ(r.captureBufferSeconds, 1u);
  EXPECT_EQ(r.captureBufferBytes, 48000u * 4);
  EXPECT_EQ(r.renderBufferSeconds, 2u);
  EXPECT_EQ(r.renderBufferBytes, 96000u * 4);
  // One event: 480 played of the 480 prefilled.
  EXPECT_EQ(r.renderPaddingBytes, 0u);
}

TEST_F(CopyLoop, SteadyStateCopiesEveryPacketInOrder) {
  Packets({480, 480, 480, 480, 480, 480, 480, 480, 480, 480});
  audio_->eventsBeforeSilence = 12;
  EXPECT_EQ(Run(), kAudioOk);
  EXPECT_EQ(audio_->rendered, Frames(0, total_));
  EXPECT_TRUE(audio_->stopped);
}

TEST_F(CopyLoop, PaddingsAreRecordedInBytes) {
  Packets({480, 100});
  audio_->playPerEvent = 80;
  audio_->eventsBeforeSilence = 1;
  Run();
  const AudioRecord r = shared_.Record();
  EXPECT_EQ(r.capturePaddingBytes, 100u * 4);  // the waiting packet
  EXPECT_EQ(r.renderPaddingBytes, 400u * 4);   // 480 written, 80 played
}

TEST_F(CopyLoop, FullRenderBufferKeepsThePacketForLater) {
  audio_->renderFrames = 960;
  Packets({960, 480, 480, 480});
  audio_->playPerEvent = 0;  // nothing plays for the first events
  audio_->eventsBeforeSilence = 2;
  EXPECT_EQ(Run(), kAudioOk);
  // Nothing fitted: the second packet waits, nothing was requested beyond the free space.
  EXPECT_EQ(audio_->rendered, Frames(0, 960));
  for (const auto& c : audio_->Calls())
    EXPECT_NE(c.rfind("RenderBuffer:", 0) == 0 && c != "RenderBuffer:960", true) << c;

  // Same script, the speaker starts playing: every frame arrives once, in order.
  audio_ = std::make_shared<FakeAudio>();
  audio_->renderFrames = 960;
  Packets({960, 480, 480, 480});
  audio_->playPerEvent = 240;
  audio_->eventsBeforeSilence = 20;
  EXPECT_EQ(Run(), kAudioOk);
  EXPECT_EQ(audio_->rendered, Frames(0, total_));
}

TEST_F(CopyLoop, PacketLargerThanTheFreeSpaceIsCopiedInParts) {
  audio_->renderFrames = 1000;
  Packets({600, 900, 900, 300});
  audio_->playPerEvent = 300;
  audio_->eventsBeforeSilence = 20;
  EXPECT_EQ(Run(), kAudioOk);
  EXPECT_EQ(audio_->rendered, Frames(0, total_));
  const Names calls = audio_->Calls();
  // The first pass has 700 free frames for the 900-frame packet.
  EXPECT_NE(std::find(calls.begin(), calls.end(), "RenderBuffer:700"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "ReleasePacket:900"), calls.end());
}

TEST_F(CopyLoop, PrefillLargerThanTheRenderBufferWaitsForRoom) {
  audio_->renderFrames = 1000;
  Packets({1500, 200});
  audio_->playPerEvent = 1000;
  audio_->eventsBeforeSilence = 5;
  EXPECT_EQ(Run(), kAudioOk);
  EXPECT_EQ(audio_->rendered, Frames(0, total_));
}

TEST_F(CopyLoop, EmptyCaptureMakesNoRenderRequest) {
  audio_->eventsBeforeSilence = 3;
  EXPECT_EQ(Run(), kAudioOk);
  for (const auto& c : audio_->Calls())
    EXPECT_NE(c.rfind("Render", 0) == 0 && c != "RenderPadding", true) << c;
  EXPECT_TRUE(audio_->rendered.empty());
}

TEST_F(CopyLoop, TwoSecondsOfSilenceEndTheLoop) {
  Packets({480, 480});
  audio_->eventsBeforeSilence = 1;
  EXPECT_EQ(Run(), kAudioOk);
  const Names calls = audio_->Calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "WaitForBuffer");
  EXPECT_EQ(calls.back(), "StopStreams");
}

TEST_F(CopyLoop, FailedWaitEndsTheLoop) {
  Packets({480});
  audio_->eventsBeforeSilence = 0;
  audio_->endWith = BufferWait::kFailed;
  EXPECT_TRUE(AudioFailed(Run()));
  EXPECT_TRUE(audio_->stopped);
}

TEST_F(CopyLoop, NotRunningAfterThePrefillEndsWithSuccess) {
  Packets({480});
  shared_.running = 0;
  EXPECT_EQ(Run(), kAudioOk);
  const Names calls = audio_->Calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "WaitForBuffer"), 0);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "StartRender"), 1);
}

TEST_F(CopyLoop, UnusableFormatEndsBeforeTheRenderSide) {
  audio_->format = {48000, 4, 1};  // less than a byte a frame
  EXPECT_EQ(Run(), kAudioBadFormat);
  EXPECT_EQ(audio_->Calls(), (Names{"OpenCapture", "StopStreams"}));
  audio_ = std::make_shared<FakeAudio>();
  audio_->format = {0, 16, 2};
  EXPECT_EQ(Run(), kAudioBadFormat);
}

TEST_F(CopyLoop, CaptureEndpointMissingIsRecorded) {
  audio_->failAt["OpenCapture"] = 1;
  EXPECT_EQ(Run(), kInjected);
  EXPECT_EQ(shared_.Record().captureFormFactor, 4u);
  EXPECT_EQ(audio_->Calls(), (Names{"OpenCapture", "StopStreams"}));
}

// Every call of the loop, failing once: the thread ends, its streams are
// stopped and the finished event is set.
class FailingCall : public ::testing::TestWithParam<std::pair<const char*, int>> {};

TEST_P(FailingCall, EndsTheThreadWithTheFinishedEventSet) {
  const auto [name, occurrence] = GetParam();
  auto audio = std::make_shared<FakeAudio>();
  audio->renderFrames = 1000;
  uint32_t next = 0;
  for (uint32_t n : {600u, 900u, 300u, 300u}) {
    audio->packets.push_back(Packet(next, n));
    next += n;
  }
  audio->playPerEvent = 300;
  audio->eventsBeforeSilence = 50;
  audio->failAt[name] = occurrence;
  auto shared = std::make_shared<AudioShared>();
  shared->running = 1;
  auto finished = std::make_shared<FinishedEvent>();
  AudioPassThroughThread(shared, finished, FactoryFor(audio));
  EXPECT_TRUE(finished->PeekFor(std::chrono::milliseconds(0)));
  EXPECT_TRUE(audio->stopped);
  const Names calls = audio->Calls();
  ASSERT_GE(calls.size(), 2u);
  // Nothing after the failing call but the stop.
  const std::string last = calls[calls.size() - 2];
  EXPECT_EQ(last.substr(0, last.find(':')), name);
  // The silence never came.
  EXPECT_LT(std::count(calls.begin(), calls.end(), "WaitForBuffer"), 51);
}

INSTANTIATE_TEST_SUITE_P(
    EachCall, FailingCall,
    ::testing::Values(std::make_pair("OpenCapture", 1), std::make_pair("OpenRender", 1),
                      std::make_pair("StartCapture", 1), std::make_pair("NextPacket", 1),
                      std::make_pair("RenderBuffer", 1), std::make_pair("ReleaseRender", 1),
                      std::make_pair("ReleasePacket", 1), std::make_pair("StartRender", 1),
                      std::make_pair("WaitForBuffer", 2), std::make_pair("CapturePadding", 1),
                      std::make_pair("RenderPadding", 1), std::make_pair("NextPacket", 2),
                      std::make_pair("RenderBuffer", 2), std::make_pair("ReleaseRender", 3),
                      std::make_pair("ReleasePacket", 2)),
    [](const auto& info) { return std::string(info.param.first) + "_" + std::to_string(info.param.second); });

TEST(PassThroughThread, FactoryThatGivesNothingStillSetsTheEvent) {
  auto shared = std::make_shared<AudioShared>();
  auto finished = std::make_shared<FinishedEvent>();
  AudioPassThroughThread(shared, finished, [] { return std::unique_ptr<AudioEndpoints>(); });
  EXPECT_TRUE(finished->WaitFor(std::chrono::milliseconds(0)));
  EXPECT_FALSE(finished->WaitFor(std::chrono::milliseconds(0)));  // auto-reset
}

TEST(PassThroughThread, PlatformWithoutALineLevelEndpointEndsAtOnce) {
  auto shared = std::make_shared<AudioShared>();
  shared->running = 1;
  auto finished = std::make_shared<FinishedEvent>();
  AudioPassThroughThread(shared, finished, AudioEndpointFactory{});
  EXPECT_TRUE(finished->PeekFor(std::chrono::milliseconds(0)));
  EXPECT_NE(shared->Record().captureFormFactor, kFormFactorLineLevel);
}

}  // namespace
}  // namespace environment
