#include "environment/audio_pass_through.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace environment {
namespace {

uint32_t Clamp32(uint64_t v) {
  return v > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                  : static_cast<uint32_t>(v);
}

// Frames of a capture packet that did not fit into the render buffer yet;
// the capture side accepts only whole packets back, so they wait here.
class Remainder {
 public:
  explicit Remainder(uint32_t frameBytes) : frameBytes_(frameBytes) {}
  uint32_t Frames() const { return static_cast<uint32_t>((bytes_.size() - offset_) / frameBytes_); }
  const uint8_t* Data() const { return bytes_.data() + offset_; }
  void Keep(const uint8_t* data, uint32_t fromFrame, uint32_t frames) {
    const size_t bytes = static_cast<size_t>(frames) * frameBytes_;
    const size_t start = static_cast<size_t>(fromFrame) * frameBytes_;
    if (data != nullptr) {
      bytes_.assign(data + start, data + start + bytes);
    } else {
      bytes_.assign(bytes, 0);
    }
    offset_ = 0;
  }
  void Drop(uint32_t frames) {
    offset_ += static_cast<size_t>(frames) * frameBytes_;
    if (offset_ >= bytes_.size()) {
      bytes_.clear();
      offset_ = 0;
    }
  }

 private:
  uint32_t frameBytes_;
  std::vector<uint8_t> bytes_;
  size_t offset_ = 0;
};

class CopyLoop {
 public:
  CopyLoop(AudioEndpoints& endpoints, uint32_t frameBytes, uint32_t renderFrames)
      : ep_(endpoints), frameBytes_(frameBytes), renderFrames_(renderFrames), rest_(frameBytes) {}

  // Writes `frames` frames from data (silence for null) into the render buffer.
  AudioStatus Render(const uint8_t* data, uint32_t frames) {
    if (frames == 0) return kAudioOk;
    uint8_t* target = nullptr;
    AudioStatus st = ep_.RenderBuffer(frames, target);
    if (AudioFailed(st)) return st;
    if (target == nullptr) return kAudioFail;
    const size_t bytes = static_cast<size_t>(frames) * frameBytes_;
    if (data != nullptr) {
      std::memcpy(target, data, bytes);
    } else {
      std::memset(target, 0, bytes);
    }
    return ep_.ReleaseRender(frames);
  }

  // One capture packet into at most `room` frames; what does not fit waits.
  AudioStatus TakePacket(uint32_t room) {
    const uint8_t* data = nullptr;
    uint32_t frames = 0;
    AudioStatus st = ep_.NextPacket(data, frames);
    if (AudioFailed(st) || frames == 0) return st;
    const uint32_t now = std::min(frames, room);
    st = Render(data, now);
    if (AudioFailed(st)) return st;
    if (now < frames) rest_.Keep(data, now, frames - now);
    return ep_.ReleasePacket(frames);
  }

  AudioStatus Prefill() { return TakePacket(renderFrames_); }

  AudioStatus Pass(AudioShared& shared) {
    uint32_t capturePadding = 0;
    uint32_t renderPadding = 0;
    AudioStatus st = ep_.CapturePadding(capturePadding);
    if (AudioFailed(st)) return st;
    st = ep_.RenderPadding(renderPadding);
    if (AudioFailed(st)) return st;
    uint32_t room = renderPadding < renderFrames_ ? renderFrames_ - renderPadding : 0;
    shared.Update([&](AudioRecord& r) {
      r.capturePaddingBytes = Clamp32(uint64_t{capturePadding} * frameBytes_);
      r.renderPaddingBytes = Clamp32(uint64_t{renderPadding} * frameBytes_);
    });
    if (rest_.Frames() > 0) {
      const uint32_t now = std::min(rest_.Frames(), room);
      st = Render(rest_.Data(), now);
      if (AudioFailed(st)) return st;
      rest_.Drop(now);
      room -= now;
      // Still more than fits: the next packet waits in the capture buffer.
      if (rest_.Frames() > 0) return kAudioOk;
    }
    return TakePacket(room);
  }

  uint32_t Waiting() const { return rest_.Frames(); }

 private:
  AudioEndpoints& ep_;
  uint32_t frameBytes_;
  uint32_t renderFrames_;
  Remainder rest_;
};

AudioStatus Run(AudioEndpoints& ep, AudioShared& shared) {
  AudioEndpointInfo capture;
  AudioStreamFormat format;
  uint32_t captureFrames = 0;
  AudioStatus st = ep.OpenCapture(capture, format, captureFrames);
  shared.Update([&](AudioRecord& r) {
    r.captureFormFactor = capture.formFactor;
    r.captureDescription = capture.description;
    r.captureFriendlyName = capture.friendlyName;
  });
  if (AudioFailed(st)) return st;
  const uint64_t frameBytes64 = uint64_t{format.bitsPerSample} / 8 * format.channels;
  if (frameBytes64 == 0 || frameBytes64 > 4096 || format.sampleRate == 0) return kAudioBadFormat;
  const uint32_t frameBytes = static_cast<uint32_t>(frameBytes64);
  shared.Update([&](AudioRecord& r) {
    r.captureBufferSeconds = captureFrames / format.sampleRate;
    r.captureBufferBytes = Clamp32(uint64_t{captureFrames} * frameBytes);
  });

  AudioEndpointInfo render;
  uint32_t renderFrames = 0;
  st = ep.OpenRender(render, renderFrames);
  shared.Update([&](AudioRecord& r) {
    r.renderFormFactor = render.formFactor;
    r.renderDescription = render.description;
    r.renderFriendlyName = render.friendlyName;
  });
  if (AudioFailed(st)) return st;
  shared.Update([&](AudioRecord& r) {
    r.renderBufferSeconds = renderFrames / format.sampleRate;
    r.renderBufferBytes = Clamp32(uint64_t{renderFrames} * frameBytes);
  });

  st = ep.StartCapture();
  if (AudioFailed(st)) return st;
  CopyLoop loop(ep, frameBytes, renderFrames);
  st = loop.Prefill();
  if (AudioFailed(st)) return st;
  st = ep.StartRender();
  if (AudioFailed(st)) return st;

  while (shared.running.load(std::memory_order_acquire) == 1) {
    const BufferWait wait = ep.WaitForBuffer(kBufferWaitMs);
    if (wait == BufferWait::kTimeout) return kAudioOk;  // 2 s of silence from the render side
    if (wait == BufferWait::kFailed) return kAudioFail;
    st = loop.Pass(shared);
    if (AudioFailed(st)) return st;
  }
  return kAudioOk;
}

}  // namespace

AudioStatus RunPassThrough(AudioEndpoints& endpoints, AudioShared& shared) {
  const AudioStatus st = Run(endpoints, shared);
  endpoints.StopStreams();
  return st;
}

void AudioPassThroughThread(std::shared_ptr<AudioShared> shared, std::shared_ptr<FinishedEvent> finished,
                            AudioEndpointFactory factory) {
  // Set last, on every way out: the worker waits for it.
  struct SetOnExit {
    FinishedEvent* event;
    ~SetOnExit() {
      if (event != nullptr) event->Set();
    }
  } setOnExit{finished.get()};
  try {
    std::unique_ptr<AudioEndpoints> endpoints = factory ? factory() : CreatePlatformAudioEndpoints();
    if (endpoints) RunPassThrough(*endpoints, *shared);
  } catch (...) {
    // Out of memory in the copy: the thread ends like on any other failure.
  }
}

}  // namespace environment
