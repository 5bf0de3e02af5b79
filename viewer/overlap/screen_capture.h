#pragma once
// Copies of screen areas as they appear on screen, other programs' windows
// included.
#include <memory>

#include "overlap/captured_image.h"
#include "overlap/pixel_rect.h"

namespace overlap {

class ScreenCapture {
 public:
  virtual ~ScreenCapture() = default;
  // The pixels of area (screen coordinates); null when no image can be made.
  virtual std::unique_ptr<CapturedImage> Capture(const PixelRect& area) = 0;
};

// Largest area the detector asks for; bigger ones give no image.
inline constexpr int64_t kMaxCaptureSide = 32768;
inline constexpr int64_t kMaxCaptureBytes = int64_t{1} << 30;

// Whether an area can be captured at all: not empty or inverted, and small
// enough for one bitmap.
bool CaptureAreaUsable(const PixelRect& area);

// Row length in bytes of a 24-bit bitmap (rows padded to four bytes).
inline constexpr int64_t Stride24(int64_t width) { return (width * 3 + 3) / 4 * 4; }

// The platform's screen. A native build has none (no image).
ScreenCapture& PlatformScreenCapture();

}  // namespace overlap
