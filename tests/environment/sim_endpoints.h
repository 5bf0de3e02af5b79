#pragma once
// Endpoints driven by a simulated clock.  The HDMI source delivers packets on
// its own clock (capturePpm faster than the playback device's), the playback
// device takes one period every 10 ms of simulated time at the stream rate it
// was given.  Frames carry their number (4 bytes, 0 is silence), so what is
// heard can be checked: its latency, dropped or repeated frames, underruns,
// and on which device.  Hours of audio run in seconds.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "environment/audio_endpoints.h"
#include "environment/audio_pass_through.h"

namespace environment::testing {

struct SimDevice {
  std::wstring description;
  std::wstring name;
  bool present = true;
  bool rateAdjust = true;
};

struct SimStats {
  uint64_t underruns = 0;  // periods the device found short of frames (after the warm-up)
  uint64_t overflows = 0;  // capture packets lost to a full capture buffer
  uint64_t repeats = 0;    // a frame heard twice
  uint64_t drops = 0;      // a frame left out
  uint64_t breaks = 0;     // any other step in the heard frame numbers (after the warm-up)
  uint64_t minSpacing = std::numeric_limits<uint64_t>::max();  // frames between repeats/drops
  double minLatency = 1e9;  // seconds from capture to hearing (after the warm-up)
  double maxLatency = -1e9;
  double maxDelayError = 0;  // |diagnosed delay - 30 ms| (after the warm-up)
  double lastBad = -1;       // last time latency left the band or the device ran short
  uint64_t openFailures = 0;
};

class SimAudio {
 public:
  // Script.
  double capturePpm = 0;
  uint32_t rate = 48000;
  uint32_t packetFrames = 480;
  uint32_t periodFrames = 480;
  uint32_t captureBufferFrames = 48000;
  uint32_t renderBufferFrames = 48000;
  std::vector<SimDevice> devices{{L"Speakers", L"Realtek Audio"}};
  int defaultDevice = 0;
  bool capturePresent = true;
  bool realTime = false;             // waits take their time for real (threaded tests)
  double warmup = 1.0;               // seconds before the bounds apply
  double bandLow = 0, bandHigh = 1;  // latency band for lastBad
  double endAt = -1;                 // the running flag drops at this time
  std::atomic<int32_t>* running = nullptr;
  AudioShared* shared = nullptr;  // diagnosis sampled at each period

  std::mutex lock;
  SimStats stats;
  std::vector<std::wstring> traces;
  std::vector<std::pair<int, double>> firstSound;  // device, time sound was heard after a quiet period
  bool destroyed = false;

  // Runs `action` (under the lock) when the simulated clock reaches `at`.
  void At(double at, std::function<void(SimAudio&)> action) { actions_.emplace(at, std::move(action)); }

  // Actions.
  void SetDefault(int device) {
    defaultDevice = device;
    Notify();
  }
  void Remove(int device) {
    devices[device].present = false;
    if (renderDevice_ == device) renderGone_ = true;
    if (defaultDevice == device) defaultDevice = -1;
    Notify();
  }
  // The device vanishes and the system says nothing; its calls fail.
  void Vanish(int device, int newDefault) {
    devices[device].present = false;
    if (renderDevice_ == device) renderGone_ = true;
    defaultDevice = newDefault;
  }
  void Restore(int device) {
    devices[device].present = true;
    defaultDevice = device;
    Notify();
  }
  void CaptureGone() {
    capturePresent = false;
    if (captureOpen_) captureGone_ = true;
    queue_.clear();
    queued_ = 0;
  }
  void CaptureBack() { capturePresent = true; }
  // The source stops for `seconds`; the next packet says frames were lost.
  void Stall(double seconds) { stallUntil_ = now_ + seconds; }
  // The device throws away what it holds.
  void DropRenderBuffer() {
    content_.clear();
    contentFrames_ = 0;
  }

  double NowSeconds() const { return now_; }
  int RenderDevice() const { return renderDevice_; }
  double CaptureRate() const { return rate * (1.0 + capturePpm * 1e-6); }
  // When frame `k` (from 1) was recorded.
  double CaptureTimeOf(uint64_t k) const { return static_cast<double>(k - 1) / CaptureRate(); }

 private:
  friend class SimEndpoints;
  struct Run {  // consecutive frame numbers; first 0: silence
    uint32_t first;
    uint32_t count;
  };
  struct Packet {
    uint64_t first;
    uint32_t frames;
    bool discontinuity;
  };

  void Notify() {
    change_ = true;
    signal_ = true;
  }

  // Moves the clock to `t`, delivering packets and running actions on the way.
  // Stops early (false) where an action signalled the buffer event.
  bool Advance(double t) {
    for (;;) {
      const double packetAt = static_cast<double>((nextPacket_ + 1) * packetFrames) / CaptureRate();
      const double actionAt = actions_.empty() ? 1e18 : actions_.begin()->first;
      const double next = std::min({packetAt, actionAt, t});
      now_ = std::max(now_, next);
      if (next == t && t < packetAt && t < actionAt) return true;
      if (actionAt <= packetAt && actionAt <= t) {
        auto action = std::move(actions_.begin()->second);
        actions_.erase(actions_.begin());
        action(*this);
        if (signal_) return false;
        continue;
      }
      if (packetAt <= t) {
        Deliver();
        continue;
      }
      return true;
    }
  }

  void Deliver() {
    const uint64_t first = nextPacket_ * packetFrames + 1;
    ++nextPacket_;
    if (!captureOpen_ || !captureStarted_ || captureGone_) return;
    if (now_ < stallUntil_) {
      lostSome_ = true;
      return;
    }
    if (queued_ + packetFrames > captureBufferFrames) {
      ++stats.overflows;
      lostSome_ = true;
      return;
    }
    queue_.push_back({first, packetFrames, lostSome_});
    queued_ += packetFrames;
    lostSome_ = false;
  }

  // One device period: the engine takes its frames.
  void Period() {
    renderConsumed_ += periodFrames * streamRate_ / rate;
    uint64_t need = static_cast<uint64_t>(renderConsumed_);
    renderConsumed_ -= static_cast<double>(need);
    const bool warm = now_ >= warmup;
    if (contentFrames_ < need) {
      if (warm) ++stats.underruns;
      stats.lastBad = now_;
    }
    bool heardSound = false;
    while (need > 0 && !content_.empty()) {
      Run& run = content_.front();
      const uint32_t take = static_cast<uint32_t>(std::min<uint64_t>(need, run.count));
      if (run.first != 0) {
        const uint32_t k = run.first;
        if (!heardSound) {
          heardSound = true;
          if (quiet_) firstSound.emplace_back(renderDevice_, now_);
          const double latency = now_ - CaptureTimeOf(k);
          if (warm) {
            stats.minLatency = std::min(stats.minLatency, latency);
            stats.maxLatency = std::max(stats.maxLatency, latency);
          }
          if (latency < bandLow || latency > bandHigh) stats.lastBad = now_;
        }
        if (lastHeard_ != 0) {
          if (k == lastHeard_) {
            ++stats.repeats;
            Corrected();
          } else if (k == lastHeard_ + 2) {
            ++stats.drops;
            Corrected();
          } else if (k != lastHeard_ + 1 && warm) {
            ++stats.breaks;
          }
        }
        lastHeard_ = k + take - 1;
        run.first += take;
      }
      heard_ += take;
      run.count -= take;
      contentFrames_ -= take;
      need -= take;
      if (run.count == 0) content_.pop_front();
    }
    quiet_ = !heardSound;
    if (shared != nullptr && warm) {
      const double error = std::fabs(shared->Diagnosis().delayMs - 30.0);
      stats.maxDelayError = std::max(stats.maxDelayError, error);
    }
  }
  void Push(uint32_t k) {
    if (!content_.empty()) {
      Run& last = content_.back();
      if ((k == 0 && last.first == 0) || (k != 0 && last.first != 0 && k == last.first + last.count)) {
        ++last.count;
        ++contentFrames_;
        return;
      }
    }
    content_.push_back({k, 1});
    ++contentFrames_;
  }
  void Corrected() {
    if (lastCorrection_ != 0) stats.minSpacing = std::min(stats.minSpacing, heard_ - lastCorrection_);
    lastCorrection_ = heard_;
  }
  void lastBadNow() { stats.lastBad = now_; }

  std::multimap<double, std::function<void(SimAudio&)>> actions_;
  double now_ = 0;
  bool change_ = false;
  bool signal_ = false;
  // Capture side.
  bool captureOpen_ = false, captureStarted_ = false, captureGone_ = false;
  uint64_t nextPacket_ = 0;
  std::deque<Packet> queue_;
  uint32_t queued_ = 0;
  double stallUntil_ = -1;
  bool lostSome_ = false;
  std::vector<uint8_t> packetBytes_;
  uint32_t outstanding_ = 0;
  // Render side.
  int renderDevice_ = -1;
  bool renderStarted_ = false, renderGone_ = false;
  std::deque<Run> content_;
  uint64_t contentFrames_ = 0;
  double streamRate_ = 0;
  double renderConsumed_ = 0;
  double nextEvent_ = 0;
  std::vector<uint8_t> target_;
  uint32_t requested_ = 0;
  bool quiet_ = true;
  uint32_t lastHeard_ = 0;
  uint64_t heard_ = 0;
  uint64_t lastCorrection_ = 0;
};

class SimEndpoints final : public AudioEndpoints {
 public:
  explicit SimEndpoints(std::shared_ptr<SimAudio> audio) : a_(std::move(audio)) {}
  ~SimEndpoints() override {
    std::lock_guard g(a_->lock);
    a_->destroyed = true;
  }

  AudioStatus OpenCapture(AudioEndpointInfo& info, AudioStreamFormat& format, uint32_t& frames) override {
    std::lock_guard g(a_->lock);
    if (!a_->capturePresent) {
      ++a_->stats.openFailures;
      return kAudioNotFound;
    }
    info = {kFormFactorLineLevel, L"HDMI Audio", L"Capture Board"};
    format = {a_->rate, 16, 2};
    frames = a_->captureBufferFrames;
    a_->captureOpen_ = true;
    a_->captureStarted_ = a_->captureGone_ = false;
    a_->queue_.clear();
    a_->queued_ = 0;
    return kAudioOk;
  }
  AudioStatus OpenRender(AudioEndpointInfo& info, uint32_t& frames) override {
    std::lock_guard g(a_->lock);
    const int d = a_->defaultDevice;
    if (d < 0 || !a_->devices[d].present) {
      ++a_->stats.openFailures;
      return kAudioNotFound;
    }
    info = {1, a_->devices[d].description, a_->devices[d].name};
    frames = a_->renderBufferFrames;
    a_->renderDevice_ = d;
    a_->renderStarted_ = a_->renderGone_ = false;
    a_->DropRenderBuffer();
    a_->streamRate_ = a_->rate;
    a_->quiet_ = true;
    return kAudioOk;
  }
  void CloseCapture() override {
    std::lock_guard g(a_->lock);
    a_->captureOpen_ = a_->captureStarted_ = a_->captureGone_ = false;
    a_->queue_.clear();
    a_->queued_ = 0;
    a_->outstanding_ = 0;
  }
  void CloseRender() override {
    std::lock_guard g(a_->lock);
    a_->renderDevice_ = -1;
    a_->renderStarted_ = a_->renderGone_ = false;
    a_->requested_ = 0;
  }
  AudioStatus StartCapture() override {
    std::lock_guard g(a_->lock);
    if (!a_->captureOpen_) return kAudioFail;
    a_->captureStarted_ = true;
    return kAudioOk;
  }
  AudioStatus StartRender() override {
    std::lock_guard g(a_->lock);
    if (a_->renderDevice_ < 0) return kAudioFail;
    a_->renderStarted_ = true;
    a_->nextEvent_ = a_->now_ + static_cast<double>(a_->periodFrames) / a_->rate;
    return kAudioOk;
  }
  BufferWait WaitForBuffer(uint32_t timeoutMs) override {
    double slept = 0;
    BufferWait result = BufferWait::kTimeout;
    {
      std::lock_guard g(a_->lock);
      const double start = a_->now_;
      if (std::exchange(a_->signal_, false)) return BufferWait::kSignalled;
      const double deadline = a_->now_ + timeoutMs / 1000.0;
      const bool event =
          a_->renderDevice_ >= 0 && a_->renderStarted_ && !a_->renderGone_ && a_->nextEvent_ <= deadline;
      const double until = event ? a_->nextEvent_ : deadline;
      if (!a_->Advance(until)) {
        a_->signal_ = false;
        result = BufferWait::kSignalled;
      } else if (event) {
        a_->Period();
        a_->nextEvent_ += static_cast<double>(a_->periodFrames) / a_->rate;
        result = BufferWait::kSignalled;
      }
      slept = a_->now_ - start;
      if (a_->running != nullptr && a_->endAt >= 0 && a_->now_ >= a_->endAt) a_->running->store(0);
    }
    if (a_->realTime) std::this_thread::sleep_for(std::chrono::duration<double>(slept));
    return result;
  }
  bool TakeRenderChange() override {
    std::lock_guard g(a_->lock);
    return std::exchange(a_->change_, false);
  }
  int64_t Now() override {
    std::lock_guard g(a_->lock);
    return std::llround(a_->now_ * kAudioTicksPerSecond);
  }
  AudioStatus CapturePadding(uint32_t& frames) override {
    std::lock_guard g(a_->lock);
    if (a_->captureGone_) return kAudioDeviceGone;
    frames = a_->queued_;
    return kAudioOk;
  }
  AudioStatus RenderPadding(uint32_t& frames) override {
    std::lock_guard g(a_->lock);
    if (a_->renderGone_) return kAudioDeviceGone;
    frames = static_cast<uint32_t>(a_->contentFrames_);
    return kAudioOk;
  }
  AudioStatus NextPacket(CapturePacket& packet) override {
    std::lock_guard g(a_->lock);
    if (a_->captureGone_) return kAudioDeviceGone;
    if (a_->outstanding_ != 0) return kAudioFail;
    packet = {};
    if (a_->queue_.empty()) return kAudioOk;
    const SimAudio::Packet& p = a_->queue_.front();
    a_->packetBytes_.resize(static_cast<size_t>(p.frames) * 4);
    for (uint32_t i = 0; i < p.frames; ++i) {
      const uint32_t k = static_cast<uint32_t>(p.first + i);
      std::memcpy(a_->packetBytes_.data() + static_cast<size_t>(i) * 4, &k, 4);
    }
    packet.data = a_->packetBytes_.data();
    packet.frames = a_->outstanding_ = p.frames;
    packet.discontinuity = p.discontinuity;
    packet.captureTime = std::llround(a_->CaptureTimeOf(p.first) * kAudioTicksPerSecond);
    return kAudioOk;
  }
  AudioStatus ReleasePacket(uint32_t frames) override {
    std::lock_guard g(a_->lock);
    if (a_->captureGone_) return kAudioDeviceGone;
    if (frames != 0 && frames != a_->outstanding_) return kAudioFail;
    if (frames != 0 && !a_->queue_.empty()) {
      a_->queued_ -= a_->queue_.front().frames;
      a_->queue_.pop_front();
    }
    a_->outstanding_ = 0;
    return kAudioOk;
  }
  AudioStatus RenderBuffer(uint32_t frames, uint8_t*& data) override {
    std::lock_guard g(a_->lock);
    if (a_->renderGone_) return kAudioDeviceGone;
    if (a_->renderDevice_ < 0 || frames > a_->renderBufferFrames - a_->contentFrames_) return kAudioFail;
    a_->target_.assign(static_cast<size_t>(frames) * 4, 0xEE);
    a_->requested_ = frames;
    data = a_->target_.data();
    return kAudioOk;
  }
  AudioStatus ReleaseRender(uint32_t frames) override {
    std::lock_guard g(a_->lock);
    if (a_->renderGone_) return kAudioDeviceGone;
    if (frames > a_->requested_) return kAudioFail;
    for (uint32_t i = 0; i < frames; ++i) {
      uint32_t k = 0;
      std::memcpy(&k, a_->target_.data() + static_cast<size_t>(i) * 4, 4);
      a_->Push(k);
    }
    a_->requested_ = 0;
    return kAudioOk;
  }
  AudioStatus SetRenderRate(double framesPerSecond) override {
    std::lock_guard g(a_->lock);
    if (a_->renderGone_) return kAudioDeviceGone;
    if (a_->renderDevice_ < 0 || !a_->devices[a_->renderDevice_].rateAdjust) return kAudioFail;
    a_->streamRate_ = framesPerSecond;
    return kAudioOk;
  }
  void Trace(const std::wstring& line) override {
    std::lock_guard g(a_->lock);
    a_->traces.push_back(line);
  }
  void StopStreams() override {
    std::lock_guard g(a_->lock);
    a_->captureStarted_ = a_->renderStarted_ = false;
  }

 private:
  std::shared_ptr<SimAudio> a_;
};

inline AudioEndpointFactory SimFactory(std::shared_ptr<SimAudio> audio) {
  return [audio] { return std::make_unique<SimEndpoints>(audio); };
}

}  // namespace environment::testing
