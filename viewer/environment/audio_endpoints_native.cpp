// The host build has no Core Audio: no capture endpoint is ever found, so
// the pass-through ends at once, as on a machine without the board's audio.
#include <chrono>

#include "environment/audio_endpoints.h"

namespace environment {
namespace {

class NoAudioEndpoints final : public AudioEndpoints {
 public:
  AudioStatus OpenCapture(AudioEndpointInfo&, AudioStreamFormat&, uint32_t&) override {
    return kAudioNotFound;
  }
  AudioStatus OpenRender(AudioEndpointInfo&, uint32_t&) override { return kAudioNotFound; }
  void CloseCapture() override {}
  void CloseRender() override {}
  AudioStatus StartCapture() override { return kAudioFail; }
  AudioStatus StartRender() override { return kAudioFail; }
  BufferWait WaitForBuffer(uint32_t) override { return BufferWait::kFailed; }
  bool TakeRenderChange() override { return false; }
  int64_t Now() override {
    return std::chrono::duration_cast<std::chrono::duration<int64_t, std::ratio<1, kAudioTicksPerSecond>>>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  AudioStatus CapturePadding(uint32_t&) override { return kAudioFail; }
  AudioStatus RenderPadding(uint32_t&) override { return kAudioFail; }
  AudioStatus NextPacket(CapturePacket&) override { return kAudioFail; }
  AudioStatus ReleasePacket(uint32_t) override { return kAudioFail; }
  AudioStatus RenderBuffer(uint32_t, uint8_t*&) override { return kAudioFail; }
  AudioStatus ReleaseRender(uint32_t) override { return kAudioFail; }
  AudioStatus SetRenderRate(double) override { return kAudioFail; }
  void Trace(const std::wstring&) override {}
  void StopStreams() override {}
};

}  // namespace

std::unique_ptr<AudioEndpoints> CreatePlatformAudioEndpoints() {
  return std::make_unique<NoAudioEndpoints>();
}

}  // namespace environment
