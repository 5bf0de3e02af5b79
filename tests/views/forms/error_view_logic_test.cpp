// The message screens' content per kind and the error controller's buttons.
#include "views/error_view_logic.h"

#include <gtest/gtest.h>

namespace views {
namespace {

TEST(ErrorContent, EveryKindHasItsLinesButtonMessageAndCheckState) {
  struct Row {
    uint32_t kind;
    std::array<uint32_t, 4> lines;
    uint32_t button;
    ErrorButtonAction action;
    uint32_t check;
  };
  const Row rows[] = {
      {4, {161, 162, 163, 164}, 148, ErrorButtonAction::kResume, 0},
      {5, {149, 165, 166, 167}, 0, ErrorButtonAction::kNone, 2},
      {6, {132, 133, 134, 135}, 0, ErrorButtonAction::kNone, 0},
      {7, {136, 137, 138, 139}, 0, ErrorButtonAction::kNone, 1},
      {8, {140, 141, 142, 143}, 156, ErrorButtonAction::kClose, 0},
      {9, {144, 145, 146, 147}, 156, ErrorButtonAction::kClose, 0},
      {10, {157, 158, 159, 160}, 156, ErrorButtonAction::kClose, 0},
  };
  for (const Row& r : rows) {
    const ErrorViewContent c = ErrorContentOf(r.kind);
    EXPECT_TRUE(c.known) << r.kind;
    EXPECT_EQ(c.lines, r.lines) << r.kind;
    EXPECT_EQ(c.buttonCaption, r.button) << r.kind;
    EXPECT_EQ(c.HasButton(), r.button != 0) << r.kind;
    EXPECT_EQ(c.action, r.action) << r.kind;
    EXPECT_EQ(c.checkState, r.check) << r.kind;
  }
  // The messages the main window receives.
  EXPECT_EQ(static_cast<uint32_t>(ErrorButtonAction::kResume), 0x0401u);
  EXPECT_EQ(static_cast<uint32_t>(ErrorButtonAction::kClose), 0x0010u);
}

TEST(ErrorContent, KindsOutsideTheMessageScreensGiveNothing) {
  for (uint32_t kind : {0u, 1u, 2u, 3u, 11u, 0xFFFFFFFFu}) {
    const ErrorViewContent c = ErrorContentOf(kind);
    EXPECT_FALSE(c.known);
    EXPECT_FALSE(c.HasButton());
    EXPECT_EQ(c.action, ErrorButtonAction::kNone);
    EXPECT_EQ(c.lines, (std::array<uint32_t, 4>{}));
  }
}

TEST(ErrorController, NeverOffersToEnterFullScreen) {
  // Windowed: greyed, whether or not in tablet mode.
  for (bool tablet : {false, true}) {
    const FullScreenControls c = DecideErrorFullScreenControls(false, tablet);
    EXPECT_FALSE(c.fullScreenEnabled);
    EXPECT_FALSE(c.zoomControlsShown);
    EXPECT_EQ(c.fullScreenIcon, 336u);
    EXPECT_EQ(c.fullScreenCaption, kIdsFullScreen);
  }
  const FullScreenControls full = DecideErrorFullScreenControls(true, false);
  EXPECT_EQ(full, (FullScreenControls{true, true, 325u, kIdsNormalScreen}));
  // In tablet mode the tablet decides the window mode.
  EXPECT_FALSE(DecideErrorFullScreenControls(true, true).fullScreenEnabled);
  EXPECT_EQ(kErrorZoomOut, (ZoomOutControl{false, 328u}));
}

TEST(ErrorExclusion, UnionOfLinesAndTheShownButtonIgnoringEmptyRects) {
  const std::array<Rect, 4> lines{Rect{100, 40, 700, 70}, Rect{100, 75, 700, 105}, Rect{100, 110, 700, 140},
                                  Rect{100, 145, 700, 175}};
  EXPECT_EQ(ExclusionOf(lines, nullptr), (Rect{100, 40, 700, 175}));
  const Rect button{320, 195, 480, 225};
  EXPECT_EQ(ExclusionOf(lines, &button), (Rect{100, 40, 700, 225}));
  // Collapsed controls (a zero display) and no lines give an empty rectangle.
  const std::array<Rect, 4> collapsed{Rect{5, 5, 5, 5}, Rect{}, Rect{}, Rect{}};
  EXPECT_EQ(ExclusionOf(collapsed, nullptr), Rect{});
  EXPECT_EQ(ExclusionOf(collapsed, &button), button);
}

}  // namespace
}  // namespace views

#include "views/text_fit.h"

namespace views {
namespace {

TEST(TextFit, DesignWidthUnlessAWiderTextNeedsMore) {
  const int32_t short_[] = {100, 250};
  EXPECT_EQ(WidthToHold(600, short_, 20), 600);
  const int32_t wide[] = {300, 700, -5};
  EXPECT_EQ(WidthToHold(600, wide, 20), 700 + 35 + 20);
  // Nothing measured (no text, a failed measurement): the design width.
  EXPECT_EQ(WidthToHold(280, {}, 100), 280);
  const int32_t failed[] = {0, 0};
  EXPECT_EQ(WidthToHold(280, failed, 100), 280);
  // Absurd widths are bounded.
  const int32_t huge[] = {INT32_MAX};
  EXPECT_GT(WidthToHold(10, huge, INT32_MAX), 10);
}

}  // namespace
}  // namespace views
