#pragma once
// A half-open pixel rectangle (left and top inside, right and bottom not).
#include <cstdint>

namespace overlap {

struct PixelRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  // Empty also when inverted.
  bool IsEmpty() const { return right <= left || bottom <= top; }
  int64_t Width() const { return int64_t{right} - left; }
  int64_t Height() const { return int64_t{bottom} - top; }
  bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

}  // namespace overlap
