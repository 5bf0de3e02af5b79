#include <gtest/gtest.h>

#include "app/video_fit.h"
#include "app/window_placement.h"

namespace {

using app::Rect;

TEST(VideoFit, FillsTheLimitingDirectionAndCentresTheOther) {
  // Wider area than the picture: full height, centred across.
  EXPECT_EQ((Rect{10 + 216, 0, 10 + 216 + 1067, 600}), app::FitVideoRect({10, 0, 1510, 600}, 1920, 1080));
  // Taller area: full width, centred vertically.
  EXPECT_EQ((Rect{0, 20 + 240, 800, 20 + 240 + 450}), app::FitVideoRect({0, 20, 800, 950}, 1920, 1080));
  EXPECT_EQ((Rect{0, 0, 1920, 1080}), app::FitVideoRect({0, 0, 1920, 1080}, 1920, 1080));
}

TEST(VideoFit, ZeroInputGivesTheArea) {
  EXPECT_EQ((Rect{5, 6, 70, 80}), app::FitVideoRect({5, 6, 70, 80}, 0, 1080));
  EXPECT_EQ((Rect{5, 6, 70, 80}), app::FitVideoRect({5, 6, 70, 80}, 1920, 0));
}

TEST(VideoFit, PlacementIsRelativeToTheMonitor) {
  app::DisplayState d{1920, 1280, 270, {-1920, 100, 0, 1380}, {}};
  EXPECT_EQ((app::PlaneGeometry{1920, 1280, 270, 20, 50, 640, 360}),
            app::PlaneGeometryFor(d, Rect{-1900, 150, -1260, 510}));
}

TEST(VideoFit, RoundsOnBothAxes) {
  // Full width: hh = 1080 * 1001 / 1920 = 563.06; top (1000 - 563) >> 1 = 218; height 563.
  EXPECT_EQ((Rect{0, 218, 1001, 781}), app::FitVideoRect({0, 0, 1001, 1000}, 1920, 1080));
  // Full height: ww = 1920 * 541 / 1080 = 961.8; left (1000 - 961) >> 1 = 19; width 962.
  EXPECT_EQ((Rect{19, 0, 981, 541}), app::FitVideoRect({0, 0, 1000, 541}, 1920, 1080));
  // Equal ratios fill the height; negative screen coordinates keep the shift's rounding.
  EXPECT_EQ((Rect{-1920, 100, -960, 640}), app::FitVideoRect({-1920, 100, -960, 640}, 1920, 1080));
}

}  // namespace

namespace {

// A frame of 8 pixels each side and a 31-pixel title bar.
app::Size Framed(app::Size client) { return {client.width + 16, client.height + 39}; }

TEST(WindowPlacement, InputThatFitsKeepsOnePixelPerPixelAndIsCentred) {
  const Rect work{0, 0, 2560, 1400};
  const app::Size size = app::PlacementWindowSize(work, 1920, 1080, 100, Framed);
  EXPECT_EQ((app::Size{1936, 1219}), size);
  // x = trunc(1280 - (968 + 0.5)), y = 700 - trunc(609.5 + 0.5).
  EXPECT_EQ((app::Point{311, 90}), app::PlacementOrigin(work, size.width, size.height));
}

TEST(WindowPlacement, InputThatDoesNotFitShrinksThePictureOnly) {
  // aw = 3840 + 1920 - 3856 = 1904, ah = 1101; rx 0.4958 < ry: the height follows
  // the width, 2160 * 1904 / 3840 = 1071.
  const Rect work{0, 0, 1920, 1240};
  EXPECT_EQ((app::Size{1920, 1071 + 100 + 39}), app::PlacementWindowSize(work, 3840, 2160, 100, Framed));
  // A tall input limited by the height: ah = 1240 - 39 - 100 = 1101, aw = 1101 * 1000 / 4000 + 0.5 = 275.
  EXPECT_EQ((app::Size{275 + 16, 1240}), app::PlacementWindowSize(work, 1000, 4000, 100, Framed));
}

TEST(WindowPlacement, DegenerateInputAndWorkAreas) {
  const Rect work{0, 0, 1920, 1240};
  // No input yet: half the work area's width at 16:9.
  EXPECT_EQ((app::Size{960 + 16, 540 + 100 + 39}), app::PlacementWindowSize(work, 0, 0, 100, Framed));
  EXPECT_EQ((app::Size{960 + 16, 540 + 100 + 39}), app::PlacementWindowSize(work, 1920, -5, 100, Framed));
  // A work area smaller than the frame leaves a one-pixel picture, never a negative one.
  EXPECT_EQ((app::Size{17, 140}), app::PlacementWindowSize(Rect{0, 0, 10, 10}, 1920, 1080, 100, Framed));
  // The top never goes above the work area; the left may leave it.
  EXPECT_EQ((app::Point{-50, 100}), app::PlacementOrigin(Rect{0, 100, 1000, 600}, 1100, 900));
}

}  // namespace
