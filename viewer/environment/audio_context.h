#pragma once
// Process-wide state of the HDMI audio pass-through, shared by the session
// worker (which starts and stops it) and the pass-through thread.

namespace environment {

class AudioContext {
 public:
  // Created empty on first call.
  static AudioContext* Get();
  // Frees the process-wide context (the session's destructor).
  static void Free();

 private:
  friend void StartAudioPassThrough(AudioContext&);
  friend void StopAudioPassThrough(AudioContext&);
};

// Audio on: does nothing while a pass-through is already under way.
void StartAudioPassThrough(AudioContext& context);
// Audio off: asks the thread to end and waits at most 2000 ms for it.
void StopAudioPassThrough(AudioContext& context);

}  // namespace environment
