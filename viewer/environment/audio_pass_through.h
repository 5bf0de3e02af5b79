#pragma once
// The copy loop of the audio pass-through: capture packets go unchanged to
// the playback endpoint, at a constant delay, until the running flag drops,
// a call fails or the render event stays silent for 2 s.  An endpoint that
// goes away (or a new default playback device) is opened again instead.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "environment/audio_endpoints.h"
#include "environment/audio_finished_event.h"

namespace environment {

// What the last pass-through found, for diagnosis.  Byte counts are
// frames x bits per sample / 8 x channels of the capture format.
struct AudioRecord {
  uint32_t captureFormFactor = 0;
  std::wstring captureDescription;
  std::wstring captureFriendlyName;
  uint32_t renderFormFactor = 0;
  std::wstring renderDescription;
  std::wstring renderFriendlyName;
  uint32_t captureBufferSeconds = 0;
  uint32_t renderBufferSeconds = 0;
  uint32_t captureBufferBytes = 0;
  uint32_t renderBufferBytes = 0;
  uint32_t capturePaddingBytes = 0;
  uint32_t renderPaddingBytes = 0;
};

// How the path's delay is held and what happened to the endpoints,
// counted over the context's life (diagnosis and tests).
struct AudioDiagnosis {
  double delayMs = 0;        // latest measured delay
  double ratePpm = 0;        // rate correction asked for (> 0: playback faster)
  uint64_t corrections = 0;  // single frames dropped or repeated
  uint32_t resyncs = 0;      // delay set back to the target in one step
  uint32_t reopens = 0;      // endpoints opened again after a change
  bool rateAdjust = false;   // the playback device adjusts its rate
};

// Owned jointly by the context and its thread, so that a thread that
// outlives the worker's 2000 ms wait never touches freed memory.
class AudioShared {
 public:
  std::atomic<int32_t> running{0};

  AudioDiagnosis Diagnosis() const {
    std::lock_guard guard(lock_);
    return diagnosis_;
  }
  // Both under one lock (once a pass).
  template <class F>
  void UpdateBoth(F change) {
    std::lock_guard guard(lock_);
    change(record_, diagnosis_);
  }
  template <class F>
  void UpdateDiagnosis(F change) {
    std::lock_guard guard(lock_);
    change(diagnosis_);
  }

  AudioRecord Record() const {
    std::lock_guard guard(lock_);
    return record_;
  }
  template <class F>
  void Update(F change) {
    std::lock_guard guard(lock_);
    change(record_);
  }

 private:
  mutable std::mutex lock_;
  AudioRecord record_;
  AudioDiagnosis diagnosis_;
};

using AudioEndpointFactory = std::function<std::unique_ptr<AudioEndpoints>()>;

constexpr uint32_t kBufferWaitMs = 2000;
// How often an endpoint that went away is looked for again.
constexpr uint32_t kReopenRetryMs = 250;

// Runs the pass-through on `endpoints` and stops its streams; the result is
// the status that ended it (kAudioOk for a stop or a silence).
AudioStatus RunPassThrough(AudioEndpoints& endpoints, AudioShared& shared);

// The thread body: builds the endpoints, runs, releases everything, and
// sets the finished event last, whatever happened.
void AudioPassThroughThread(std::shared_ptr<AudioShared> shared, std::shared_ptr<FinishedEvent> finished,
                            AudioEndpointFactory factory);

}  // namespace environment
