#pragma once
// The viewer's bitmaps and program icon, drawn from their descriptions here.

#include <cstdint>
#include <vector>

#include "raster.h"

namespace pictures {

struct BitmapPicture {
  uint32_t id;       // resource id (bitmap_ids.h)
  const char* file;  // file name the build writes and the resource script names
  int width;
  int height;
  Canvas (*draw)();
};

// Every bitmap resource of the viewer, by id.
[[nodiscard]] const std::vector<BitmapPicture>& Bitmaps();

// The program icon at one size (square, transparent outside its tile).
[[nodiscard]] Canvas DrawProgramIcon(int size);
inline constexpr int kProgramIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
inline constexpr const char* kProgramIconFile = "tavrin.ico";

// Greys of the pictures, for the tests.
inline constexpr int kDisabledFaceGrey = 0x70;
inline constexpr int kGreyedIconGrey = 0xC0;  // the glyph of a greyed icon, on the disabled face's grey
inline constexpr int kMapGridGrey = 0x30;

}  // namespace pictures
