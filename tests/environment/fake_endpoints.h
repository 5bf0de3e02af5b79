#pragma once
// Scripted endpoints for the pass-through: capture packets come from a list,
// the render side plays a set number of frames per buffer event, and both
// sides keep the rules of the real interfaces (render requests no larger
// than the free space, capture releases of 0 or the whole packet).
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "environment/audio_endpoints.h"

namespace environment::testing {

constexpr AudioStatus kTooLarge = static_cast<AudioStatus>(0x88890006u);
constexpr AudioStatus kInvalidSize = static_cast<AudioStatus>(0x88890011u);
constexpr AudioStatus kInjected = static_cast<AudioStatus>(0x80070005u);

struct FakeAudio {
  // Script.
  AudioEndpointInfo captureInfo{kFormFactorLineLevel, L"HDMI Audio", L"Capture Board"};
  AudioEndpointInfo renderInfo{1, L"Speakers", L"Realtek"};
  AudioStreamFormat format{48000, 16, 2};  // 4 bytes a frame
  uint32_t captureFrames = 48000;
  uint32_t renderFrames = 48000;
  std::deque<std::vector<uint8_t>> packets;  // whole frames each
  uint32_t playPerEvent = 480;
  int eventsBeforeSilence = 1 << 30;
  BufferWait endWith = BufferWait::kTimeout;
  std::map<std::string, int> failAt;  // call name -> failing occurrence (1 = first)

  // What happened.
  std::mutex lock;
  std::vector<std::string> calls;
  std::vector<uint8_t> rendered;
  uint32_t renderPadding = 0;
  bool stopped = false;
  int64_t now = 0;
  std::vector<std::wstring> traces;

  std::vector<std::string> Calls() {
    std::lock_guard g(lock);
    return calls;
  }
};

// Packet of `frames` frames numbered from `first` (4 bytes a frame; number 0
// would look like silence).
inline std::vector<uint8_t> Packet(uint32_t first, uint32_t frames) {
  std::vector<uint8_t> p;
  for (uint32_t f = first; f < first + frames; ++f)
    for (int b = 0; b < 4; ++b) p.push_back(static_cast<uint8_t>((f >> (8 * b)) & 0xFF));
  return p;
}

// The frames that are not silence.
inline std::vector<uint8_t> Sound(const std::vector<uint8_t>& frames) {
  std::vector<uint8_t> sound;
  for (size_t i = 0; i + 4 <= frames.size(); i += 4)
    if (frames[i] != 0 || frames[i + 1] != 0 || frames[i + 2] != 0 || frames[i + 3] != 0)
      sound.insert(sound.end(), frames.begin() + static_cast<std::ptrdiff_t>(i),
                   frames.begin() + static_cast<std::ptrdiff_t>(i + 4));
  return sound;
}

class FakeEndpoints final : public AudioEndpoints {
 public:
  explicit FakeEndpoints(std::shared_ptr<FakeAudio> audio) : a_(std::move(audio)) {}

  AudioStatus OpenCapture(AudioEndpointInfo& info, AudioStreamFormat& format, uint32_t& frames) override {
    if (auto st = Call("OpenCapture"); st != kAudioOk) {
      info.formFactor = 4;
      return st;
    }
    info = a_->captureInfo;
    format = a_->format;
    frames = a_->captureFrames;
    return kAudioOk;
  }
  AudioStatus OpenRender(AudioEndpointInfo& info, uint32_t& frames) override {
    if (auto st = Call("OpenRender"); st != kAudioOk) return st;
    info = a_->renderInfo;
    frames = a_->renderFrames;
    return kAudioOk;
  }
  void CloseCapture() override { Call("CloseCapture"); }
  void CloseRender() override { Call("CloseRender"); }
  AudioStatus StartCapture() override { return Call("StartCapture"); }
  AudioStatus StartRender() override { return Call("StartRender"); }
  BufferWait WaitForBuffer(uint32_t timeoutMs) override {
    if (Call("WaitForBuffer") != kAudioOk) return BufferWait::kFailed;
    std::lock_guard g(a_->lock);
    if (timeoutMs != 2000) return BufferWait::kFailed;
    if (a_->eventsBeforeSilence-- <= 0) return a_->endWith;
    a_->renderPadding -= std::min(a_->renderPadding, a_->playPerEvent);
    a_->now += kAudioTicksPerSecond / 100;
    return BufferWait::kSignalled;
  }
  bool TakeRenderChange() override { return false; }
  int64_t Now() override {
    std::lock_guard g(a_->lock);
    return a_->now;
  }
  AudioStatus SetRenderRate(double) override { return Call("SetRenderRate"); }
  void Trace(const std::wstring& line) override {
    std::lock_guard g(a_->lock);
    a_->traces.push_back(line);
  }
  AudioStatus CapturePadding(uint32_t& frames) override {
    if (auto st = Call("CapturePadding"); st != kAudioOk) return st;
    std::lock_guard g(a_->lock);
    frames = a_->packets.empty() ? 0 : static_cast<uint32_t>(a_->packets.front().size() / 4);
    return kAudioOk;
  }
  AudioStatus RenderPadding(uint32_t& frames) override {
    if (auto st = Call("RenderPadding"); st != kAudioOk) return st;
    std::lock_guard g(a_->lock);
    frames = a_->renderPadding;
    return kAudioOk;
  }
  AudioStatus NextPacket(CapturePacket& packet) override {
    if (auto st = Call("NextPacket"); st != kAudioOk) return st;
    std::lock_guard g(a_->lock);
    if (outstanding_ != 0) return static_cast<AudioStatus>(0x88890007u);  // out of order
    packet = {};
    if (a_->packets.empty()) return kAudioOk;
    packet_ = a_->packets.front();
    a_->packets.pop_front();
    packet.data = packet_.data();
    packet.frames = outstanding_ = static_cast<uint32_t>(packet_.size() / 4);
    return kAudioOk;
  }
  AudioStatus ReleasePacket(uint32_t frames) override {
    if (auto st = Call("ReleasePacket:" + std::to_string(frames)); st != kAudioOk) return st;
    std::lock_guard g(a_->lock);
    if (frames != 0 && frames != outstanding_) return kInvalidSize;
    if (frames == 0) a_->packets.push_front(packet_);
    outstanding_ = 0;
    return kAudioOk;
  }
  AudioStatus RenderBuffer(uint32_t frames, uint8_t*& data) override {
    if (auto st = Call("RenderBuffer:" + std::to_string(frames)); st != kAudioOk) return st;
    std::lock_guard g(a_->lock);
    if (frames > a_->renderFrames - a_->renderPadding) return kTooLarge;
    target_.assign(static_cast<size_t>(frames) * 4, 0xEE);
    requested_ = frames;
    data = target_.data();
    return kAudioOk;
  }
  AudioStatus ReleaseRender(uint32_t frames) override {
    if (auto st = Call("ReleaseRender:" + std::to_string(frames)); st != kAudioOk) return st;
    std::lock_guard g(a_->lock);
    if (frames > requested_) return kInvalidSize;
    a_->rendered.insert(a_->rendered.end(), target_.begin(),
                        target_.begin() + static_cast<size_t>(frames) * 4);
    a_->renderPadding += frames;
    requested_ = 0;
    return kAudioOk;
  }
  void StopStreams() override {
    Call("StopStreams");
    std::lock_guard g(a_->lock);
    a_->stopped = true;
  }

 private:
  // Records the call; the injected failure for its name (without ":n").
  AudioStatus Call(const std::string& name) {
    std::lock_guard g(a_->lock);
    a_->calls.push_back(name);
    const std::string base = name.substr(0, name.find(':'));
    const auto it = a_->failAt.find(base);
    if (it == a_->failAt.end()) return kAudioOk;
    return --counts_[base] + it->second == 0 ? kInjected : kAudioOk;
  }

  std::shared_ptr<FakeAudio> a_;
  std::map<std::string, int> counts_;
  std::vector<uint8_t> packet_;
  std::vector<uint8_t> target_;
  uint32_t outstanding_ = 0;
  uint32_t requested_ = 0;
};

inline AudioEndpointFactory FactoryFor(std::shared_ptr<FakeAudio> audio) {
  return [audio] { return std::make_unique<FakeEndpoints>(audio); };
}

}  // namespace environment::testing
