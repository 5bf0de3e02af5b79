#pragma once
// Comparison of a captured image with the key colour. Rows are scanned in
// memory order, split into four bands that run in parallel; each band
// tolerates one stray spot (a differing pixel and whatever differs in the
// 5 x 5 box that starts there), a second difference outside it means the
// area is covered. There is no colour tolerance.
#include <array>
#include <atomic>
#include <cstdint>

#include "overlap/captured_image.h"
#include "overlap/pixel_rect.h"

namespace overlap {

// Scan rows [first, end) of one band.
struct ScanBand {
  int32_t first = 0;
  int32_t end = 0;
  friend bool operator==(const ScanBand&, const ScanBand&) = default;
};

// Four bands of height / 4 rows each; the last one also takes the rest.
std::array<ScanBand, 4> SplitIntoBands(int32_t height);

// A rectangle in picture coordinates (top row first), clipped to the image,
// in the scan coordinates of the bottom-up image.
PixelRect ToScanOrder(const PixelRect& picture, int32_t width, int32_t height);

// Compares the rows of one band; sets covered on a second difference and
// stops after any row once covered is set (by any band). keyRow holds
// width key-coloured pixels; exclusion is in scan coordinates.
void CompareBand(const ImageView& image, ScanBand band, const PixelRect& exclusion, const uint8_t* keyRow,
                 std::atomic<bool>& covered) noexcept;

// 1 when the image (24 bits per pixel) is covered, else 0. exclusion is in
// picture coordinates and is ignored.
uint32_t CompareWithKeyColour(const ImageView& image, const PixelRect& exclusion);

}  // namespace overlap
