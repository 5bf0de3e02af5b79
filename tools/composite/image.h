// An 8-bit RGB picture and its binary PPM (P6) form, which ImageMagick reads
// and writes; PNG stays ImageMagick's business.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace composite {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row by row

  [[nodiscard]] static Image Filled(int width, int height, Rgb colour);
  [[nodiscard]] Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  void Set(int x, int y, Rgb c) { pixels[static_cast<size_t>(y) * width + x] = c; }
};

// nullopt with a reason in `error` for anything but a P6 file of maxval 255.
[[nodiscard]] std::optional<Image> ParsePpm(const std::string& bytes, std::string& error);
[[nodiscard]] std::string FormatPpm(const Image& image);

}  // namespace composite
