#include "overlap/screen_capture.h"

namespace overlap {

bool CaptureAreaUsable(const PixelRect& area) {
  if (area.IsEmpty()) return false;
  const int64_t width = area.Width();
  const int64_t height = area.Height();
  if (width > kMaxCaptureSide || height > kMaxCaptureSide) return false;
  return Stride24(width) * height <= kMaxCaptureBytes;
}

}  // namespace overlap
