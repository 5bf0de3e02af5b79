// The host build has no Core Audio: no capture endpoint is ever found, so
// the pass-through ends at once, as on a machine without the board's audio.
#include "environment/audio_endpoints.h"

namespace environment {
namespace {

class NoAudioEndpoints final : public AudioEndpoints {
 public:
  AudioStatus OpenCapture(AudioEndpointInfo&, AudioStreamFormat&, uint32_t&) override {
    return kAudioNotFound;
  }
  AudioStatus OpenRender(AudioEndpointInfo&, uint32_t&) override { return kAudioNotFound; }
  AudioStatus StartCapture() override { return kAudioFail; }
  AudioStatus StartRender() override { return kAudioFail; }
  BufferWait WaitForBuffer(uint32_t) override { return BufferWait::kFailed; }
  AudioStatus CapturePadding(uint32_t&) override { return kAudioFail; }
  AudioStatus RenderPadding(uint32_t&) override { return kAudioFail; }
  AudioStatus NextPacket(const uint8_t*&, uint32_t&) override { return kAudioFail; }
  AudioStatus ReleasePacket(uint32_t) override { return kAudioFail; }
  AudioStatus RenderBuffer(uint32_t, uint8_t*&) override { return kAudioFail; }
  AudioStatus ReleaseRender(uint32_t) override { return kAudioFail; }
  void StopStreams() override {}
};

}  // namespace

std::unique_ptr<AudioEndpoints> CreatePlatformAudioEndpoints() {
  return std::make_unique<NoAudioEndpoints>();
}

}  // namespace environment
