// Where the screen's video rectangle lands on the panel, worked out by hand.
#include "capture/plane/plane_placement.h"

#include <gtest/gtest.h>

#include <limits>

namespace capture {
namespace {

PlaneState State(int32_t pw, int32_t ph, int32_t sw, int32_t sh, int32_t angle, PlaneRect placement) {
  PlaneState s = InitialPlaneState();
  s.planeWidth = pw;
  s.planeHeight = ph;
  s.screen = {sw, sh, 0};
  s.angle = angle;
  s.placement = placement;
  return s;
}

TEST(PlacementFor, ScreenOfZeroGivesAnEmptyRectangle) {
  EXPECT_EQ(PlacementFor(State(3840, 2560, 0, 0, 0, {10, 10, 100, 100})), (PlaneRect{0, 0, 0, 0}));
  EXPECT_EQ(PlacementFor(State(3840, 2560, 1920, 0, 0, {10, 10, 100, 100})), (PlaneRect{0, 0, 0, 0}));
  EXPECT_EQ(PlacementFor(State(3840, 2560, 0, 1080, 90, {10, 10, 100, 100})), (PlaneRect{0, 0, 0, 0}));
}

TEST(PlacementFor, SameModeAsThePanelPassesUnchanged) {
  EXPECT_EQ(PlacementFor(State(3840, 2560, 3840, 2560, 0, {12, 34, 560, 780})),
            (PlaneRect{12, 34, 560, 780}));
}

// Panel 3840 x 2560, mode 1920 x 1080: kx 20000 < ky 23703, s = 2,
// margins ox 0, oy (2560 - 2160) / 2 = 200.  Source (100, 50, 800, 450)
// scales to r = (200, 300, 1600, 900).
TEST(PlacementFor, Angle0ScalesByTheWidthAndCentresVertically) {
  EXPECT_EQ(PlacementFor(State(3840, 2560, 1920, 1080, 0, {100, 50, 800, 450})),
            (PlaneRect{200, 300, 1600, 900}));
}

// Same r, turned: (3840 - 200 - 1600, 2560 - 300 - 900, 1600, 900).
TEST(PlacementFor, Angle180MirrorsBothAxes) {
  EXPECT_EQ(PlacementFor(State(3840, 2560, 1920, 1080, 180, {100, 50, 800, 450})),
            (PlaneRect{2040, 1360, 1600, 900}));
}

// Portrait mode 1080 x 1920, swapped to 1920 x 1080: s = 2, margins
// (0, 200) swapped to ox 200, oy 0.  Source (100, 50, 400, 800):
// r = (100*2 + 0.5 + 200, 50*2 + 0.5, 800, 1600) = (400, 100, 800, 1600).
TEST(PlacementFor, Angle90TurnsIntoPanelCoordinates) {
  // (3840 - 100 - 1600, 400, 1600, 800)
  EXPECT_EQ(PlacementFor(State(3840, 2560, 1080, 1920, 90, {100, 50, 400, 800})),
            (PlaneRect{2140, 400, 1600, 800}));
}

TEST(PlacementFor, Angle270TurnsTheOtherWay) {
  // (100, 2560 - 400 - 800, 1600, 800)
  EXPECT_EQ(PlacementFor(State(3840, 2560, 1080, 1920, 270, {100, 50, 400, 800})),
            (PlaneRect{100, 1360, 1600, 800}));
}

TEST(PlacementFor, PortraitTabletAt270) {
  // s = 1: (0, 2560 - 0 - 2560, 1440, 2560).
  EXPECT_EQ(PlacementFor(State(3840, 2560, 2560, 3840, 270, {0, 0, 2560, 1440})),
            (PlaneRect{0, 0, 1440, 2560}));
}

TEST(PlacementFor, UnknownAngleIsNeitherSwappedNorTurned) {
  EXPECT_EQ(PlacementFor(State(3840, 2560, 1920, 1080, 45, {100, 50, 800, 450})),
            (PlaneRect{200, 300, 1600, 900}));
  // A portrait mode stays as given: 1024 x 2048 fits by the height.
  // kx 37500 > ky 12500: s = 2560 / 2048 = 1.25, ox = (3840 - 1280) / 2 = 1280.
  // (0 + 0.5 + 1280, 0 + 0.5, 1024 * 1.25, 2048 * 1.25) = (1280, 0, 1280, 2560).
  EXPECT_EQ(PlacementFor(State(3840, 2560, 1024, 2048, -90, {0, 0, 1024, 2048})),
            (PlaneRect{1280, 0, 1280, 2560}));
}

// Mode 1280 x 1024 on 3840 x 2560: kx 30000 > ky 25000, s = 2.5,
// ox = (3840 - 3200) / 2 = 320.  Source (10, 20, 101, 203):
// (trunc(25 + 0.5 + 320), trunc(50 + 0.5), trunc(252.5), trunc(507.5)).
TEST(PlacementFor, HeightRatioAndTruncation) {
  EXPECT_EQ(PlacementFor(State(3840, 2560, 1280, 1024, 0, {10, 20, 101, 203})),
            (PlaneRect{345, 50, 252, 507}));
}

// kx = 10000 / 3 = 3333 and ky = 27310000 / 8192 = 3333: a tie, so the
// height ratio 2731 / 8192 applies (the width ratio would give 2730).
TEST(PlacementFor, TiesTakeTheHeightRatio) {
  EXPECT_EQ(PlacementFor(State(1, 2731, 3, 8192, 0, {0, 0, 8192, 8192})), (PlaneRect{0, 0, 2731, 2731}));
}

TEST(PlacementFor, NonsenseSizesAreClampedNotOverflowed) {
  const int32_t big = std::numeric_limits<int32_t>::max();
  const PlaneRect r = PlacementFor(State(big, big, 1, 1, 90, {big, big, big, big}));
  EXPECT_EQ(r.width, big);
  EXPECT_EQ(r.height, big);
  const PlaneRect n = PlacementFor(State(3840, 2560, -1920, 1080, 180, {-5, -5, 10, 10}));
  (void)n;  // defined, whatever it is
}

}  // namespace
}  // namespace capture
