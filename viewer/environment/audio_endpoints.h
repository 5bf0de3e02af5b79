#pragma once
// The seam between the audio pass-through and the platform's audio stack:
// the board's line-level capture endpoint and the default playback endpoint,
// both shared mode with 1 s buffers in the capture endpoint's mix format.
// Statuses are COM results (negative is a failure).  One object serves one
// pass-through thread and is used on that thread only (the platform's device
// notifications reach it through TakeRenderChange and the buffer event); its
// destructor stops nothing, StopStreams does.  Either side can be closed and
// opened again while the other goes on.

#include <cstdint>
#include <memory>
#include <string>

namespace environment {

using AudioStatus = int32_t;
constexpr AudioStatus kAudioOk = 0;
constexpr AudioStatus kAudioFail = static_cast<AudioStatus>(0x80004005u);        // E_FAIL
constexpr AudioStatus kAudioNotFound = static_cast<AudioStatus>(0x80070490u);    // no such endpoint
constexpr AudioStatus kAudioBadFormat = static_cast<AudioStatus>(0x88890008u);   // format unusable
constexpr AudioStatus kAudioDeviceGone = static_cast<AudioStatus>(0x88890004u);  // device invalidated

inline bool AudioFailed(AudioStatus status) { return status < 0; }

// Form factor of a line-level endpoint, the one the board's HDMI audio has.
constexpr uint32_t kFormFactorLineLevel = 2;
// Longest description or friendly name kept.
constexpr size_t kEndpointTextMax = 256;
// Clock of capture times and Now(): 100-ns units.
constexpr int64_t kAudioTicksPerSecond = 10000000;

struct AudioEndpointInfo {
  uint32_t formFactor = 0;
  std::wstring description;
  std::wstring friendlyName;
};

struct AudioStreamFormat {
  uint32_t sampleRate = 0;
  uint32_t bitsPerSample = 0;
  uint32_t channels = 0;
  bool operator==(const AudioStreamFormat&) const = default;
};

struct CapturePacket {
  const uint8_t* data = nullptr;  // null: play as silence
  uint32_t frames = 0;            // 0: no packet waits (and none to release)
  bool discontinuity = false;     // frames were lost before this packet
  int64_t captureTime = -1;       // when its first frame was recorded (Now's clock); < 0 unknown
};

enum class BufferWait { kSignalled, kTimeout, kFailed };

class AudioEndpoints {
 public:
  virtual ~AudioEndpoints() = default;
  // Walks the active capture endpoints to the first line-level one (info
  // gets the form factor of each examined, then its texts) and opens it.
  virtual AudioStatus OpenCapture(AudioEndpointInfo& info, AudioStreamFormat& format,
                                  uint32_t& bufferFrames) = 0;
  // The default playback endpoint for the console role, event driven, in the
  // capture's format (a closest match is accepted), with rate adjustment
  // where the device offers it.
  virtual AudioStatus OpenRender(AudioEndpointInfo& info, uint32_t& bufferFrames) = 0;
  // Stop the side's stream and let it go.
  virtual void CloseCapture() = 0;
  virtual void CloseRender() = 0;
  virtual AudioStatus StartCapture() = 0;
  virtual AudioStatus StartRender() = 0;
  // The render endpoint's buffer event; device notifications set it too.
  virtual BufferWait WaitForBuffer(uint32_t timeoutMs) = 0;
  // True once after the default playback device changed or the open one
  // went away.
  virtual bool TakeRenderChange() = 0;
  virtual int64_t Now() = 0;
  virtual AudioStatus CapturePadding(uint32_t& frames) = 0;
  virtual AudioStatus RenderPadding(uint32_t& frames) = 0;
  virtual AudioStatus NextPacket(CapturePacket& packet) = 0;
  // The whole packet or 0 frames.
  virtual AudioStatus ReleasePacket(uint32_t frames) = 0;
  virtual AudioStatus RenderBuffer(uint32_t frames, uint8_t*& data) = 0;
  virtual AudioStatus ReleaseRender(uint32_t frames) = 0;
  // Frames per second the render stream consumes; fails where the stream
  // cannot adjust its rate.
  virtual AudioStatus SetRenderRate(double framesPerSecond) = 0;
  // One line for support people (debug output on Windows).
  virtual void Trace(const std::wstring& line) = 0;
  // Stops the streams that were started.
  virtual void StopStreams() = 0;
};

// The build's audio stack: Core Audio on Windows; natively the host offers
// no capture endpoint.
std::unique_ptr<AudioEndpoints> CreatePlatformAudioEndpoints();

}  // namespace environment
