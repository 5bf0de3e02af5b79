#include "environment/audio_pass_through.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "environment/audio_drift_controller.h"
#include "environment/audio_trace.h"

namespace environment {
namespace {

// A broken stack that never runs out of packets must not hold the loop.
constexpr int kMaxPacketsPerPass = 1000;

uint32_t Clamp32(uint64_t v) {
  return v > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                  : static_cast<uint32_t>(v);
}

// Bytes of one frame; 0 for a format the copy cannot handle.
uint32_t FrameBytes(const AudioStreamFormat& format) {
  const uint64_t bytes = uint64_t{format.bitsPerSample} / 8 * format.channels;
  if (bytes == 0 || bytes > 4096 || format.sampleRate == 0) return 0;
  return static_cast<uint32_t>(bytes);
}

// Frames read from the capture side that the render side had no room for
// yet; the capture side takes only whole packets back, so they wait here.
class Remainder {
 public:
  void SetFrameBytes(uint32_t frameBytes) {
    frameBytes_ = frameBytes;
    Clear();
  }
  uint32_t Frames() const { return static_cast<uint32_t>((bytes_.size() - offset_) / frameBytes_); }
  const uint8_t* Data() const { return bytes_.data() + offset_; }
  // Null data is silence.
  void Append(const uint8_t* data, uint32_t frames) {
    const size_t bytes = static_cast<size_t>(frames) * frameBytes_;
    if (data != nullptr) {
      bytes_.insert(bytes_.end(), data, data + bytes);
    } else {
      bytes_.insert(bytes_.end(), bytes, 0);
    }
  }
  void Drop(uint32_t frames) {
    offset_ += std::min(static_cast<size_t>(frames) * frameBytes_, bytes_.size() - offset_);
    if (offset_ == bytes_.size()) {
      Clear();
    } else if (offset_ > bytes_.size() / 2) {
      bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset_));
      offset_ = 0;
    }
  }
  void Clear() {
    bytes_.clear();
    offset_ = 0;
  }

 private:
  uint32_t frameBytes_ = 1;
  std::vector<uint8_t> bytes_;
  size_t offset_ = 0;
};

class PassThrough {
 public:
  PassThrough(AudioEndpoints& endpoints, AudioShared& shared) : ep_(endpoints), shared_(shared) {}

  AudioStatus Run() {
    AudioStatus st = OpenCaptureSide();
    if (AudioFailed(st)) return st;
    st = OpenRenderSide();
    if (AudioFailed(st)) return st;
    st = ep_.StartCapture();
    if (AudioFailed(st)) return st;
    captureOpen_ = true;
    st = Prefill();
    if (AudioFailed(st)) return st;
    st = ep_.StartRender();
    if (AudioFailed(st)) return st;
    renderOpen_ = true;

    while (Running()) {
      if (!captureOpen_ && ep_.Now() >= nextCaptureTry_) TryReopenCapture();
      if (captureOpen_ && !renderOpen_ && ep_.Now() >= nextRenderTry_) TryReopenRender();
      if (!renderOpen_) {
        // Waiting for a playback device: keep the capture buffer from overflowing.
        if (captureOpen_) {
          st = DiscardCapture();
          if (AudioFailed(st)) return st;
        }
        if (ep_.WaitForBuffer(kReopenRetryMs) == BufferWait::kFailed) return kAudioFail;
        if (ep_.TakeRenderChange()) nextRenderTry_ = 0;
        continue;
      }
      const BufferWait wait = ep_.WaitForBuffer(kBufferWaitMs);
      if (wait == BufferWait::kTimeout) {
        // A device that vanished without a notification stops its events too.
        uint32_t padding = 0;
        if (ep_.RenderPadding(padding) == kAudioDeviceGone) {
          LoseRender(true);
          continue;
        }
        return kAudioOk;  // 2 s of silence from the render side
      }
      if (wait == BufferWait::kFailed) return kAudioFail;
      if (ep_.TakeRenderChange()) {
        LoseRender(false);
        continue;
      }
      st = Pass();
      if (AudioFailed(st)) return st;
    }
    return kAudioOk;
  }

 private:
  bool Running() const { return shared_.running.load(std::memory_order_acquire) == 1; }
  double Rate() const { return format_.sampleRate; }

  void RecordCapture(const AudioEndpointInfo& info) {
    shared_.Update([&](AudioRecord& r) {
      r.captureFormFactor = info.formFactor;
      r.captureDescription = info.description;
      r.captureFriendlyName = info.friendlyName;
    });
  }
  void RecordCaptureBuffer(uint32_t frames) {
    shared_.Update([&](AudioRecord& r) {
      r.captureBufferSeconds = frames / format_.sampleRate;
      r.captureBufferBytes = Clamp32(uint64_t{frames} * frameBytes_);
    });
  }
  void RecordRender(const AudioEndpointInfo& info) {
    shared_.Update([&](AudioRecord& r) {
      r.renderFormFactor = info.formFactor;
      r.renderDescription = info.description;
      r.renderFriendlyName = info.friendlyName;
    });
  }
  void RecordRenderBuffer() {
    shared_.Update([&](AudioRecord& r) {
      r.renderBufferSeconds = renderFrames_ / format_.sampleRate;
      r.renderBufferBytes = Clamp32(uint64_t{renderFrames_} * frameBytes_);
    });
  }
  void UseFormat(const AudioStreamFormat& format) {
    format_ = format;
    frameBytes_ = FrameBytes(format);
    rest_.SetFrameBytes(frameBytes_);
  }

  AudioStatus OpenCaptureSide() {
    AudioEndpointInfo info;
    AudioStreamFormat format;
    uint32_t frames = 0;
    const AudioStatus st = ep_.OpenCapture(info, format, frames);
    RecordCapture(info);
    if (AudioFailed(st)) return st;
    if (FrameBytes(format) == 0) return kAudioBadFormat;
    UseFormat(format);
    captureInfo_ = info;
    RecordCaptureBuffer(frames);
    return kAudioOk;
  }

  AudioStatus OpenRenderSide() {
    AudioEndpointInfo info;
    uint32_t frames = 0;
    const AudioStatus st = ep_.OpenRender(info, frames);
    RecordRender(info);
    if (AudioFailed(st)) return st;
    renderInfo_ = info;
    renderFrames_ = frames;
    RecordRenderBuffer();
    control_.emplace(format_.sampleRate, true);
    return kAudioOk;
  }

  // One capture packet, then silence up to the target delay, so that the
  // render side does not run dry before the next packets arrive.
  AudioStatus Prefill() {
    room_ = renderFrames_;
    written_ = 0;
    CapturePacket packet;
    AudioStatus st = ep_.NextPacket(packet);
    if (AudioFailed(st)) return st;
    if (packet.frames > 0) {
      st = TakePacket(packet, true);
      if (AudioFailed(st)) return st;
    }
    const uint32_t target = control_->TargetFrames();
    if (written_ < target) {
      st = WriteSilence(target - written_, true);
      if (AudioFailed(st)) return st;
    }
    paddingAfterWrite_ = written_;
    return kAudioOk;
  }

  // The side's calls answer "device gone": it is closed and looked for again.
  [[nodiscard]] bool CaptureGone(AudioStatus st) {
    if (st != kAudioDeviceGone) return false;
    LoseCapture();
    return true;
  }
  [[nodiscard]] bool RenderGone(AudioStatus st) {
    if (st != kAudioDeviceGone) return false;
    LoseRender(true);
    return true;
  }

  void LoseCapture() {
    ep_.CloseCapture();
    captureOpen_ = false;
    nextCaptureTry_ = ep_.Now() + int64_t{kReopenRetryMs} * kAudioTicksPerSecond / 1000;
    ep_.Trace(AudioTraceLine(AudioSide::kCapture, AudioEndpointEvent::kLost, captureInfo_));
    if (control_) control_->Reset();
  }

  // `gone`: its calls failed; else the default device changed and the new
  // one is tried at once.
  void LoseRender(bool gone) {
    ep_.CloseRender();
    renderOpen_ = false;
    nextRenderTry_ = gone ? ep_.Now() + int64_t{kReopenRetryMs} * kAudioTicksPerSecond / 1000 : 0;
    if (gone) ep_.Trace(AudioTraceLine(AudioSide::kRender, AudioEndpointEvent::kLost, renderInfo_));
    rest_.Clear();
    skip_ = 0;
    pendingCorrection_ = 0;
  }

  void CountReopen(AudioSide side, const AudioEndpointInfo& info) {
    shared_.UpdateDiagnosis([](AudioDiagnosis& d) { ++d.reopens; });
    ep_.Trace(AudioTraceLine(side, AudioEndpointEvent::kReopened, info));
  }

  void TryReopenCapture() {
    const int64_t retry = ep_.Now() + int64_t{kReopenRetryMs} * kAudioTicksPerSecond / 1000;
    AudioEndpointInfo info;
    AudioStreamFormat format;
    uint32_t frames = 0;
    AudioStatus st = ep_.OpenCapture(info, format, frames);
    if (!AudioFailed(st) && FrameBytes(format) == 0) st = kAudioBadFormat;
    if (!AudioFailed(st)) st = ep_.StartCapture();
    if (AudioFailed(st)) {
      ep_.CloseCapture();
      nextCaptureTry_ = retry;
      return;
    }
    captureOpen_ = true;
    captureInfo_ = info;
    RecordCapture(info);
    if (!(format == format_)) {
      // The playback side was set up for the old format.
      if (renderOpen_) LoseRender(false);
      UseFormat(format);
    }
    RecordCaptureBuffer(frames);
    if (control_) control_->Reset();
    CountReopen(AudioSide::kCapture, info);
  }

  void TryReopenRender() {
    const int64_t retry = ep_.Now() + int64_t{kReopenRetryMs} * kAudioTicksPerSecond / 1000;
    AudioEndpointInfo info;
    uint32_t frames = 0;
    AudioStatus st = ep_.OpenRender(info, frames);
    if (!AudioFailed(st)) {
      renderFrames_ = frames;
      control_.emplace(format_.sampleRate, true);
      room_ = renderFrames_;
      written_ = 0;
      st = WriteSilence(control_->TargetFrames(), true);
    }
    if (!AudioFailed(st)) st = ep_.StartRender();
    if (AudioFailed(st)) {
      ep_.CloseRender();
      nextRenderTry_ = retry;
      return;
    }
    renderOpen_ = true;
    renderInfo_ = info;
    RecordRender(info);
    RecordRenderBuffer();
    paddingAfterWrite_ = written_;
    playedSinceUpdate_ = 0;
    CountReopen(AudioSide::kRender, info);
  }

  AudioStatus DiscardCapture() {
    for (int i = 0; i < kMaxPacketsPerPass; ++i) {
      CapturePacket packet;
      AudioStatus st = ep_.NextPacket(packet);
      if (CaptureGone(st)) return kAudioOk;
      if (AudioFailed(st) || packet.frames == 0) return st;
      st = ep_.ReleasePacket(packet.frames);
      if (CaptureGone(st)) return kAudioOk;
      if (AudioFailed(st)) return st;
    }
    return kAudioOk;
  }

  // Silence into the free space.  `opening`: the side is not open yet, so
  // its failures are the caller's.
  AudioStatus WriteSilence(uint64_t frames, bool opening) {
    const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(frames, room_));
    if (n == 0) return kAudioOk;
    uint8_t* target = nullptr;
    AudioStatus st = ep_.RenderBuffer(n, target);
    if (!AudioFailed(st) && target == nullptr) st = kAudioFail;
    if (!AudioFailed(st)) {
      std::memset(target, 0, static_cast<size_t>(n) * frameBytes_);
      st = ep_.ReleaseRender(n);
    }
    if (AudioFailed(st)) return !opening && RenderGone(st) ? kAudioOk : st;
    room_ -= n;
    written_ += n;
    return kAudioOk;
  }

  AudioStatus WriteRemainder() {
    const uint32_t n = std::min(rest_.Frames(), room_);
    if (n == 0) return kAudioOk;
    uint8_t* target = nullptr;
    AudioStatus st = ep_.RenderBuffer(n, target);
    if (!AudioFailed(st) && target == nullptr) st = kAudioFail;
    if (!AudioFailed(st)) {
      std::memcpy(target, rest_.Data(), static_cast<size_t>(n) * frameBytes_);
      st = ep_.ReleaseRender(n);
    }
    if (AudioFailed(st)) return RenderGone(st) ? kAudioOk : st;
    rest_.Drop(n);
    room_ -= n;
    written_ += n;
    return kAudioOk;
  }

  // One packet straight into the render buffer where it fits (with a
  // pending single-frame correction), the rest into the remainder.  The
  // capture side is released first, then the render side.
  AudioStatus TakePacket(const CapturePacket& packet, bool opening) {
    const uint8_t* src = packet.data;
    const uint32_t skipped = static_cast<uint32_t>(std::min<uint64_t>(skip_, packet.frames));
    skip_ -= skipped;
    if (src != nullptr) src += static_cast<size_t>(skipped) * frameBytes_;
    const uint32_t n = packet.frames - skipped;

    int32_t correction = 0;
    if (pendingCorrection_ != 0 && rest_.Frames() == 0 && n >= 2 && n + 1 <= room_)
      correction = pendingCorrection_;
    const uint32_t keep = correction < 0 ? n - 1 : n;  // a drop leaves the packet's last frame out
    uint32_t direct = rest_.Frames() == 0 ? std::min(keep + (correction > 0 ? 1u : 0u), room_) : 0;
    uint8_t* target = nullptr;
    AudioStatus renderSt = kAudioOk;
    if (direct > 0) {
      renderSt = ep_.RenderBuffer(direct, target);
      if (!AudioFailed(renderSt) && target == nullptr) renderSt = kAudioFail;
      if (AudioFailed(renderSt)) direct = 0;
    }
    const uint32_t copied = std::min(direct, keep);
    const size_t copiedBytes = static_cast<size_t>(copied) * frameBytes_;
    if (copied > 0) {
      if (src != nullptr) {
        std::memcpy(target, src, copiedBytes);
      } else {
        std::memset(target, 0, copiedBytes);
      }
    }
    if (direct == keep + 1) {
      // A repeat: the packet's last frame once more.
      if (src != nullptr) {
        std::memcpy(target + copiedBytes, src + copiedBytes - frameBytes_, frameBytes_);
      } else {
        std::memset(target + copiedBytes, 0, frameBytes_);
      }
    }
    if (copied < keep) rest_.Append(src != nullptr ? src + copiedBytes : nullptr, keep - copied);
    if (correction != 0 && (correction < 0 || direct == keep + 1)) {
      pendingCorrection_ = 0;
      control_->CorrectionApplied();
      shared_.UpdateDiagnosis([](AudioDiagnosis& d) { ++d.corrections; });
    }

    const AudioStatus captureSt = ep_.ReleasePacket(packet.frames);
    if (direct > 0) {
      renderSt = ep_.ReleaseRender(direct);
      if (!AudioFailed(renderSt)) {
        room_ -= direct;
        written_ += direct;
      }
    }
    if (AudioFailed(captureSt) && (opening || !CaptureGone(captureSt))) return captureSt;
    if (AudioFailed(renderSt) && (opening || !RenderGone(renderSt))) return renderSt;
    return kAudioOk;
  }

  AudioStatus Pass() {
    uint32_t renderPadding = 0;
    uint32_t capturePadding = 0;
    AudioStatus st = ep_.RenderPadding(renderPadding);
    if (AudioFailed(st)) return RenderGone(st) ? kAudioOk : st;
    if (captureOpen_) {
      st = ep_.CapturePadding(capturePadding);
      if (AudioFailed(st) && !CaptureGone(st)) return st;
    }
    // Published when the pass ends, whichever way.
    struct Publish {
      PassThrough& loop;
      uint32_t capturePadding;
      uint32_t renderPadding;
      ~Publish() { loop.PublishPass(capturePadding, renderPadding); }
    } publish{*this, capturePadding, renderPadding};
    measured_ = false;
    playedSinceUpdate_ += paddingAfterWrite_ > renderPadding ? paddingAfterWrite_ - renderPadding : 0;
    // The render side ran dry: a glitch, whatever the delay says.
    if (renderPadding == 0 && paddingAfterWrite_ > 0) control_->Reset();
    room_ = renderFrames_ > renderPadding ? renderFrames_ - renderPadding : 0;
    written_ = 0;

    st = WriteRemainder();
    if (AudioFailed(st) || !renderOpen_) return st;
    int64_t newest = -1;
    uint32_t newestFrames = 0;
    for (int i = 0; captureOpen_ && i < kMaxPacketsPerPass; ++i) {
      CapturePacket packet;
      st = ep_.NextPacket(packet);
      if (AudioFailed(st)) {
        if (CaptureGone(st)) break;
        return st;
      }
      if (packet.frames == 0) break;
      if (packet.discontinuity) control_->Reset();
      newestFrames = packet.frames;
      newest = packet.captureTime < 0
                   ? -1
                   : packet.captureTime + static_cast<int64_t>(static_cast<double>(packet.frames - 1) *
                                                               kAudioTicksPerSecond / Rate());
      st = TakePacket(packet, false);
      if (AudioFailed(st) || !renderOpen_) return st;
    }
    paddingAfterWrite_ = renderPadding + written_;
    if (newestFrames > 0) {
      st = Steer(newest);
      if (AudioFailed(st)) return st;
    }
    return kAudioOk;
  }

  // Measures the delay after this pass's packets and applies the step.
  AudioStatus Steer(int64_t newest) {
    double age = -1;
    if (newest >= 0) age = static_cast<double>(ep_.Now() - newest) / kAudioTicksPerSecond;
    // No usable time stamp: the paddings alone.
    if (!(age >= 0 && age <= 1.0)) age = 0;
    const double queued =
        static_cast<double>(paddingAfterWrite_) + rest_.Frames() - static_cast<double>(skip_);
    const double delay = age + queued / Rate();
    const DriftStep step = control_->Update(delay, playedSinceUpdate_);
    playedSinceUpdate_ = 0;

    if (step.jumpFrames != 0) {
      shared_.UpdateDiagnosis([](AudioDiagnosis& d) { ++d.resyncs; });
      pendingCorrection_ = 0;
      skip_ = 0;
    }
    if (step.jumpFrames > 0) {
      const uint32_t before = written_;
      const AudioStatus st = WriteSilence(static_cast<uint64_t>(step.jumpFrames), false);
      if (AudioFailed(st) || !renderOpen_) return st;
      paddingAfterWrite_ += written_ - before;
    } else if (step.jumpFrames < 0) {
      const uint64_t excess = static_cast<uint64_t>(-step.jumpFrames);
      const uint32_t fromRest = static_cast<uint32_t>(std::min<uint64_t>(excess, rest_.Frames()));
      rest_.Drop(fromRest);
      skip_ = excess - fromRest;
    }
    if (step.frameCorrection != 0) pendingCorrection_ = step.frameCorrection;
    if (step.rateChanged && control_->RateAdjust()) {
      const AudioStatus st = ep_.SetRenderRate(Rate() * (1.0 + step.ratePpm * 1e-6));
      if (AudioFailed(st)) {
        if (RenderGone(st)) return kAudioOk;
        control_->UseFrameCorrections();
      }
    }
    measured_ = true;
    delayMs_ = delay * 1000.0;
    return kAudioOk;
  }

  void PublishPass(uint32_t capturePadding, uint32_t renderPadding) {
    shared_.UpdateBoth([&](AudioRecord& r, AudioDiagnosis& d) {
      r.capturePaddingBytes = Clamp32(uint64_t{capturePadding} * frameBytes_);
      r.renderPaddingBytes = Clamp32(uint64_t{renderPadding} * frameBytes_);
      if (!measured_) return;
      d.delayMs = delayMs_;
      d.ratePpm = control_->RatePpm();
      d.rateAdjust = control_->RateAdjust();
    });
  }

  AudioEndpoints& ep_;
  AudioShared& shared_;
  AudioStreamFormat format_;
  uint32_t frameBytes_ = 0;
  uint32_t renderFrames_ = 0;
  AudioEndpointInfo captureInfo_;
  AudioEndpointInfo renderInfo_;
  bool captureOpen_ = false;
  bool renderOpen_ = false;
  int64_t nextCaptureTry_ = 0;
  int64_t nextRenderTry_ = 0;
  Remainder rest_;
  std::optional<DriftController> control_;
  uint32_t room_ = 0;     // free render frames left in this pass
  uint32_t written_ = 0;  // frames written in this pass
  uint32_t paddingAfterWrite_ = 0;
  uint64_t playedSinceUpdate_ = 0;
  uint64_t skip_ = 0;  // incoming frames still to leave out (delay too long)
  int32_t pendingCorrection_ = 0;
  bool measured_ = false;  // this pass measured the delay
  double delayMs_ = 0;
};

}  // namespace

AudioStatus RunPassThrough(AudioEndpoints& endpoints, AudioShared& shared) {
  const AudioStatus st = PassThrough(endpoints, shared).Run();
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
