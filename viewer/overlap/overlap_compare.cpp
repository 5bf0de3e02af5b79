#include "overlap/overlap_compare.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include "overlap/key_colour.h"

namespace overlap {

namespace {

constexpr size_t kBytesPerPixel = 3;
constexpr int32_t kSpotSize = 5;

bool IsKeyPixel(const uint8_t* pixel) {
  return pixel[0] == kKeyBlue && pixel[1] == kKeyGreen && pixel[2] == kKeyRed;
}

int32_t ClampTo(int64_t value, int32_t low, int32_t high) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, low, high));
}

// A parallel loop over the bands: this thread and up to three helpers take
// the next unclaimed band until none is left, so a busy machine that is
// slow to schedule the helpers leaves their bands to the threads that run.
template <typename Work>
void RunBands(const std::array<ScanBand, 4>& bands, const Work& work) {
  std::atomic<size_t> next{0};
  const auto claimBands = [&] {
    for (size_t i = next.fetch_add(1); i < bands.size(); i = next.fetch_add(1)) {
      if (bands[i].first < bands[i].end) work(bands[i]);
    }
  };
  size_t nonEmpty = 0;
  for (const ScanBand& band : bands) nonEmpty += band.first < band.end ? 1 : 0;
  std::array<std::thread, 3> helpers;
  for (size_t i = 0; i + 1 < nonEmpty; ++i) {
    try {
      helpers[i] = std::thread(claimBands);
    } catch (const std::system_error&) {
      break;  // the threads that run take the remaining bands
    }
  }
  claimBands();
  for (std::thread& helper : helpers) {
    if (helper.joinable()) helper.join();
  }
}

}  // namespace

std::array<ScanBand, 4> SplitIntoBands(int32_t height) {
  const int32_t rows = std::max(height, 0);
  const int32_t quarter = rows / 4;
  return {{{0, quarter}, {quarter, 2 * quarter}, {2 * quarter, 3 * quarter}, {3 * quarter, rows}}};
}

PixelRect ToScanOrder(const PixelRect& picture, int32_t width, int32_t height) {
  const int32_t left = ClampTo(picture.left, 0, width);
  const int32_t right = ClampTo(picture.right, 0, width);
  const int32_t top = ClampTo(picture.top, 0, height);
  const int32_t bottom = ClampTo(picture.bottom, 0, height);
  if (right <= left || bottom <= top) return PixelRect{};
  // Picture row y is scan row height - 1 - y.
  return PixelRect{left, height - bottom, right, height - top};
}

void CompareBand(const ImageView& image, ScanBand band, const PixelRect& exclusion, const uint8_t* keyRow,
                 std::atomic<bool>& covered) noexcept {
  const int32_t width = image.width;
  const bool hasExclusion = !exclusion.IsEmpty();
  bool hasSpot = false;
  PixelRect spot;
  for (int32_t row = band.first; row < band.end; ++row) {
    const uint8_t* pixels = image.bits + static_cast<size_t>(row) * image.stride;
    const bool excludedRow = hasExclusion && row >= exclusion.top && row < exclusion.bottom;
    int32_t x = 0;
    while (x < width) {
      const bool spotRow = hasSpot && row >= spot.top && row < spot.bottom;
      if (excludedRow && x >= exclusion.left && x < exclusion.right) {
        x = exclusion.right;
        continue;
      }
      if (spotRow && x >= spot.left && x < spot.right) {
        x = spot.right;
        continue;
      }
      // The stretch up to the next skipped area: one memcmp when clean.
      int32_t end = width;
      if (excludedRow && exclusion.left > x) end = std::min(end, exclusion.left);
      if (spotRow && spot.left > x) end = std::min(end, spot.left);
      const size_t offset = static_cast<size_t>(x) * kBytesPerPixel;
      const size_t length = static_cast<size_t>(end - x) * kBytesPerPixel;
      if (std::memcmp(pixels + offset, keyRow + offset, length) == 0) {
        x = end;
        continue;
      }
      int32_t mismatch = x;
      while (IsKeyPixel(pixels + static_cast<size_t>(mismatch) * kBytesPerPixel)) ++mismatch;
      if (!hasSpot) {
        hasSpot = true;
        spot = PixelRect{mismatch, row, mismatch + kSpotSize, row + kSpotSize};
        x = mismatch;
        continue;
      }
      covered.store(true, std::memory_order_relaxed);
      break;
    }
    if (covered.load(std::memory_order_relaxed)) return;
  }
}

uint32_t CompareWithKeyColour(const ImageView& image, const PixelRect& exclusion) {
  if (image.bits == nullptr || image.bitsPerPixel != 24 || image.width <= 0 || image.height <= 0) {
    return 0;
  }
  const PixelRect scanExclusion = ToScanOrder(exclusion, image.width, image.height);
  std::vector<uint8_t> keyRow(static_cast<size_t>(image.width) * kBytesPerPixel);
  for (size_t i = 0; i < keyRow.size(); i += kBytesPerPixel) {
    keyRow[i] = kKeyBlue;
    keyRow[i + 1] = kKeyGreen;
    keyRow[i + 2] = kKeyRed;
  }
  std::atomic<bool> covered{false};
  RunBands(SplitIntoBands(image.height),
           [&](ScanBand band) { CompareBand(image, band, scanExclusion, keyRow.data(), covered); });
  return covered.load() ? 1u : 0u;
}

}  // namespace overlap
