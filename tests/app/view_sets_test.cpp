#include "app/view_sets.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using app::Row;
using app::ViewSlot;

views::DisplayLayout Display(int32_t w, int32_t h, int32_t angle = 0, uint32_t fullScreen = 0) {
  views::DisplayLayout l;
  l.displayWidth = w;
  l.displayHeight = h;
  l.displayOrientation = angle;
  l.fullScreen = fullScreen;
  return l;
}

// Records every window step as text; views can be made missing.
struct FakeSurface : app::ViewSurface {
  std::vector<std::string> log;
  std::set<ViewSlot> missing;
  std::map<ViewSlot, uint32_t> ids;
  std::map<ViewSlot, int> layouts;
  int32_t height = 1000;
  app::RowHeights rows{};
  int rowChanges = 0;

  static std::string Name(ViewSlot v) { return std::to_string(static_cast<int>(v)); }
  bool Exists(ViewSlot v) const override { return missing.count(v) == 0; }
  void SetLayout(ViewSlot v, const views::DisplayLayout&) override { ++layouts[v]; }
  void Activate(Row r, ViewSlot v) override {
    ids[v] = app::kFirstViewId;
    log.push_back("show " + std::to_string(static_cast<int>(r)) + ":" + Name(v));
  }
  void Hide(ViewSlot v, uint32_t id) override {
    ids[v] = id;
    log.push_back("hide " + Name(v));
  }
  void ShowCloseButton(ViewSlot, bool show) override { log.push_back(show ? "close on" : "close off"); }
  int32_t ClientHeight() const override { return height; }
  app::RowHeights CurrentRows() const override { return rows; }
  void SetRows(const app::RowHeights& r) override {
    rows = r;
    ++rowChanges;
  }
};

TEST(ViewSets, TableSharesPlayBlankAndAbnormalViews) {
  EXPECT_EQ((app::ViewSet{ViewSlot::Blank, ViewSlot::BlankController, ViewSlot::Caption}), app::ViewSetOf(1));
  EXPECT_EQ((app::ViewSet{ViewSlot::Play, ViewSlot::PlayController, ViewSlot::Caption}), app::ViewSetOf(2));
  EXPECT_EQ((app::ViewSet{ViewSlot::Play, ViewSlot::BlankController, ViewSlot::Caption}), app::ViewSetOf(3));
  EXPECT_EQ((app::ViewSet{ViewSlot::Error4, ViewSlot::ErrorController4, ViewSlot::Caption}),
            app::ViewSetOf(4));
  EXPECT_EQ((app::ViewSet{ViewSlot::Error10, ViewSlot::ErrorController10, ViewSlot::Caption}),
            app::ViewSetOf(10));
  for (int32_t kind : {0, -1, 11, 1000}) EXPECT_EQ(app::ViewSetOf(8), app::ViewSetOf(kind)) << kind;
  // Every one of the 19 views is in some set.
  std::set<ViewSlot> used;
  for (int32_t k = 1; k <= 10; ++k) {
    const auto s = app::ViewSetOf(k);
    used.insert({s.display, s.controller, s.caption});
  }
  EXPECT_EQ(static_cast<size_t>(app::kViewCount), used.size());
  EXPECT_EQ(10, app::HighestKindOf(ViewSlot::Caption));
  EXPECT_EQ(3, app::HighestKindOf(ViewSlot::Play));
  EXPECT_EQ(3, app::HighestKindOf(ViewSlot::BlankController));
  EXPECT_EQ(2, app::HighestKindOf(ViewSlot::PlayController));
  for (int32_t k = 0; k <= 10; ++k) EXPECT_TRUE(app::SwitchAllowed(0, k));
  EXPECT_FALSE(app::SwitchAllowed(2, 11));
  EXPECT_FALSE(app::SwitchAllowed(2, -1));
}

TEST(ViewSwitcher, HidesEveryViewUnderItsHighestKind) {
  FakeSurface s;
  s.missing.insert(ViewSlot::Error9);
  app::ViewSwitcher sw(s);
  sw.HideAll();
  EXPECT_EQ(static_cast<size_t>(app::kViewCount - 1), s.ids.size());
  EXPECT_EQ(0xE901u + 10, s.ids[ViewSlot::Caption]);
  EXPECT_EQ(0xE901u + 3, s.ids[ViewSlot::Play]);
  EXPECT_EQ(0xE901u + 4, s.ids[ViewSlot::ErrorController4]);
  EXPECT_EQ(0, sw.CurrentKind());
}

TEST(ViewSwitcher, SwitchOrderKeepsSharedViewsOnScreen) {
  FakeSurface s;
  app::ViewSwitcher sw(s);
  sw.HideAll();
  s.log.clear();
  ASSERT_TRUE(sw.Switch(2));
  // From the default set (kind 8's views): caption stays, display and controller change.
  EXPECT_EQ((std::vector<std::string>{"show 0:0", "show 1:2", "hide 7", "show 2:10", "hide 15", "close on"}),
            s.log);
  EXPECT_EQ(0xE901u + 0, s.ids[ViewSlot::Error8]);  // hidden under the old kind's id
  EXPECT_EQ(1, s.layouts[ViewSlot::Play]);
  EXPECT_EQ(1, s.layouts[ViewSlot::PlayController]);
  s.log.clear();
  // Play to PlayBarHidden: the picture is never hidden, the close button goes.
  ASSERT_TRUE(sw.Switch(3));
  EXPECT_EQ((std::vector<std::string>{"show 0:0", "show 1:2", "show 2:18", "hide 10", "close off"}), s.log);
  EXPECT_EQ(app::kFirstViewId, s.ids[ViewSlot::Play]);
  EXPECT_EQ(0xE901u + 2, s.ids[ViewSlot::PlayController]);
  s.log.clear();
  ASSERT_TRUE(sw.Switch(1));
  EXPECT_EQ((std::vector<std::string>{"show 0:0", "show 1:1", "hide 2", "show 2:18", "close off"}), s.log);
  s.log.clear();
  ASSERT_TRUE(sw.Switch(7));
  EXPECT_EQ("close on", s.log.back());
  EXPECT_EQ(7, sw.CurrentKind());
  // Outside the list: nothing happens.
  s.log.clear();
  EXPECT_FALSE(sw.Switch(11));
  EXPECT_TRUE(s.log.empty());
  EXPECT_EQ(7, sw.CurrentKind());
}

TEST(ViewSwitcher, MissingViewsAreSkipped) {
  FakeSurface s;
  s.missing = {ViewSlot::Play, ViewSlot::Caption};
  app::ViewSwitcher sw(s);
  ASSERT_TRUE(sw.Switch(2));
  EXPECT_EQ((std::vector<std::string>{"hide 7", "show 2:10", "hide 15"}), s.log);
  EXPECT_EQ(0, s.layouts[ViewSlot::Play]);
}

TEST(RowHeights, WindowedFullScreenAndShortClient) {
  // 3840 x 2560: design units are pixels.
  EXPECT_EQ((app::RowHeights{0, 800}), app::ComputeRowHeights(1000, Display(3840, 2560)));
  EXPECT_EQ((app::RowHeights{70, 730}), app::ComputeRowHeights(1000, Display(3840, 2560, 0, 1)));
  // 1920 x 1280: half.
  EXPECT_EQ((app::RowHeights{0, 900}), app::ComputeRowHeights(1000, Display(1920, 1280)));
  EXPECT_EQ((app::RowHeights{35, 865}), app::ComputeRowHeights(1000, Display(1920, 1280, 0, 1)));
  // Rotated: sides exchanged before scaling (1280 x 1920 turned is 1920 x 1280).
  EXPECT_EQ((app::RowHeights{35, 865}), app::ComputeRowHeights(1000, Display(1280, 1920, 90, 1)));
  EXPECT_EQ((app::RowHeights{35, 865}), app::ComputeRowHeights(1000, Display(1280, 1920, 270, 1)));
  // Short client: exactly the two bars still fits, one pixel less does not.
  EXPECT_EQ((app::RowHeights{35, 0}), app::ComputeRowHeights(135, Display(1920, 1280, 0, 1)));
  EXPECT_EQ((app::RowHeights{0, 134}), app::ComputeRowHeights(134, Display(1920, 1280, 0, 1)));
  EXPECT_FALSE(app::ComputeRowHeights(0, Display(1920, 1280)));
  EXPECT_FALSE(app::ComputeRowHeights(-5, Display(1920, 1280)));
  // No display yet: every scaled value is 0, the display row takes all.
  EXPECT_EQ((app::RowHeights{0, 600}), app::ComputeRowHeights(600, Display(0, 0, 0, 1)));
}

TEST(ViewSwitcher, RelayoutReachesAllViewsOnlyWhenTheDisplayChanged) {
  FakeSurface s;
  app::ViewSwitcher sw(s);
  ASSERT_TRUE(sw.Switch(2));
  s.layouts.clear();
  views::DisplayLayout l = Display(1920, 1280);
  sw.Relayout(l);  // display values changed: every view, rows set
  EXPECT_EQ(static_cast<size_t>(app::kViewCount), s.layouts.size());
  EXPECT_EQ(1, s.rowChanges);
  EXPECT_EQ((app::RowHeights{0, 900}), s.rows);
  s.layouts.clear();
  l.video = {1, 2, 3, 4};
  l.zoom = 2.0;
  l.fullScreen = 1;
  sw.Relayout(l);  // video, zoom and flags alone: the shown set only
  EXPECT_EQ(
      (std::map<ViewSlot, int>{{ViewSlot::Caption, 1}, {ViewSlot::Play, 1}, {ViewSlot::PlayController, 1}}),
      s.layouts);
  EXPECT_EQ(1, s.rowChanges);
  EXPECT_EQ(2.0, sw.Layout().zoom);
  // A change of the work area alone counts.
  s.layouts.clear();
  l.workArea = {0, 0, 1920, 1240};
  sw.Relayout(l);
  EXPECT_EQ(static_cast<size_t>(app::kViewCount), s.layouts.size());
  // Now full screen with a caption row: the rows change.
  EXPECT_EQ((app::RowHeights{35, 865}), s.rows);
  EXPECT_EQ(2, s.rowChanges);
  // A size change with the same heights sets nothing.
  sw.UpdateRows();
  EXPECT_EQ(2, s.rowChanges);
  s.height = 0;
  sw.UpdateRows();
  EXPECT_EQ(2, s.rowChanges);
}

}  // namespace
