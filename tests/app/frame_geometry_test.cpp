#include <gtest/gtest.h>

#include "app/video_fit.h"

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
