#pragma once
// Pixels of one screen capture: 24 bits per pixel in blue, green, red byte
// order, rows bottom-up in memory (the first row in memory is the bottom
// row of the picture).
#include <cstddef>
#include <cstdint>

namespace overlap {

struct ImageView {
  const uint8_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  size_t stride = 0;  // bytes from one row in memory to the next
  uint32_t bitsPerPixel = 0;
};

class CapturedImage {
 public:
  virtual ~CapturedImage() = default;
  virtual ImageView View() const = 0;
};

}  // namespace overlap
