#include <gtest/gtest.h>

#include "overlap/overlap_compare.h"
#include "test_image.h"

using namespace overlap;  // the code under test

namespace {

uint32_t Compare(const TestImage& image, const PixelRect& exclusion = PixelRect{}) {
  return CompareWithKeyColour(image.View(), exclusion);
}

TEST(OverlapBands, SplitIntoQuartersWithTheRestInTheLast) {
  using B = ScanBand;
  EXPECT_EQ(SplitIntoBands(7), (std::array<B, 4>{B{0, 1}, B{1, 2}, B{2, 3}, B{3, 7}}));
  EXPECT_EQ(SplitIntoBands(8), (std::array<B, 4>{B{0, 2}, B{2, 4}, B{4, 6}, B{6, 8}}));
  EXPECT_EQ(SplitIntoBands(3), (std::array<B, 4>{B{0, 0}, B{0, 0}, B{0, 0}, B{0, 3}}));
  EXPECT_EQ(SplitIntoBands(0), (std::array<B, 4>{}));
}

TEST(OverlapBands, ExclusionIsTurnedIntoScanOrderAndClipped) {
  // Picture rows 0..1 of a 10-row image are scan rows 8..9.
  EXPECT_EQ(ToScanOrder(PixelRect{2, 0, 5, 2}, 20, 10), (PixelRect{2, 8, 5, 10}));
  EXPECT_EQ(ToScanOrder(PixelRect{-5, -5, 100, 100}, 20, 10), (PixelRect{0, 0, 20, 10}));
  EXPECT_TRUE(ToScanOrder(PixelRect{5, 5, 2, 8}, 20, 10).IsEmpty());
  EXPECT_TRUE(ToScanOrder(PixelRect{30, 0, 40, 5}, 20, 10).IsEmpty());
  EXPECT_TRUE(ToScanOrder(PixelRect{INT32_MIN, INT32_MIN, INT32_MIN + 1, 0}, 20, 10).IsEmpty());
}

TEST(OverlapCompare, KeyColouredAreasAreClear) {
  for (const auto& [w, h] : {std::pair{1, 1}, {3, 2}, {7, 7}, {641, 13}, {1920, 1080}}) {
    EXPECT_EQ(Compare(TestImage(w, h)), 0u) << w << "x" << h;  // padding bytes are not key
  }
}

TEST(OverlapCompare, OneDifferingPixelAnywhereIsTolerated) {
  const int32_t w = 37, h = 23;
  for (const auto& [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {18, 11}}) {
    TestImage image(w, h);
    image.MarkPicture(x, y);
    EXPECT_EQ(Compare(image), 0u) << x << "," << y;
  }
}

TEST(OverlapCompare, SecondDifferenceInsideTheSpotIsToleratedOutsideCovers) {
  // 40 rows: band 0 holds scan rows 0..9.
  struct Case {
    int32_t x, row;
    uint32_t expected;
  };
  const Case cases[] = {{14, 6, 0}, {10, 2, 0}, {11, 3, 0}, {14, 2, 0}, {15, 2, 1},
                        {10, 7, 1}, {9, 3, 1},  {9, 2, 0},  {30, 9, 1}, {0, 3, 1}};
  // (9, 2) comes first in its row and starts the spot itself.
  for (const Case& c : cases) {
    TestImage image(40, 40);
    image.MarkScan(10, 2);
    image.MarkScan(c.x, c.row);
    EXPECT_EQ(Compare(image), c.expected) << c.x << "," << c.row;
  }
}

TEST(OverlapCompare, EveryByteMustMatchExactly) {
  for (const auto& [r, g, b] : {std::tuple{1, 3, 0}, {0, 2, 0}, {0, 4, 0}, {0, 3, 1}}) {
    TestImage image(40, 40);
    image.SetScan(5, 1, static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
    image.SetScan(20, 1, static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
    EXPECT_EQ(Compare(image), 1u) << r << g << b;
  }
}

TEST(OverlapCompare, OneSpotPerBandIsTolerated) {
  TestImage image(50, 40);
  for (int32_t band = 0; band < 4; ++band) {
    // A whole 5 x 5 spot in each band.
    for (int32_t dx = 0; dx < 5; ++dx) {
      for (int32_t dy = 0; dy < 5; ++dy) image.MarkScan(3 + 10 * band + dx, band * 10 + 2 + dy);
    }
  }
  EXPECT_EQ(Compare(image), 0u);
  image.MarkScan(49, 39);  // a second one in the last band
  EXPECT_EQ(Compare(image), 1u);
}

TEST(OverlapCompare, DifferencesInTheExclusionNeverCount) {
  TestImage image(60, 40);
  // A covered block in the top rows of the picture (the last rows in memory).
  for (int32_t x = 10; x < 30; ++x) {
    for (int32_t y = 0; y < 5; ++y) image.MarkPicture(x, y);
  }
  EXPECT_EQ(Compare(image), 1u);
  EXPECT_EQ(Compare(image, PixelRect{10, 0, 30, 5}), 0u);
  EXPECT_EQ(Compare(image, PixelRect{5, -3, 35, 8}), 0u);
  // The same rectangle read as scan rows would miss the block.
  EXPECT_EQ(Compare(image, PixelRect{10, 35, 30, 40}), 1u);
  // One column short: the rest is a spot of width 1 and height 5, tolerated;
  // two columns short is not.
  EXPECT_EQ(Compare(image, PixelRect{10, 0, 29, 5}), 0u);
  EXPECT_EQ(Compare(image, PixelRect{11, 0, 28, 5}), 1u);
}

TEST(OverlapCompare, ExclusionAndSpotSkipTogether) {
  TestImage image(60, 40);
  image.MarkScan(5, 0);
  image.MarkScan(8, 1);   // inside the spot
  image.MarkScan(12, 1);  // inside the exclusion
  image.MarkScan(40, 2);
  const PixelRect exclusion{10, 40 - 2, 20, 40 - 1};  // scan row 1 only
  TestImage clean = image;
  EXPECT_EQ(Compare(image, exclusion), 1u);  // the one at 40 counts
  clean.SetScan(40, 2, 0, 3, 0);
  EXPECT_EQ(Compare(clean, exclusion), 0u);
  EXPECT_EQ(Compare(clean), 1u);  // without exclusion 12 counts
}

TEST(OverlapCompare, HeightSevenGivesBandsOfOneOneOneAndFour) {
  TestImage split(20, 7);
  split.MarkScan(0, 0);
  split.MarkScan(19, 1);
  split.MarkScan(0, 2);
  split.MarkScan(19, 3);
  EXPECT_EQ(Compare(split), 0u);  // one each in four bands
  TestImage last(20, 7);
  last.MarkScan(0, 3);
  last.MarkScan(19, 6);  // also in the four-row band
  EXPECT_EQ(Compare(last), 1u);
}

TEST(OverlapCompare, ImagesOfFewerThanFourRowsAreOneBand) {
  TestImage image(30, 3);
  image.MarkScan(0, 0);
  EXPECT_EQ(Compare(image), 0u);
  image.MarkScan(29, 2);
  EXPECT_EQ(Compare(image), 1u);
  TestImage line(30, 1);
  line.MarkScan(3, 0);
  line.MarkScan(7, 0);
  EXPECT_EQ(Compare(line), 0u);
  line.MarkScan(8, 0);
  EXPECT_EQ(Compare(line), 1u);
}

TEST(OverlapCompare, AllBandsCoveredStopsCleanly) {
  TestImage image(300, 200);
  for (int32_t row = 0; row < 200; ++row) {
    for (int32_t x = 0; x < 300; x += 7) image.MarkScan(x, row);
  }
  EXPECT_EQ(Compare(image), 1u);
}

}  // namespace
