// Interim: the context and its stop path; the pass-through thread itself
// comes with the audio work.
#include "environment/audio_context.h"

#include <memory>

namespace environment {
namespace {
std::unique_ptr<AudioContext>& Slot() {
  static std::unique_ptr<AudioContext> context;
  return context;
}
}  // namespace

AudioContext* AudioContext::Get() {
  if (!Slot()) Slot() = std::make_unique<AudioContext>();
  return Slot().get();
}

void AudioContext::Free() { Slot().reset(); }

void StartAudioPassThrough(AudioContext&) {}
void StopAudioPassThrough(AudioContext&) {}

}  // namespace environment
