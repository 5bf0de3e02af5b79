#include "image.h"

#include <cctype>
#include <cstdlib>

namespace composite {
namespace {

// Header fields are separated by white space; '#' comments run to the end of the line.
bool NextNumber(const std::string& bytes, size_t& at, long& value) {
  for (;;) {
    while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
    if (at < bytes.size() && bytes[at] == '#') {
      while (at < bytes.size() && bytes[at] != '\n') ++at;
      continue;
    }
    break;
  }
  const size_t start = at;
  value = 0;
  while (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at])) && at - start < 6) {
    value = value * 10 + (bytes[at] - '0');
    ++at;
  }
  return at > start;
}

}  // namespace

Image Image::Filled(int width, int height, Rgb colour) {
  Image image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * height, colour);
  return image;
}

std::optional<Image> ParsePpm(const std::string& bytes, std::string& error) {
  if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') {
    error = "not a binary PPM (P6) picture";
    return std::nullopt;
  }
  size_t at = 2;
  long width = 0, height = 0, maxval = 0;
  if (!NextNumber(bytes, at, width) || !NextNumber(bytes, at, height) || !NextNumber(bytes, at, maxval) ||
      at >= bytes.size() || !std::isspace(static_cast<unsigned char>(bytes[at]))) {
    error = "bad PPM header";
    return std::nullopt;
  }
  ++at;
  if (width < 1 || height < 1 || width > 65535 || height > 65535 || maxval != 255) {
    error = "PPM size out of range or not 8 bits per channel";
    return std::nullopt;
  }
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (bytes.size() - at < count * 3) {
    error = "PPM picture cut short";
    return std::nullopt;
  }
  Image image = Image::Filled(static_cast<int>(width), static_cast<int>(height), {});
  for (size_t i = 0; i < count; ++i) {
    image.pixels[i] = {static_cast<uint8_t>(bytes[at + 3 * i]), static_cast<uint8_t>(bytes[at + 3 * i + 1]),
                       static_cast<uint8_t>(bytes[at + 3 * i + 2])};
  }
  return image;
}

std::string FormatPpm(const Image& image) {
  std::string out = "P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
  out.reserve(out.size() + image.pixels.size() * 3);
  for (const Rgb& p : image.pixels) {
    out.push_back(static_cast<char>(p.r));
    out.push_back(static_cast<char>(p.g));
    out.push_back(static_cast<char>(p.b));
  }
  return out;
}

}  // namespace composite
