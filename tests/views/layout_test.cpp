// Design units to pixels, control placement and the order of a layout pass.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "views/layout/display_layout.h"
#include "views/layout/layout_item.h"

namespace views {
namespace {

DisplayLayout Display(int32_t width, int32_t height, int32_t orientation = 0) {
  DisplayLayout layout;
  layout.displayWidth = width;
  layout.displayHeight = height;
  layout.displayOrientation = orientation;
  return layout;
}

TEST(ScaleToDisplay, LargerRatioTruncated) {
  EXPECT_EQ(ScaleToDisplay(280, Display(1920, 1080)), 140);
  EXPECT_EQ(ScaleToDisplay(280, Display(2560, 1440)), 186);
  EXPECT_EQ(ScaleToDisplay(280, Display(3840, 2560)), 280);
  EXPECT_EQ(ScaleToDisplay(280, Display(1920, 1280)), 140);
  // Taller than the reference: the height ratio wins.
  EXPECT_EQ(ScaleToDisplay(100, Display(1000, 2560)), 100);
  EXPECT_EQ(ScaleToDisplay(-7, Display(1920, 1280)), -3);
}

TEST(ScaleToDisplay, RotationExchangesWidthAndHeight) {
  // A 3840 x 2560 panel turned to portrait reports a 2560 x 3840 mode.
  EXPECT_EQ(ScaleToDisplay(280, Display(2560, 3840, 90)), 280);
  EXPECT_EQ(ScaleToDisplay(280, Display(1280, 1920, 90)), 140);
  EXPECT_EQ(ScaleToDisplay(280, Display(2560, 3840, 270)), 280);
  // Not exchanged at 180: a portrait-shaped display keeps its own ratio.
  EXPECT_EQ(ScaleToDisplay(300, Display(2560, 3840, 180)), 450);
}

TEST(ScaleToDisplay, ZeroAndAbsurdDisplays) {
  EXPECT_EQ(ScaleToDisplay(280, Display(0, 0)), 0);
  EXPECT_EQ(ScaleToDisplay(280, Display(0, 0, 90)), 0);
  EXPECT_EQ(ScaleToDisplay(2000000000, Display(2000000000, 1)), INT32_MAX);
  EXPECT_EQ(ScaleToDisplay(-2000000000, Display(2000000000, 1)), INT32_MIN);
}

TEST(PlacementChanged, OnlyDisplayValuesAndRectanglesCount) {
  const DisplayLayout stored = Display(1920, 1280);
  DisplayLayout next = stored;
  next.video = Rect{1, 2, 3, 4};
  next.zoom = 2.5;
  next.zoomCentreX = 0.3;
  next.fullScreen = 1;
  next.tabletMode = 1;
  EXPECT_FALSE(PlacementChanged(stored, next));
  for (auto change : std::vector<void (*)(DisplayLayout&)>{
           [](DisplayLayout& l) { l.displayWidth = 1; }, [](DisplayLayout& l) { l.displayHeight = 1; },
           [](DisplayLayout& l) { l.displayThird = 1; }, [](DisplayLayout& l) { l.displayOrientation = 90; },
           [](DisplayLayout& l) { l.monitor.right = 5; }, [](DisplayLayout& l) { l.workArea.top = 5; }}) {
    DisplayLayout changed = stored;
    change(changed);
    EXPECT_TRUE(PlacementChanged(stored, changed));
  }
}

// A view's window as a layout pass sees it; records the calls.
class FakeSurface : public LayoutSurface {
 public:
  void FitToPaneFrame() override {
    calls.push_back("fit");
    client = pane;
  }
  Rect ClientRect() const override { return client; }
  Rect ControlRect(ControlRef control) const override { return rects.at(control); }
  void MoveControl(ControlRef control, const Rect& rect) override {
    calls.push_back("move");
    rects[control] = rect;
  }
  void SetControlFontHeight(ControlRef control, int32_t height) override {
    calls.push_back("font");
    fonts[control] = height;
  }
  Rect pane;
  Rect client;
  std::map<ControlRef, Rect> rects;
  std::map<ControlRef, int32_t> fonts;
  std::vector<std::string> calls;
};

int a, b, c;  // addresses stand for controls
ControlRef A = &a, B = &b, C = &c;

TEST(PlaceControl, ModesPerAxis) {
  const Rect client{0, 0, 1000, 200};
  const DisplayLayout half = Display(1920, 1280);
  LayoutItem item{.control = A,
                  .width = 400,
                  .height = 110,
                  .horizontalMode = kAlignRight,
                  .horizontalOffset = 60,
                  .verticalMode = kAlignVCentre};
  EXPECT_EQ(PlaceRect(item, client, nullptr, nullptr, half), (Rect{770, 72, 970, 127}));
  item.horizontalMode = kAlignHCentre;
  item.verticalMode = kAlignTop;
  item.verticalOffset = 20;
  EXPECT_EQ(PlaceRect(item, client, nullptr, nullptr, half), (Rect{400, 10, 600, 65}));
  item.horizontalMode = kAlignLeft;
  item.verticalMode = kAlignBottom;
  EXPECT_EQ(PlaceRect(item, client, nullptr, nullptr, half), (Rect{30, 135, 230, 190}));
  // Centring rounds toward zero, also when the control is wider than the view.
  item.horizontalMode = kAlignHCentre;
  item.width = 2003;
  EXPECT_EQ(PlaceRect(item, client, nullptr, nullptr, Display(3840, 2560)).left, -501);
}

TEST(PlaceControl, AnchorsAndUnknownModes) {
  const Rect client{0, 0, 1000, 200};
  const Rect anchor{500, 50, 700, 100};
  const DisplayLayout full = Display(3840, 2560);
  LayoutItem item{.control = B,
                  .width = 100,
                  .height = 30,
                  .horizontalMode = kAlignRight,
                  .horizontalOffset = 10,
                  .horizontalAnchor = A,
                  .verticalMode = kAlignTop,
                  .verticalOffset = 5,
                  .verticalAnchor = A};
  EXPECT_EQ(PlaceRect(item, client, &anchor, &anchor, full), (Rect{710, 15, 810, 45}));
  item.horizontalMode = kAlignLeft;
  item.verticalMode = kAlignBottom;
  EXPECT_EQ(PlaceRect(item, client, &anchor, &anchor, full), (Rect{390, 105, 490, 135}));
  item.horizontalMode = 3;
  item.verticalMode = -1;
  EXPECT_EQ(PlaceRect(item, client, &anchor, &anchor, full), (Rect{0, 0, 100, 30}));
}

TEST(Relayout, FitsFirstThenPlacesInOrderReadingAnchorsJustPlaced) {
  FakeSurface surface;
  surface.pane = Rect{0, 0, 1920, 100};
  surface.rects = {{A, Rect{}}, {B, Rect{}}, {C, Rect{}}};
  const std::vector<LayoutItem> items{{.control = A,
                                       .width = 400,
                                       .height = 110,
                                       .fontSize = 36,
                                       .horizontalMode = kAlignLeft,
                                       .horizontalOffset = 60,
                                       .verticalMode = kAlignVCentre},
                                      {.control = B,
                                       .width = 400,
                                       .height = 110,
                                       .horizontalMode = kAlignRight,
                                       .horizontalOffset = 60,
                                       .verticalMode = kAlignVCentre},
                                      {.control = C,
                                       .width = 300,
                                       .height = 129,
                                       .horizontalMode = kAlignLeft,
                                       .horizontalOffset = 40,
                                       .horizontalAnchor = B,
                                       .verticalMode = kAlignVCentre}};
  Relayout(items, surface, Display(1920, 1280));
  EXPECT_EQ(surface.calls, (std::vector<std::string>{"fit", "move", "font", "move", "move"}));
  EXPECT_EQ(surface.rects[A], (Rect{30, 22, 230, 77}));
  EXPECT_EQ(surface.fonts[A], 18);
  EXPECT_EQ(surface.rects[B], (Rect{1690, 22, 1890, 77}));
  EXPECT_EQ(surface.rects[C], (Rect{1520, 18, 1670, 82}));
}

TEST(Relayout, AllZeroDisplayCollapsesEveryControl) {
  FakeSurface surface;
  surface.pane = Rect{0, 0, 800, 300};
  surface.rects = {{A, Rect{}}, {B, Rect{}}};
  const std::vector<LayoutItem> items{{.control = A,
                                       .width = 400,
                                       .height = 110,
                                       .fontSize = 36,
                                       .horizontalMode = kAlignRight,
                                       .horizontalOffset = 60,
                                       .verticalMode = kAlignBottom,
                                       .verticalOffset = 9},
                                      {.control = B,
                                       .width = 40,
                                       .height = 40,
                                       .horizontalMode = kAlignHCentre,
                                       .horizontalAnchor = A,
                                       .verticalMode = kAlignVCentre}};
  Relayout(items, surface, DisplayLayout{});
  EXPECT_EQ(surface.rects[A], (Rect{800, 300, 800, 300}));
  EXPECT_EQ(surface.rects[B], (Rect{400, 150, 400, 150}));
  EXPECT_EQ(surface.fonts[A], 0);
}

}  // namespace
}  // namespace views
