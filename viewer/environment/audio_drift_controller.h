#pragma once
// Keeps the delay of the audio path constant although the HDMI source's
// clock (capture) and the playback device's clock (render) differ by up to
// a few hundred ppm.  The board's delay-time property matches sound and
// picture only while this delay stays put.
//
// The delay measured is the latency a frame captured now would get: the age
// of the newest frame read from the capture side plus all that waits ahead
// of it (our remainder and the render padding).  It needs no packet-sized
// steps, unlike the sum of the paddings, so one pass is enough to measure.
//
// A PI loop turns the delay error into a rate correction in ppm; the render
// stream's sample rate applies it where the device can adjust its rate, else
// single frames are dropped or repeated.  Why these numbers:
// - target 30 ms: a frame needs one device period (10 ms) in the render
//   buffer plus up to one period waiting for the next render event; the
//   third period covers late events.
// - tolerance 5 ms: far below what anyone notices between lips and sound,
//   well above the jitter of one pass.
// - gains: the delay integrates the rate error (1 ppm = 1 us a second).
//   Kp 200 ppm/ms and Ki 10 ppm/(ms s) make the loop critically damped with
//   a 10 s time constant: a 300 ppm drift costs about 1 ms of error while it
//   is learnt, and a tenth of a millisecond of jitter moves the rate by
//   20 ppm, far too little to hear as pitch.  The delay is smoothed over
//   0.2 s first, well inside that time constant.
// - limits: 1000 ppm by rate (under 2 cents); single frames at least 2000
//   frames apart (42 ms at 48 kHz), i.e. up to 500 ppm.  100 ms apart would
//   allow only 208 ppm at 48 kHz, less than the drift seen in practice.
// - an error over twice the tolerance is no drift but a glitch, and so is a
//   reset (discontinuity, glitch, reopened endpoint): the delay goes back to
//   the target in one step, with silence or by skipping incoming frames.

#include <cstdint>

namespace environment {

struct DriftStep {
  int64_t jumpFrames = 0;       // > 0: write that much silence now; < 0: skip that many incoming frames
  int32_t frameCorrection = 0;  // +1 repeat one frame, -1 drop one, in the next write
  bool rateChanged = false;     // ratePpm differs from what the render side was given
  double ratePpm = 0;           // > 0: consume faster
};

class DriftController {
 public:
  static constexpr double kTargetMs = 30.0;
  static constexpr double kToleranceMs = 5.0;
  static constexpr double kMaxRatePpm = 1000.0;
  static constexpr double kMaxFramePpm = 500.0;
  static constexpr uint32_t kFrameSpacing = 2000;

  DriftController(uint32_t sampleRate, bool rateAdjust);

  // The next measurement starts over (discontinuity, glitch, new endpoint).
  void Reset() { resetPending_ = true; }
  // The render side refused a rate: single frames from now on.
  void UseFrameCorrections();
  // A correction handed out was written; the spacing counts from here.
  void CorrectionApplied();

  // One measured delay (seconds) after `playedFrames` left the render buffer.
  [[nodiscard]] DriftStep Update(double delaySeconds, uint64_t playedFrames);

  bool RateAdjust() const { return rateAdjust_; }
  double SmoothedDelayMs() const { return smoothedMs_; }
  double RatePpm() const { return ratePpm_; }
  uint32_t TargetFrames() const;

 private:
  DriftStep Restart(double delayMs);

  double rate_;
  bool rateAdjust_;
  bool resetPending_ = true;
  double smoothedMs_ = 0;
  double integral_ = 0;  // ppm
  double ratePpm_ = 0;
  double sentPpm_ = 0;
  double owedFrames_ = 0;  // fractional frames the frame corrections still owe
  uint64_t sinceCorrection_ = 0;
  bool correctionOut_ = false;
};

}  // namespace environment
