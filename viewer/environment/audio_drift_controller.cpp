#include "environment/audio_drift_controller.h"

#include <algorithm>
#include <cmath>

namespace environment {
namespace {

constexpr double kGainPpmPerMs = 200.0;
constexpr double kIntegralPpmPerMsSecond = 10.0;
constexpr double kSmoothingSeconds = 0.2;
// Below this, a restart leaves the error to the loop instead of a jump.
constexpr double kJumpMinMs = 1.0;
// The rate is passed on only when it moved this much.
constexpr double kRateStepPpm = 0.5;

}  // namespace

DriftController::DriftController(uint32_t sampleRate, bool rateAdjust)
    : rate_(sampleRate > 0 ? sampleRate : 1), rateAdjust_(rateAdjust) {}

uint32_t DriftController::TargetFrames() const {
  return static_cast<uint32_t>(std::lround(kTargetMs * rate_ / 1000.0));
}

void DriftController::UseFrameCorrections() {
  rateAdjust_ = false;
  integral_ = std::clamp(integral_, -kMaxFramePpm, kMaxFramePpm);
  sentPpm_ = 0;
}

void DriftController::CorrectionApplied() {
  correctionOut_ = false;
  sinceCorrection_ = 0;
}

DriftStep DriftController::Restart(double delayMs) {
  resetPending_ = false;
  integral_ = 0;
  ratePpm_ = 0;
  owedFrames_ = 0;
  correctionOut_ = false;
  sinceCorrection_ = 0;
  DriftStep step;
  const double errorMs = delayMs - kTargetMs;
  if (std::fabs(errorMs) > kJumpMinMs) {
    step.jumpFrames = -std::llround(errorMs * rate_ / 1000.0);
    smoothedMs_ = kTargetMs;
  } else {
    smoothedMs_ = delayMs;
  }
  step.rateChanged = rateAdjust_ && sentPpm_ != 0;
  if (rateAdjust_) sentPpm_ = 0;
  return step;
}

DriftStep DriftController::Update(double delaySeconds, uint64_t playedFrames) {
  const double delayMs = delaySeconds * 1000.0;
  if (resetPending_ || !std::isfinite(delayMs)) return Restart(std::isfinite(delayMs) ? delayMs : kTargetMs);
  const double dt = static_cast<double>(playedFrames) / rate_;
  smoothedMs_ += (delayMs - smoothedMs_) * std::min(1.0, dt / kSmoothingSeconds);
  const double errorMs = smoothedMs_ - kTargetMs;
  if (std::fabs(errorMs) > 2 * kToleranceMs || std::fabs(delayMs - kTargetMs) > 4 * kToleranceMs)
    return Restart(delayMs);

  const double limit = rateAdjust_ ? kMaxRatePpm : kMaxFramePpm;
  const double proportional = kGainPpmPerMs * errorMs;
  const double integral = integral_ + kIntegralPpmPerMsSecond * errorMs * dt;
  // No integrating into a saturated output (wind-up would overshoot later).
  if (std::fabs(proportional + integral) <= limit || std::fabs(integral) < std::fabs(integral_))
    integral_ = std::clamp(integral, -limit, limit);
  ratePpm_ = std::clamp(proportional + integral_, -limit, limit);

  DriftStep step;
  step.ratePpm = ratePpm_;
  if (rateAdjust_) {
    step.rateChanged = std::fabs(ratePpm_ - sentPpm_) >= kRateStepPpm;
    if (step.rateChanged) sentPpm_ = ratePpm_;
    return step;
  }
  owedFrames_ = std::clamp(owedFrames_ + ratePpm_ * 1e-6 * static_cast<double>(playedFrames), -1.5, 1.5);
  sinceCorrection_ += playedFrames;
  if (!correctionOut_ && sinceCorrection_ >= kFrameSpacing) {
    if (owedFrames_ >= 1.0) {
      step.frameCorrection = -1;
      owedFrames_ -= 1.0;
    } else if (owedFrames_ <= -1.0) {
      step.frameCorrection = 1;
      owedFrames_ += 1.0;
    }
    correctionOut_ = step.frameCorrection != 0;
  }
  return step;
}

}  // namespace environment
