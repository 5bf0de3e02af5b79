// What holding the audio path's delay costs: CPU per second of audio of the
// copy loop with its drift controller, against the plain copy of the same
// packets (one capture packet per render event, nothing measured).
#include <benchmark/benchmark.h>

#include <time.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "environment/audio_endpoints.h"
#include "environment/audio_pass_through.h"

namespace {

using namespace environment;

constexpr uint32_t kRate = 48000;
constexpr uint32_t kPacket = 480;
constexpr int64_t kPeriodTicks = kAudioTicksPerSecond / 100;
constexpr int kSecondsOfAudio = 60;

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Endpoints on a simulated clock that cost as little as possible: 10 ms
// packets from a source 100 ppm fast, a device taking 10 ms per event.
class BenchEndpoints final : public AudioEndpoints {
 public:
  BenchEndpoints(AudioShared* shared, int64_t endTicks) : shared_(shared), end_(endTicks) {
    for (size_t i = 0; i < packet_.size(); ++i) packet_[i] = static_cast<uint8_t>(i * 7 + 1);
  }
  AudioStatus OpenCapture(AudioEndpointInfo& info, AudioStreamFormat& format, uint32_t& frames) override {
    info.formFactor = kFormFactorLineLevel;
    format = {kRate, 16, 2};
    frames = kRate;
    return kAudioOk;
  }
  AudioStatus OpenRender(AudioEndpointInfo& info, uint32_t& frames) override {
    info.formFactor = 1;
    frames = kRate;
    return kAudioOk;
  }
  void CloseCapture() override {}
  void CloseRender() override {}
  AudioStatus StartCapture() override { return kAudioOk; }
  AudioStatus StartRender() override { return kAudioOk; }
  BufferWait WaitForBuffer(uint32_t) override {
    now_ += kPeriodTicks;
    consumed_ += kPacket * streamRate_ / kRate;
    const auto take = static_cast<uint32_t>(consumed_);
    consumed_ -= take;
    padding_ -= std::min(padding_, take);
    const auto made =
        static_cast<uint64_t>(static_cast<double>(now_) / kAudioTicksPerSecond * kCaptureRate / kPacket);
    pending_ += made - made_;
    made_ = made;
    if (now_ >= end_ && shared_ != nullptr) shared_->running.store(0);
    return BufferWait::kSignalled;
  }
  bool TakeRenderChange() override { return false; }
  int64_t Now() override { return now_; }
  AudioStatus CapturePadding(uint32_t& frames) override {
    frames = static_cast<uint32_t>(pending_ * kPacket);
    return kAudioOk;
  }
  AudioStatus RenderPadding(uint32_t& frames) override {
    frames = padding_;
    return kAudioOk;
  }
  AudioStatus NextPacket(CapturePacket& packet) override {
    packet = {};
    if (pending_ == 0) return kAudioOk;
    packet.data = packet_.data();
    packet.frames = kPacket;
    const uint64_t index = made_ - pending_;
    packet.captureTime =
        static_cast<int64_t>(static_cast<double>(index * kPacket) / kCaptureRate * kAudioTicksPerSecond);
    return kAudioOk;
  }
  AudioStatus ReleasePacket(uint32_t frames) override {
    if (frames != 0) --pending_;
    return kAudioOk;
  }
  AudioStatus RenderBuffer(uint32_t frames, uint8_t*& data) override {
    if (frames > kRate - padding_) return kAudioFail;
    data = target_.data();
    return kAudioOk;
  }
  AudioStatus ReleaseRender(uint32_t frames) override {
    padding_ += frames;
    benchmark::DoNotOptimize(target_.data());
    return kAudioOk;
  }
  AudioStatus SetRenderRate(double framesPerSecond) override {
    streamRate_ = framesPerSecond;
    return kAudioOk;
  }
  void Trace(const std::wstring&) override {}
  void StopStreams() override {}
  bool Done() const { return now_ >= end_; }

 private:
  static constexpr double kCaptureRate = kRate * (1 + 100e-6);
  AudioShared* shared_;
  int64_t end_;
  int64_t now_ = 0;
  uint64_t made_ = 0;
  uint64_t pending_ = 0;
  uint32_t padding_ = 0;
  double consumed_ = 0;
  double streamRate_ = kRate;
  std::vector<uint8_t> packet_ = std::vector<uint8_t>(kPacket * 4);
  std::vector<uint8_t> target_ = std::vector<uint8_t>(kRate * 4);
};

// The copy as first specified: one packet per render event, straight across.
void PlainCopy(BenchEndpoints& ep) {
  while (!ep.Done()) {
    (void)ep.WaitForBuffer(2000);
    CapturePacket p;
    if (AudioFailed(ep.NextPacket(p)) || p.frames == 0) continue;
    uint8_t* target = nullptr;
    if (AudioFailed(ep.RenderBuffer(p.frames, target))) return;
    std::memcpy(target, p.data, static_cast<size_t>(p.frames) * 4);
    (void)ep.ReleasePacket(p.frames);
    (void)ep.ReleaseRender(p.frames);
  }
}

void BM_AudioCopyLoopCpu(benchmark::State& state) {
  const int64_t end = int64_t{kSecondsOfAudio} * kAudioTicksPerSecond;
  double plain = 0;
  double steered = 0;
  for (auto _ : state) {
    {
      BenchEndpoints ep(nullptr, end);
      const double t0 = ThreadCpuSeconds();
      PlainCopy(ep);
      plain += ThreadCpuSeconds() - t0;
    }
    {
      AudioShared shared;
      shared.running = 1;
      BenchEndpoints ep(&shared, end);
      const double t0 = ThreadCpuSeconds();
      (void)RunPassThrough(ep, shared);
      steered += ThreadCpuSeconds() - t0;
    }
  }
  const double seconds = static_cast<double>(state.iterations()) * kSecondsOfAudio;
  state.counters["plain_us_per_s"] = plain / seconds * 1e6;
  state.counters["steered_us_per_s"] = steered / seconds * 1e6;
  state.counters["ratio"] = plain > 0 ? steered / plain : 0;  // against the plain copy
}
BENCHMARK(BM_AudioCopyLoopCpu)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
