#include "environment/audio_context.h"

#include <system_error>

namespace environment {
namespace {

std::unique_ptr<AudioContext>& Slot() {
  static std::unique_ptr<AudioContext> context;
  return context;
}

constexpr std::chrono::milliseconds kStopWait{2000};

}  // namespace

AudioContext* AudioContext::Get() {
  if (!Slot()) Slot() = std::make_unique<AudioContext>();
  return Slot().get();
}

void AudioContext::Free() { Slot().reset(); }

AudioContext::~AudioContext() { StopAudioPassThrough(*this); }

bool AudioContext::WaitThreadEndedForTesting(std::chrono::milliseconds timeout) {
  return finished_ != nullptr && finished_->PeekFor(timeout);
}

void StartAudioPassThrough(AudioContext& context) {
  if (context.finished_) return;
  context.finished_ = std::make_shared<FinishedEvent>();
  context.shared_->running.store(1, std::memory_order_release);
  if (context.thread_.joinable()) context.thread_.detach();
  try {
    context.thread_ =
        std::thread(AudioPassThroughThread, context.shared_, context.finished_, context.factory_);
    context.threadsStarted_.fetch_add(1, std::memory_order_acq_rel);
  } catch (const std::system_error&) {
    // No thread: nothing will set the event, so the stop must not wait.
    context.shared_->running.store(0, std::memory_order_release);
    context.finished_->Set();
  }
}

void StopAudioPassThrough(AudioContext& context) {
  context.shared_->running.store(0, std::memory_order_release);
  if (!context.finished_) return;
  const bool ended = context.finished_->WaitFor(kStopWait);
  if (context.thread_.joinable()) {
    // A thread stuck in the audio stack keeps its own share of the state.
    if (ended) {
      context.thread_.join();
    } else {
      context.thread_.detach();
    }
  }
  context.finished_.reset();
}

}  // namespace environment
