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
  // Packets of the given sizes with frames numbered on from 1.
  void Packets(std::initializer_list<uint32_t> sizes) {
    uint32_t next = 1;
    for (uint32_t n : sizes) {
      audio_->packets.push_back(Packet(next, n));
      next += n;
    }
    total_ = next - 1;
  }
  std::shared_ptr<FakeAudio> audio_ = std::make_shared<FakeAudio>();
  AudioShared shared_;
  uint32_t total_ = 0;
};

// The capture side gets its packet back before the render side is released
// (the other way round fails here), then silence fills up to the 30 ms target.
TEST_F(CopyLoop, PrefillReleasesCaptureThenRenderAndFillsToTheTarget) {
  Packets({480});
  audio_->eventsBeforeSilence = 0;
  EXPECT_EQ(Run(), kAudioOk);
  EXPECT_EQ(audio_->Calls(),
            (Names{"OpenCapture", "OpenRender", "StartCapture", "NextPacket", "RenderBuffer:480",
                   "ReleasePacket:480", "ReleaseRender:480", "RenderBuffer:960", "ReleaseRender:960",
                   "StartRender", "WaitForBuffer", "RenderPadding", "StopStreams"}));
  std::vector<uint8_t> expected = Frames(1, 480);
  expected.resize(1440 * 4, 0);
  EXPECT_EQ(audio_->rendered, expected);
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
  // One event: 480 played of the 1440 prefilled.
  EXPECT_EQ(r.renderPaddingBytes, 960u * 4);
}

TEST_F(CopyLoop, SteadyStateCopiesEveryPacketInOrder) {
  Packets({480, 480, 480, 480, 480, 480, 480, 480, 480, 480});
  audio_->eventsBeforeSilence = 12;
  EXPECT_EQ(Run(), kAudioOk);
  EXPECT_EQ(Sound(audio_->rendered), Frames(1, total_));
  EXPECT_TRUE(audio_->stopped);
}

TEST_F(CopyLoop, PaddingsAreRecordedInBytes) {
  Packets({480, 100});
  audio_->playPerEvent = 80;
  audio_->eventsBeforeSilence = 1;
  Run();
  const AudioRecord r = shared_.Record();
  EXPECT_EQ(r.capturePaddingBytes, 100u * 4);  // the waiting packet
  EXPECT_EQ(r.renderPaddingBytes, 1360u * 4);  // 1440 written, 80 played
}

// In the remainder tests the frame rate is so high that 30 ms is more than
// the render buffer holds: the delay steering only ever adds silence, and the
// copy's own bookkeeping shows.  The fake refuses requests beyond the free
// space and partial capture releases, so a run that ends well kept the rules.
constexpr AudioStreamFormat kFastFormat{480000, 16, 2};

TEST_F(CopyLoop, FullRenderBufferKeepsThePacketForLater) {
  audio_->format = kFastFormat;
  audio_->renderFrames = 960;
  Packets({960, 480, 480, 480});
  audio_->playPerEvent = 0;  // nothing plays for the first events
  audio_->eventsBeforeSilence = 2;
  EXPECT_EQ(Run(), kAudioOk);
  // Nothing fitted: the second packet waits, nothing was requested beyond the free space.
  EXPECT_EQ(Sound(audio_->rendered), Frames(1, 960));
  for (const auto& c : audio_->Calls())
    EXPECT_NE(c.rfind("RenderBuffer:", 0) == 0 && c != "RenderBuffer:960", true) << c;

  // Same script, the speaker starts playing: every frame arrives once, in order.
  audio_ = std::make_shared<FakeAudio>();
  audio_->format = kFastFormat;
  audio_->renderFrames = 960;
  Packets({960, 480, 480, 480});
  audio_->playPerEvent = 240;
  audio_->eventsBeforeSilence = 20;
  EXPECT_EQ(Run(), kAudioOk);
  EXPECT_EQ(Sound(audio_->rendered), Frames(1, total_));
}

TEST_F(CopyLoop, PacketLargerThanTheFreeSpaceIsCopiedInParts) {
  audio_->format = kFastFormat;
  audio_->renderFrames = 1000;
  Packets({600, 900, 900, 300});
  audio_->playPerEvent = 300;
  audio_->eventsBeforeSilence = 20;
  EXPECT_EQ(Run(), kAudioOk);
  EXPECT_EQ(Sound(audio_->rendered), Frames(1, total_));
  const Names calls = audio_->Calls();
  // After the prefill only 300 frames are free for the 900-frame packet.
  EXPECT_NE(std::find(calls.begin(), calls.end(), "RenderBuffer:300"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "ReleasePacket:900"), calls.end());
}

TEST_F(CopyLoop, PrefillLargerThanTheRenderBufferWaitsForRoom) {
  audio_->format = kFastFormat;
  audio_->renderFrames = 1000;
  Packets({1500, 200});
  audio_->playPerEvent = 1000;
  audio_->eventsBeforeSilence = 5;
  EXPECT_EQ(Run(), kAudioOk);
  EXPECT_EQ(Sound(audio_->rendered), Frames(1, total_));
}

TEST_F(CopyLoop, EmptyCaptureWritesOnlyThePrefillSilence) {
  audio_->eventsBeforeSilence = 3;
  EXPECT_EQ(Run(), kAudioOk);
  for (const auto& c : audio_->Calls())
    EXPECT_TRUE(c.rfind("RenderBuffer", 0) != 0 || c == "RenderBuffer:1440") << c;
  EXPECT_EQ(audio_->rendered.size(), 1440u * 4);
  EXPECT_TRUE(Sound(audio_->rendered).empty());
}

TEST_F(CopyLoop, TwoSecondsOfSilenceEndTheLoop) {
  Packets({480, 480});
  audio_->eventsBeforeSilence = 1;
  EXPECT_EQ(Run(), kAudioOk);
  const Names calls = audio_->Calls();
  ASSERT_GE(calls.size(), 3u);
  // The render side is asked once whether it is still there.
  EXPECT_EQ(calls[calls.size() - 3], "WaitForBuffer");
  EXPECT_EQ(calls[calls.size() - 2], "RenderPadding");
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
  uint32_t next = 1;
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
  // Nothing after the failing call but the stop, or the release that pairs
  // with it (the other side of the packet being copied).
  auto base = [](const std::string& c) { return c.substr(0, c.find(':')); };
  const std::string last = base(calls[calls.size() - 2]);
  if (last != name) {
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(base(calls[calls.size() - 3]), name);
    EXPECT_TRUE(last == "ReleasePacket" || last == "ReleaseRender") << last;
  }
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
