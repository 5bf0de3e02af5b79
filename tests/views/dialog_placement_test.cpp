#include "views/layout/dialog_placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace views {
namespace {

const Rect kWork{0, 0, 1920, 1240};

TEST(DialogPlacement, CentredOverTheOwnerOrTheWorkAreaAndKeptInside) {
  EXPECT_EQ(CentredDialogOrigin({100, 100, 900, 700}, 400, 200, kWork), (Point{300, 300}));
  // No owner, or a minimised one: the work area's middle.
  EXPECT_EQ(CentredDialogOrigin({}, 400, 200, kWork), (Point{760, 520}));
  EXPECT_EQ(CentredDialogOrigin({-32000, -32000, -32000, -32000}, 400, 200, kWork), (Point{760, 520}));
  // An owner partly off the screen: pushed back in on that side only.
  EXPECT_EQ(CentredDialogOrigin({-600, 1000, 200, 1600}, 400, 200, kWork), (Point{0, 1040}));
  EXPECT_EQ(CentredDialogOrigin({1800, -300, 2400, 100}, 400, 200, kWork), (Point{1520, 0}));
  // Larger than the work area: its top-left corner stays visible.
  EXPECT_EQ(CentredDialogOrigin({0, 0, 1920, 1240}, 3000, 2000, kWork), (Point{0, 0}));
  // A work area that does not start at the origin (a second monitor).
  EXPECT_EQ(CentredDialogOrigin({}, 400, 200, {1920, 40, 3840, 1080}), (Point{2680, 460}));
  // An owner as large as the coordinates go: no overflow (its middle is
  // just above and left of the origin).
  EXPECT_EQ(CentredDialogOrigin({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 400, 200, kWork), (Point{0, 0}));
}

}  // namespace
}  // namespace views
