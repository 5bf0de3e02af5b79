#include "image_files.h"

#include <stdexcept>

namespace pictures {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutInfoHeader(std::vector<uint8_t>& out, int width, int height, int bits, uint32_t imageSize) {
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bits));
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 3780);  // 96 dpi
  Put32(out, 3780);
  Put32(out, 0);
  Put32(out, 0);
}

uint32_t Stride(int width, int bits) { return ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4; }

}  // namespace

std::vector<uint8_t> EncodeBmp24(const Canvas& canvas) {
  const uint32_t stride = Stride(canvas.width(), 24);
  const uint32_t imageSize = stride * static_cast<uint32_t>(canvas.height());
  std::vector<uint8_t> out;
  out.reserve(54 + imageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + imageSize);
  Put32(out, 0);
  Put32(out, 54);
  PutInfoHeader(out, canvas.width(), canvas.height(), 24, imageSize);
  for (int y = canvas.height() - 1; y >= 0; --y) {
    const size_t rowStart = out.size();
    for (int x = 0; x < canvas.width(); ++x) {
      const uint32_t argb = canvas.Argb(x, y);
      const uint32_t a = argb >> 24;
      // On black: the straight colour times its alpha.
      out.push_back(static_cast<uint8_t>(((argb & 0xFF) * a + 127) / 255));
      out.push_back(static_cast<uint8_t>((((argb >> 8) & 0xFF) * a + 127) / 255));
      out.push_back(static_cast<uint8_t>((((argb >> 16) & 0xFF) * a + 127) / 255));
    }
    out.resize(rowStart + stride, 0);
  }
  return out;
}

std::vector<uint8_t> EncodeIco(const std::vector<Canvas>& images) {
  std::vector<std::vector<uint8_t>> entries;
  for (const Canvas& c : images) {
    if (c.width() != c.height() || c.width() < 1 || c.width() > 256) {
      throw std::invalid_argument("icon images must be square, 1 to 256 pixels");
    }
    const int n = c.width();
    const uint32_t maskStride = Stride(n, 1);
    std::vector<uint8_t> e;
    PutInfoHeader(e, n, 2 * n, 32, static_cast<uint32_t>(n * n * 4) + maskStride * static_cast<uint32_t>(n));
    for (int y = n - 1; y >= 0; --y) {
      for (int x = 0; x < n; ++x) {
        const uint32_t argb = c.Argb(x, y);
        Put32(e, argb);  // little endian: B, G, R, A
      }
    }
    // The mask marks what old renderers leave transparent.
    for (int y = n - 1; y >= 0; --y) {
      std::vector<uint8_t> row(maskStride, 0);
      for (int x = 0; x < n; ++x) {
        if ((c.Argb(x, y) >> 24) < 128)
          row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
      e.insert(e.end(), row.begin(), row.end());
    }
    entries.push_back(std::move(e));
  }
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(entries.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const int n = images[i].width();
    out.push_back(static_cast<uint8_t>(n == 256 ? 0 : n));
    out.push_back(static_cast<uint8_t>(n == 256 ? 0 : n));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<uint32_t>(entries[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(entries[i].size());
  }
  for (const auto& e : entries) out.insert(out.end(), e.begin(), e.end());
  return out;
}

}  // namespace pictures
