// The crop of the picture and the zoom indicator on its map.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "views/layout/zoom_geometry.h"

namespace views {
namespace {

TEST(ComputeCropRect, WorkedExamples) {
  const Rect area{0, 0, 1000, 500};
  SizedRect crop;
  ASSERT_TRUE(ComputeCropRect(area, Point{500, 250}, 2.0, crop));
  EXPECT_EQ(crop, (SizedRect{960, 540, 1920, 1080}));
  ASSERT_TRUE(ComputeCropRect(area, Point{0, 0}, 2.0, crop));
  EXPECT_EQ(crop, (SizedRect{0, 0, 1920, 1080}));
  ASSERT_TRUE(ComputeCropRect(area, Point{1000, 500}, 2.0, crop));
  EXPECT_EQ(crop, (SizedRect{1920, 1080, 1920, 1080}));
  ASSERT_TRUE(ComputeCropRect(area, Point{500, 250}, 1.0, crop));
  EXPECT_EQ(crop, (SizedRect{0, 0, 3840, 2160}));
  ASSERT_TRUE(ComputeCropRect(area, Point{333, 100}, 3.0, crop));
  EXPECT_EQ(crop, (SizedRect{638, 72, 1280, 720}));
}

TEST(ComputeCropRect, NothingForZeroAreasAndSmallZoom) {
  const SizedRect untouched{1, 2, 3, 4};
  SizedRect crop = untouched;
  EXPECT_FALSE(ComputeCropRect(Rect{}, Point{1, 1}, 2.0, crop));
  EXPECT_FALSE(ComputeCropRect(Rect{0, 0, 1000, 500}, Point{1, 1}, 0.99, crop));
  EXPECT_FALSE(ComputeCropRect(Rect{0, 0, 1000, 500}, Point{1, 1}, std::nan(""), crop));
  // Empty but not all zero: no division by zero.
  EXPECT_FALSE(ComputeCropRect(Rect{5, 5, 5, 100}, Point{1, 1}, 2.0, crop));
  EXPECT_EQ(crop, untouched);
  // A zoom too large for a pixel still gives a defined crop.
  ASSERT_TRUE(
      ComputeCropRect(Rect{0, 0, 10, 10}, Point{5, 5}, std::numeric_limits<double>::infinity(), crop));
  EXPECT_EQ(crop, (SizedRect{1920, 1080, 0, 0}));
}

TEST(MapCropToArea, CropMappedIntoTheArea) {
  SizedRect out;
  ASSERT_TRUE(MapCropToArea(Rect{10, 20, 310, 149}, Point{150, 64}, 2.0, out));
  EXPECT_EQ(out, (SizedRect{85, 51, 150, 64}));
  const SizedRect kept{7, 7, 7, 7};
  out = kept;
  EXPECT_FALSE(MapCropToArea(Rect{}, Point{1, 1}, 2.0, out));
  EXPECT_FALSE(MapCropToArea(Rect{0, 0, 300, 129}, Point{1, 1}, 0.5, out));
  EXPECT_EQ(out, kept);
}

DisplayLayout Layout(int32_t width, int32_t height, double zoom, double fx = 0.5, double fy = 0.5) {
  DisplayLayout layout;
  layout.displayWidth = width;
  layout.displayHeight = height;
  layout.zoom = zoom;
  layout.zoomCentreX = fx;
  layout.zoomCentreY = fy;
  layout.video = Rect{100, 50, 1100, 550};
  return layout;
}

bool Inside(const SizedRect& r, const Rect& area) {
  return r.x >= area.left && r.y >= area.top && r.x + r.width <= area.right && r.y + r.height <= area.bottom;
}

TEST(ZoomIndicator, WholeMapAtZoomOneAndHalfCentredAtTwo) {
  const Rect client{0, 0, 314, 143};  // 300 x 129 map and a margin of 7
  ZoomIndicatorGeometry g;
  g.Reset(client, Layout(3840, 2560, 1.0));
  EXPECT_EQ(g.Indicator(), (SizedRect{7, 7, 300, 129}));
  g.Update(client, Layout(3840, 2560, 2.0));
  EXPECT_EQ(g.Indicator(), (SizedRect{82, 38, 150, 64}));
  EXPECT_EQ(ZoomIndicatorGeometry::MapArea(client, Layout(3840, 2560, 1)), (Rect{7, 7, 307, 136}));
  EXPECT_EQ(ZoomIndicatorGeometry::PenWidth(Layout(1920, 1280, 1)), 1);
  EXPECT_EQ(ZoomIndicatorGeometry::PenWidth(Layout(3840, 2560, 1)), 3);
}

TEST(ZoomIndicator, NeverLeavesTheMap) {
  const Rect client{0, 0, 160, 72};
  for (double zoom : {1.0, 1.5, 2.0, 3.7, 8.0, 10.0}) {
    for (double fx = -0.5; fx <= 1.5; fx += 0.125) {
      for (double fy = -0.5; fy <= 1.5; fy += 0.25) {
        const DisplayLayout layout = Layout(1920, 1280, zoom, fx, fy);
        ZoomIndicatorGeometry g;
        g.Update(client, layout);
        EXPECT_TRUE(Inside(g.Indicator(), ZoomIndicatorGeometry::MapArea(client, layout)))
            << zoom << " " << fx << " " << fy;
      }
    }
  }
  // A centre at the right edge touches the map's right edge.
  const DisplayLayout edge = Layout(3840, 2560, 2.0, 1.0, 0.5);
  ZoomIndicatorGeometry g;
  g.Update(Rect{0, 0, 314, 143}, edge);
  EXPECT_EQ(g.Indicator().x + g.Indicator().width, 307);
}

TEST(ZoomIndicator, ZoomBelowOneKeepsItAndNoVideoMeansTopLeft) {
  const Rect client{0, 0, 314, 143};
  ZoomIndicatorGeometry g;
  g.Update(client, Layout(3840, 2560, 2.0, 0.75, 0.75));
  const SizedRect before = g.Indicator();
  g.Update(client, Layout(3840, 2560, 0.5, 0.2, 0.2));
  EXPECT_EQ(g.Indicator(), before);
  g.Move(client, Layout(3840, 2560, 1.0), Point{20, 20}, 0.999);
  EXPECT_EQ(g.Indicator(), before);

  DisplayLayout none = Layout(3840, 2560, 2.0);
  none.video = Rect{};
  g.Update(client, none);
  EXPECT_EQ(g.Indicator(), (SizedRect{7, 7, 150, 64}));
  none.video = Rect{100, 100, 100, 400};  // empty, not all zero
  g.Update(client, none);
  EXPECT_EQ(g.Indicator(), (SizedRect{7, 7, 150, 64}));
}

TEST(ZoomIndicator, MagnifierSquare) {
  const DisplayLayout full = Layout(3840, 2560, 2.0);
  EXPECT_EQ(ZoomIndicatorGeometry::IconSquare(SizedRect{82, 39, 150, 64}, 75, full),
            (SizedRect{125, 39, 64, 64}));
  const DisplayLayout half = Layout(1920, 1280, 2.0);
  EXPECT_EQ(ZoomIndicatorGeometry::IconSquare(SizedRect{0, 0, 200, 100}, 75, half),
            (SizedRect{81, 31, 37, 37}));
}

}  // namespace
}  // namespace views
