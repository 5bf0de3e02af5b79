// The viewer's bitmaps and icon as drawn by the generator, and the two file
// formats it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "bitmap_ids.h"
#include "image_files.h"
#include "pictograms.h"

namespace pictures {
namespace {

uint32_t Rgb(const Canvas& c, int x, int y) { return c.Argb(x, y) & 0xFFFFFF; }
constexpr uint32_t kB = 0x000000, kW = 0xFFFFFF;
uint32_t GreyRgb(int v) { return static_cast<uint32_t>(v) * 0x010101u; }

const BitmapPicture& Find(uint32_t id) {
  for (const BitmapPicture& b : Bitmaps()) {
    if (b.id == id) return b;
  }
  ADD_FAILURE() << "no bitmap " << id;
  return Bitmaps().front();
}
Canvas Draw(uint32_t id) { return Find(id).draw(); }

uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}
uint32_t Read16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

TEST(Pictures, CatalogueHoldsEveryBitmapOnceAtItsSize) {
  const std::set<uint32_t> expected = {318, 319, 320, 321, 322, 323, 324, 325,
                                       326, 327, 328, 332, 333, 334, 335, 336};
  std::set<uint32_t> ids;
  std::set<std::string> files;
  for (const BitmapPicture& b : Bitmaps()) {
    ids.insert(b.id);
    files.insert(b.file);
    int w = 75, h = 75;
    if (b.id <= IDB_ZOOM_MAP_DISABLED) w = 300, h = 129;
    if (b.id >= IDB_FACE_DISABLED && b.id <= IDB_FACE_PRESSED) w = 400, h = 110;
    if (b.id >= IDB_CLOSE_NORMAL && b.id <= IDB_CLOSE_DISABLED) w = 45, h = 45;
    EXPECT_EQ(b.width, w) << b.id;
    EXPECT_EQ(b.height, h) << b.id;
    const Canvas c = b.draw();
    ASSERT_EQ(c.width(), w) << b.id;
    ASSERT_EQ(c.height(), h) << b.id;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(c.Argb(x, y) >> 24, 0xFFu) << b.id << " not opaque at " << x << "," << y;
    }
  }
  EXPECT_EQ(ids, expected);
  EXPECT_EQ(files.size(), Bitmaps().size());
}

TEST(Pictures, ButtonFacesShowTheirState) {
  const Canvas normal = Draw(IDB_FACE_NORMAL), pressed = Draw(IDB_FACE_PRESSED);
  const Canvas focused = Draw(IDB_FACE_FOCUSED), disabled = Draw(IDB_FACE_DISABLED);
  for (const Canvas* c : {&normal, &pressed, &focused, &disabled}) {
    EXPECT_EQ(Rgb(*c, 200, 1), kW);  // the white border
    EXPECT_EQ(Rgb(*c, 0, 0), kB);    // outside the rounded corner
  }
  EXPECT_EQ(Rgb(normal, 200, 55), kB);
  EXPECT_EQ(Rgb(normal, 200, 14), kB);
  EXPECT_EQ(Rgb(pressed, 200, 55), kW);
  EXPECT_EQ(Rgb(focused, 200, 55), kB);
  EXPECT_EQ(Rgb(focused, 200, 9), kB);   // between the two borders
  EXPECT_EQ(Rgb(focused, 200, 14), kW);  // the inner border
  EXPECT_EQ(Rgb(focused, 14, 55), kW);
  EXPECT_EQ(Rgb(disabled, 200, 55), GreyRgb(kDisabledFaceGrey));
}

TEST(Pictures, CloseFacesShowACrossInTheirState) {
  const Canvas normal = Draw(IDB_CLOSE_NORMAL), pressed = Draw(IDB_CLOSE_PRESSED);
  const Canvas focused = Draw(IDB_CLOSE_FOCUSED), disabled = Draw(IDB_CLOSE_DISABLED);
  EXPECT_EQ(Rgb(normal, 22, 22), kW);  // the cross's middle
  EXPECT_EQ(Rgb(normal, 22, 9), kB);
  EXPECT_EQ(Rgb(normal, 22, 0), kW);
  EXPECT_EQ(Rgb(pressed, 22, 22), kB);
  EXPECT_EQ(Rgb(pressed, 22, 9), kW);
  EXPECT_EQ(Rgb(focused, 22, 22), kW);
  EXPECT_EQ(Rgb(focused, 22, 3), kB);
  EXPECT_EQ(Rgb(focused, 22, 4), kW);  // the inner border
  EXPECT_EQ(Rgb(normal, 22, 4), kB);
  EXPECT_EQ(Rgb(disabled, 22, 22), GreyRgb(0xC0));
  EXPECT_EQ(Rgb(disabled, 22, 9), GreyRgb(kDisabledFaceGrey));
}

// Pixels between the paper and the ink: the smoothed edges.
int SoftPixels(const Canvas& c, int paper, int ink) {
  int n = 0;
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      const int v = static_cast<int>(Rgb(c, x, y) & 0xFF);
      if (v != paper && v != ink) ++n;
    }
  }
  return n;
}

TEST(Pictures, IconsAreAntiAliasedPictogramsOnBlackTheGreyedOnesOnTheDisabledFace) {
  for (uint32_t id : {324u, 325u, 326u, 327u, 328u, 336u}) {
    const bool greyed = id == 328u || id == 336u;
    const int paper = greyed ? kDisabledFaceGrey : 0, ink = greyed ? kGreyedIconGrey : 0xFF;
    const Canvas c = Draw(id);
    for (auto [x, y] : {std::pair{0, 0}, {74, 0}, {0, 74}, {74, 74}, {37, 3}, {3, 37}}) {
      EXPECT_EQ(Rgb(c, x, y), GreyRgb(paper)) << id << " at " << x << "," << y;
    }
    EXPECT_GT(SoftPixels(c, paper, ink), 40) << id << ": edges are not smoothed";
  }
  // A plus in the zoom-in lens, a minus in the zoom-out one.
  EXPECT_EQ(Rgb(Draw(IDB_ICON_ZOOM_IN), 31, 26), kW);
  EXPECT_EQ(Rgb(Draw(IDB_ICON_ZOOM_OUT), 31, 26), kB);
  EXPECT_EQ(Rgb(Draw(IDB_ICON_ZOOM_OUT), 31, 31), kW);
  // Out of the frame: the arrow's head at the top right; in: inside the frame.
  EXPECT_EQ(Rgb(Draw(IDB_ICON_FULL_SCREEN), 61, 14), kW);
  EXPECT_EQ(Rgb(Draw(IDB_ICON_FULL_SCREEN), 31, 30), kB);
  EXPECT_EQ(Rgb(Draw(IDB_ICON_NORMAL_SCREEN), 31, 30), kW);
  EXPECT_EQ(Rgb(Draw(IDB_ICON_NORMAL_SCREEN), 61, 30), kB);
}

// Black becomes the disabled face's grey, white the greyed ink, and the
// smoothed edges blend between them as they did between black and white.
TEST(Pictures, GreyedIconsAreTheirIconsInGrey) {
  for (auto [id, grey] : {std::pair{IDB_ICON_FULL_SCREEN, IDB_ICON_FULL_SCREEN_DISABLED},
                          {IDB_ICON_ZOOM_OUT, IDB_ICON_ZOOM_OUT_DISABLED}}) {
    const Canvas a = Draw(id), b = Draw(grey);
    for (int y = 0; y < 75; ++y) {
      for (int x = 0; x < 75; ++x) {
        const double coverage = (Rgb(a, x, y) & 0xFF) / 255.0;
        const int expected =
            static_cast<int>(kDisabledFaceGrey + coverage * (kGreyedIconGrey - kDisabledFaceGrey) + 0.5);
        ASSERT_LE(std::abs(static_cast<int>(Rgb(b, x, y) & 0xFF) - expected), 1)
            << grey << " at " << x << "," << y;
        ASSERT_EQ(Rgb(b, x, y), GreyRgb(static_cast<int>(Rgb(b, x, y) & 0xFF)));
      }
    }
  }
}

TEST(Pictures, ZoomMapsAreBlackTheEnabledOneWithThirds) {
  const Canvas on = Draw(IDB_ZOOM_MAP), off = Draw(IDB_ZOOM_MAP_DISABLED);
  int grid = 0;
  for (int y = 0; y < 129; ++y) {
    for (int x = 0; x < 300; ++x) {
      ASSERT_EQ(Rgb(off, x, y), kB);
      const uint32_t v = Rgb(on, x, y);
      ASSERT_TRUE(v == kB || v == GreyRgb(kMapGridGrey)) << x << "," << y;
      grid += v != kB;
    }
  }
  EXPECT_EQ(Rgb(on, 100, 10), GreyRgb(kMapGridGrey));
  EXPECT_EQ(Rgb(on, 10, 43), GreyRgb(kMapGridGrey));
  EXPECT_EQ(grid, 2 * 129 + 2 * 300 - 4);
}

TEST(Pictures, ProgramIconIsATileWithTransparentCorners) {
  for (int size : kProgramIconSizes) {
    const Canvas c = DrawProgramIcon(size);
    ASSERT_EQ(c.width(), size);
    EXPECT_EQ(c.Argb(0, 0) >> 24, 0u) << size;
    EXPECT_EQ(c.Argb(size - 1, size - 1) >> 24, 0u) << size;
    EXPECT_EQ(c.Argb(size / 2, size / 2) >> 24, 0xFFu) << size;
    // The screen's white outline crosses the middle column.
    bool white = false;
    for (int y = 0; y < size; ++y) white = white || (c.Argb(size / 2, y) & 0xFFFFFF) == kW;
    EXPECT_TRUE(white) << size;
  }
}

TEST(Pictures, DrawingIsReproducible) {
  for (const BitmapPicture& b : Bitmaps()) EXPECT_EQ(EncodeBmp24(b.draw()), EncodeBmp24(b.draw())) << b.id;
}

TEST(ImageFiles, Bmp24IsBottomUpWithPaddedRows) {
  Canvas c(3, 2);
  c.Clear(kBlack);
  c.Fill(RoundRect(0, 0, 1, 1, 0), Colour{1, 0, 0, 1});    // top-left red
  c.Fill(RoundRect(2, 1, 3, 2, 0), Colour{0, 0, 1, 0.5});  // bottom-right half blue
  const std::vector<uint8_t> f = EncodeBmp24(c);
  ASSERT_EQ(f.size(), 54u + 2 * 12);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(Read32(f, 2), f.size());
  EXPECT_EQ(Read32(f, 10), 54u);
  EXPECT_EQ(Read32(f, 14), 40u);
  EXPECT_EQ(Read32(f, 18), 3u);
  EXPECT_EQ(Read32(f, 22), 2u);  // positive: bottom-up
  EXPECT_EQ(Read16(f, 28), 24u);
  EXPECT_EQ(Read32(f, 30), 0u);
  EXPECT_EQ(Read32(f, 34), 24u);
  // First stored row is the bottom one: blue (laid on black) at x = 2.
  EXPECT_EQ(f[54 + 6], 0x80);
  EXPECT_EQ(f[54 + 7], 0);
  EXPECT_EQ(f[54 + 9], 0);  // padding
  // Second row is the top one: red at x = 0, B G R order.
  EXPECT_EQ(f[66 + 0], 0);
  EXPECT_EQ(f[66 + 2], 0xFF);
}

TEST(ImageFiles, IcoHoldsOneEntryPerSize) {
  std::vector<Canvas> images;
  for (int size : kProgramIconSizes) images.push_back(DrawProgramIcon(size));
  const std::vector<uint8_t> f = EncodeIco(images);
  EXPECT_EQ(Read16(f, 0), 0u);
  EXPECT_EQ(Read16(f, 2), 1u);
  ASSERT_EQ(Read16(f, 4), 7u);
  uint32_t next = 6 + 16 * 7;
  for (size_t i = 0; i < 7; ++i) {
    const size_t e = 6 + 16 * i;
    const uint32_t n = static_cast<uint32_t>(kProgramIconSizes[i]);
    EXPECT_EQ(f[e], n == 256 ? 0 : n);
    EXPECT_EQ(Read16(f, e + 6), 32u);
    const uint32_t bytes = Read32(f, e + 8), offset = Read32(f, e + 12);
    EXPECT_EQ(offset, next);
    EXPECT_EQ(bytes, 40 + n * n * 4 + ((n + 31) / 32) * 4 * n);
    EXPECT_EQ(Read32(f, offset + 4), n);
    EXPECT_EQ(Read32(f, offset + 8), 2 * n);  // colour and mask
    next = offset + bytes;
  }
  EXPECT_EQ(next, f.size());
  EXPECT_THROW((void)EncodeIco({Canvas(16, 8)}), std::invalid_argument);
  EXPECT_THROW((void)EncodeIco({Canvas(300, 300)}), std::invalid_argument);
}

}  // namespace
}  // namespace pictures
