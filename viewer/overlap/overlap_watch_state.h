#pragma once
// Smooths the detector's answers over screen changes: the first check after
// the plane was shown or hidden reports what was stored before the change.
#include <cstdint>

#include "overlap/overlap_detector.h"
#include "overlap/overlap_result.h"
#include "overlap/pixel_rect.h"

namespace overlap {

class OverlapWatchState {
 public:
  // The process-wide watch state (with the process-wide detector); null
  // when it cannot be created.
  static OverlapWatchState* Get();

  explicit OverlapWatchState(COverlapDetector& detector);

  // 1 while a Play screen is entered, 0 for any other screen.
  void SetPlaneShown(uint32_t value);
  // One check of captureArea (screen coordinates) with exclusion (image
  // coordinates) ignored: kOverlapClear, kOverlapCovered or kOverlapNoResult.
  uint32_t Check(const PixelRect& captureArea, const PixelRect& exclusion, bool asynchronous);

  uint32_t Changed() const { return changed_; }
  uint32_t PlaneShown() const { return planeShown_; }
  uint32_t LastResult() const { return lastResult_; }

 private:
  COverlapDetector& detector_;
  uint32_t changed_ = 0;
  uint32_t planeShown_ = 0;
  uint32_t lastResult_ = 0;
};

// The check a display view runs (on the window thread); clear when the
// watch state cannot be created.
uint32_t CheckOverlap(const PixelRect& captureArea, const PixelRect& exclusion, bool asynchronous);
// Sets plane shown on the process-wide watch state, creating it if needed.
void SetOverlapPlaneShown(uint32_t value);

}  // namespace overlap
