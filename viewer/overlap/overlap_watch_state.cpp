#include "overlap/overlap_watch_state.h"

#include <new>

namespace overlap {

OverlapWatchState* OverlapWatchState::Get() {
  try {
    static OverlapWatchState state(COverlapDetector::Instance());
    return &state;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

OverlapWatchState::OverlapWatchState(COverlapDetector& detector) : detector_(detector) {}

void OverlapWatchState::SetPlaneShown(uint32_t value) {
  const uint32_t shown = value != 0 ? 1 : 0;
  changed_ = planeShown_ ^ shown;
  planeShown_ = shown;
}

uint32_t OverlapWatchState::Check(const PixelRect& captureArea, const PixelRect& exclusion,
                                  bool asynchronous) {
  if (!detector_.TryMarkBusy(1)) return kOverlapNoResult;
  const uint32_t result = detector_.StartCheck(captureArea, exclusion, asynchronous);
  const uint32_t reported = changed_ != 0 ? lastResult_ : result;
  lastResult_ = result;
  changed_ = 0;
  return reported != 0 ? kOverlapCovered : kOverlapClear;
}

uint32_t CheckOverlap(const PixelRect& captureArea, const PixelRect& exclusion, bool asynchronous) {
  OverlapWatchState* state = OverlapWatchState::Get();
  if (state == nullptr) return kOverlapClear;
  return state->Check(captureArea, exclusion, asynchronous);
}

void SetOverlapPlaneShown(uint32_t value) {
  OverlapWatchState* state = OverlapWatchState::Get();
  if (state != nullptr) state->SetPlaneShown(value);
}

}  // namespace overlap
