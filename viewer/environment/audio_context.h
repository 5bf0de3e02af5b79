#pragma once
// Process-wide state of the HDMI audio pass-through, shared by the session
// worker (which starts and stops it) and the pass-through thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>

#include "environment/audio_pass_through.h"

namespace environment {

class AudioContext {
 public:
  // Created empty on first call: no event, running 0.
  static AudioContext* Get();
  // Frees the process-wide context (the session's destructor); stops a
  // pass-through that still runs, as audio off does.
  static void Free();

  AudioContext() = default;
  ~AudioContext();
  AudioContext(const AudioContext&) = delete;
  AudioContext& operator=(const AudioContext&) = delete;

  int32_t Running() const { return shared_->running.load(std::memory_order_acquire); }
  // Worker thread: a pass-through was started and not yet stopped.
  bool HasFinishedEvent() const { return finished_ != nullptr; }
  // What the last pass-through found (diagnosis).
  AudioRecord Record() const { return shared_->Record(); }
  // How the path's delay is held, and the reopened endpoints.
  AudioDiagnosis Diagnosis() const { return shared_->Diagnosis(); }
  // Threads started over the context's life.
  uint32_t ThreadsStarted() const { return threadsStarted_.load(std::memory_order_acquire); }

  // Where the pass-through gets its endpoints; the platform's by default.
  void SetEndpointFactory(AudioEndpointFactory factory) { factory_ = std::move(factory); }
  // Test access: waits until the current thread has set its finished event,
  // without taking the signal away from the stop.
  bool WaitThreadEndedForTesting(std::chrono::milliseconds timeout);

 private:
  friend void StartAudioPassThrough(AudioContext&);
  friend void StopAudioPassThrough(AudioContext&);

  std::shared_ptr<AudioShared> shared_ = std::make_shared<AudioShared>();
  std::shared_ptr<FinishedEvent> finished_;
  std::thread thread_;
  AudioEndpointFactory factory_;
  std::atomic<uint32_t> threadsStarted_{0};
};

// Audio on: does nothing while a pass-through is already under way (the
// finished event exists).
void StartAudioPassThrough(AudioContext& context);
// Audio off: asks the thread to end and waits at most 2000 ms for it.
void StopAudioPassThrough(AudioContext& context);

}  // namespace environment
