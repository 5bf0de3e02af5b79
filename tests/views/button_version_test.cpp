// The bitmap button's face choice and content rectangles; the About texts.
#include <gtest/gtest.h>

#include "views/layout/button_geometry.h"
#include "views/layout/version_text.h"

namespace views {
namespace {

TEST(ChooseFace, PressedBeforeFocusedBeforeDisabled) {
  EXPECT_EQ(ChooseFace(0, true, true, true), FaceRole::Normal);
  EXPECT_EQ(ChooseFace(kStateSelected | kStateFocus, true, true, true), FaceRole::Selected);
  EXPECT_EQ(ChooseFace(kStateFocus | kStateDisabled, true, true, true), FaceRole::Focused);
  EXPECT_EQ(ChooseFace(kStateDisabled, true, true, true), FaceRole::Disabled);
  // A face that is not loaded is passed over.
  EXPECT_EQ(ChooseFace(kStateSelected | kStateFocus, false, true, true), FaceRole::Focused);
  EXPECT_EQ(ChooseFace(kStateSelected | kStateDisabled, false, false, true), FaceRole::Disabled);
  EXPECT_EQ(ChooseFace(kStateSelected | kStateFocus | kStateDisabled, false, false, false), FaceRole::Normal);
}

DisplayLayout Display(int32_t w, int32_t h) {
  DisplayLayout l;
  l.displayWidth = w;
  l.displayHeight = h;
  return l;
}

TEST(IconAndTextRects, CentredGroupScaledByTheButtonsLayout) {
  const ButtonContent full = IconAndTextRects(Rect{0, 0, 400, 110}, 140, Display(3840, 2560));
  EXPECT_EQ(full.icon, (Rect{100, 30, 150, 80}));
  EXPECT_EQ(full.text, (Rect{160, 0, 400, 110}));
  const ButtonContent small = IconAndTextRects(Rect{0, 0, 200, 55}, 71, Display(1920, 1080));
  EXPECT_EQ(small.icon, (Rect{49, 15, 74, 40}));
  EXPECT_EQ(small.text, (Rect{79, 0, 200, 55}));
  // A caption wider than the button: the group starts left of it.
  EXPECT_EQ(IconAndTextRects(Rect{0, 0, 100, 50}, 300, Display(3840, 2560)).icon.left, -130);
}

TEST(TrimProductVersion, ByTheSetOfItsLastThreeCharacters) {
  EXPECT_EQ(TrimProductVersion(L"V1.00L11 M05"), L"V1.00L11 ");
  EXPECT_EQ(TrimProductVersion(L"50V2.1 M05"), L"V2.1 ");
  EXPECT_EQ(TrimProductVersion(L"abc"), L"");
  EXPECT_EQ(TrimProductVersion(L"ab"), L"");
  EXPECT_EQ(TrimProductVersion(L""), L"");
  EXPECT_EQ(OrPlaceholder(L"", L"-"), L"-");
  EXPECT_EQ(OrPlaceholder(L"1.0.515.5", L"-"), L"1.0.515.5");
}

}  // namespace
}  // namespace views
