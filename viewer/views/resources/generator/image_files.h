#pragma once
// File formats the resource compiler takes: BMP for bitmaps, ICO for icons.

#include <cstdint>
#include <vector>

#include "raster.h"

namespace pictures {

// 24-bit bottom-up BMP (BITMAPINFOHEADER, BI_RGB); the picture is laid on black.
[[nodiscard]] std::vector<uint8_t> EncodeBmp24(const Canvas& canvas);

// ICO with one 32-bit entry (straight alpha plus the 1-bit mask) per image,
// in the given order; images must be square and 1 to 256 pixels.
[[nodiscard]] std::vector<uint8_t> EncodeIco(const std::vector<Canvas>& images);

}  // namespace pictures
