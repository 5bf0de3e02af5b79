#include <gtest/gtest.h>

#include <cmath>

#include "input/key_codes.h"
#include "input/pointer_keys.h"
#include "play_fakes.h"

using namespace input;  // the code under test
using play_test::PlayRig;

TEST(PointerWheel, OneNotchZoomsLikeTheSamePinchAboutThePointer) {
  PlayRig wheel({100, 100, 1100, 600}, 2.0, 0.4, 0.6);
  PointerKeys mouse(wheel.view);
  EXPECT_TRUE(mouse.OnWheel(300, 500, kWheelDelta));
  PlayRig pinch({100, 100, 1100, 600}, 2.0, 0.4, 0.6);
  pinch.view.OnPinchBegan({300, 500, 400});
  pinch.view.OnPinchChanged({300, 500, 500});
  ASSERT_EQ(wheel.frame.zooms.size(), 1u);
  EXPECT_DOUBLE_EQ(wheel.Last().zoom, 2.5);
  EXPECT_DOUBLE_EQ(wheel.Last().zoom, pinch.Last().zoom);
  EXPECT_NEAR(wheel.Last().centre->x, pinch.Last().centre->x, 1e-12);
  EXPECT_NEAR(wheel.Last().centre->y, pinch.Last().centre->y, 1e-12);
  EXPECT_EQ(wheel.Last().area, pinch.Last().area);
  // Back one notch: the same picture point under the pointer as before.
  EXPECT_TRUE(mouse.OnWheel(300, 500, -kWheelDelta));
  EXPECT_DOUBLE_EQ(wheel.Last().zoom, 2.0);
  EXPECT_NEAR(wheel.Last().centre->x, 0.4, 1e-12);
  EXPECT_NEAR(wheel.Last().centre->y, 0.6, 1e-12);
}

TEST(PointerWheel, ClampedStepsAndTouchpadFractions) {
  PlayRig rig({0, 0, 1000, 500});
  PointerKeys mouse(rig.view);
  // Out at the whole picture, or off the video: nothing asked.
  EXPECT_TRUE(mouse.OnWheel(500, 250, -kWheelDelta));
  EXPECT_FALSE(mouse.OnWheel(0, 250, kWheelDelta));
  EXPECT_FALSE(mouse.OnWheel(500, 600, kWheelDelta));
  EXPECT_TRUE(rig.frame.zooms.empty());
  EXPECT_TRUE(mouse.OnWheel(500, 250, kWheelDelta / 4));
  EXPECT_DOUBLE_EQ(rig.Last().zoom, std::pow(1.25, 0.25));
  EXPECT_TRUE(mouse.OnWheel(500, 250, 30 * kWheelDelta));
  EXPECT_EQ(rig.Last().zoom, 8.0);
  const size_t sent = rig.frame.zooms.size();
  EXPECT_TRUE(mouse.OnWheel(500, 250, kWheelDelta));
  EXPECT_EQ(rig.frame.zooms.size(), sent);
}

TEST(PointerDrag, PansLikeTheSameSlide) {
  PlayRig drag({0, 0, 1000, 500}, 3.0);
  PointerKeys mouse(drag.view);
  PlayRig slide({0, 0, 1000, 500}, 3.0);
  ASSERT_TRUE(mouse.OnLeftDown(500, 250));
  slide.view.OnSlideBegan({500, 250});
  EXPECT_EQ(drag.check.state, 1u);
  mouse.OnMouseMove(450, 300);
  slide.view.OnSlideChanged({450, 300});
  EXPECT_EQ(drag.check.state, 0u);
  mouse.OnMouseMove(-3000, 300);
  slide.view.OnSlideChanged({-3000, 300});
  mouse.OnLeftUp(-2900, 200);
  slide.view.OnSlideEnded({-2900, 200});
  EXPECT_EQ(drag.check.state, 1u);
  ASSERT_EQ(drag.frame.zooms.size(), slide.frame.zooms.size());
  for (size_t i = 0; i < drag.frame.zooms.size(); ++i) {
    EXPECT_DOUBLE_EQ(drag.frame.zooms[i].centre->x, slide.frame.zooms[i].centre->x) << i;
    EXPECT_DOUBLE_EQ(drag.frame.zooms[i].centre->y, slide.frame.zooms[i].centre->y) << i;
    EXPECT_EQ(drag.frame.zooms[i].zoom, 3.0);
  }
}

TEST(PointerDrag, ClickWithoutMoveAndWholePictureDoNothing) {
  PlayRig zoomed({0, 0, 1000, 500}, 2.0);
  PointerKeys mouse(zoomed.view);
  ASSERT_TRUE(mouse.OnLeftDown(500, 250));
  mouse.OnMouseMove(500, 250);
  mouse.OnLeftUp(500, 250);
  EXPECT_TRUE(zoomed.frame.zooms.empty());
  EXPECT_FALSE(mouse.Dragging());
  // A drag cut short by a lost capture leaves the flag clear.
  ASSERT_TRUE(mouse.OnLeftDown(500, 250));
  mouse.OnMouseMove(510, 250);
  mouse.OnCaptureLost();
  EXPECT_EQ(zoomed.check.state, 1u);
  mouse.OnMouseMove(600, 250);
  EXPECT_EQ(zoomed.frame.zooms.size(), 1u);

  PlayRig whole;
  PointerKeys mouse2(whole.view);
  EXPECT_FALSE(mouse2.OnLeftDown(500, 250));
  mouse2.OnMouseMove(600, 250);
  mouse2.OnLeftUp(600, 250);
  EXPECT_FALSE(mouse2.OnLeftDown(0, 0));
  EXPECT_TRUE(whole.frame.zooms.empty());
  // The double click keeps its meaning.
  EXPECT_TRUE(whole.view.OnDoubleClick(500, 250));
  EXPECT_EQ(whole.Last().zoom, 5.0);
}

TEST(PointerDrag, MouseFromTouchIsRecognised) {
  EXPECT_TRUE(IsMouseFromTouch(0xFF515700u));
  EXPECT_TRUE(IsMouseFromTouch(0xFF515781u));
  EXPECT_FALSE(IsMouseFromTouch(0));
  EXPECT_FALSE(IsMouseFromTouch(0xFF515600u));
}

TEST(Keys, Decisions) {
  const KeyModifiers none, ctrl{true, false, false}, alt{false, true, false}, shift{false, false, true};
  const KeyModifiers ctrlShift{true, false, true}, ctrlAlt{true, true, false};
  EXPECT_EQ(DecideKey(kKeyF11, none, false, false), KeyCommand::kToggleFullScreen);
  EXPECT_EQ(DecideKey(kKeyF11, none, false, true), KeyCommand::kToggleFullScreen);
  EXPECT_EQ(DecideKey(kKeyF11, none, true, true), KeyCommand::kNone);
  EXPECT_EQ(DecideKey(kKeyEscape, none, false, true), KeyCommand::kLeaveFullScreen);
  EXPECT_EQ(DecideKey(kKeyEscape, none, false, false), KeyCommand::kNone);
  EXPECT_EQ(DecideKey(kKeyOemPlus, ctrl, false, false), KeyCommand::kZoomIn);
  EXPECT_EQ(DecideKey(kKeyOemPlus, ctrlShift, true, false), KeyCommand::kZoomIn);
  EXPECT_EQ(DecideKey(kKeyAdd, ctrl, false, false), KeyCommand::kZoomIn);
  EXPECT_EQ(DecideKey(kKeyOemMinus, ctrl, false, false), KeyCommand::kZoomOut);
  EXPECT_EQ(DecideKey(kKeySubtract, ctrl, false, false), KeyCommand::kZoomOut);
  EXPECT_EQ(DecideKey(kKey0, ctrl, false, false), KeyCommand::kWholePicture);
  EXPECT_EQ(DecideKey(kKeyNumpad0, ctrl, false, false), KeyCommand::kWholePicture);
  // Without Ctrl the zoom keys are just keys; Alt keeps everything out.
  EXPECT_EQ(DecideKey(kKeyOemPlus, none, false, false), KeyCommand::kNone);
  EXPECT_EQ(DecideKey(kKey0, shift, false, false), KeyCommand::kNone);
  for (uint32_t key : {kKeyMenu, kKeySpace, kKeyF10, kKeyF11, kKeyOemPlus, kKey0}) {
    EXPECT_EQ(DecideKey(key, alt, false, true), KeyCommand::kNone) << key;
    EXPECT_EQ(DecideKey(key, ctrlAlt, false, true), KeyCommand::kNone) << key;
  }
  EXPECT_EQ(DecideKey(kKeyF10, none, false, false), KeyCommand::kNone);
  EXPECT_EQ(DecideKey(kKeyMenu, none, false, false), KeyCommand::kNone);
}

TEST(Keys, RequestsAsTheButtonsAndTheWheel) {
  PlayRig rig({0, 0, 1000, 500}, 2.0, 0.3, 0.7);
  PointerKeys keys(rig.view);
  const KeyModifiers ctrl{true, false, false};
  EXPECT_TRUE(keys.OnKey(kKeyOemPlus, ctrl, false));
  EXPECT_DOUBLE_EQ(rig.Last().zoom, 2.5);
  // About the middle: the centre stays (it was inside the new clamps).
  EXPECT_DOUBLE_EQ(rig.Last().centre->x, 0.3);
  EXPECT_DOUBLE_EQ(rig.Last().centre->y, 0.7);
  EXPECT_TRUE(keys.OnKey(kKeySubtract, ctrl, true));
  EXPECT_DOUBLE_EQ(rig.Last().zoom, 2.0);
  EXPECT_TRUE(keys.OnKey(kKey0, ctrl, false));
  EXPECT_FALSE(rig.Last().area.has_value());
  EXPECT_FALSE(rig.Last().centre.has_value());
  EXPECT_EQ(rig.Last().zoom, 1.0);
  const size_t sent = rig.frame.zooms.size();
  EXPECT_TRUE(keys.OnKey(kKeyOemMinus, ctrl, false));
  EXPECT_EQ(rig.frame.zooms.size(), sent);

  // F11 asks for full screen and the whole picture, as the button does.
  EXPECT_TRUE(keys.OnKey(kKeyF11, {}, false));
  EXPECT_EQ(rig.frame.modes, std::vector<int32_t>{1});
  EXPECT_EQ(rig.frame.zooms.size(), sent + 1);
  EXPECT_EQ(rig.Last().zoom, 1.0);
  input::ZoomLayout full = rig.view.Layout();
  full.fullScreen = true;
  rig.view.SetLayout(full);
  EXPECT_TRUE(keys.OnKey(kKeyF11, {}, false));
  EXPECT_TRUE(keys.OnKey(kKeyEscape, {}, false));
  EXPECT_EQ(rig.frame.modes, (std::vector<int32_t>{1, 0, 0}));
  EXPECT_FALSE(keys.OnKey(kKeyF10, {}, false));
  EXPECT_FALSE(keys.OnKey(kKeySpace, {false, true, false}, false));
  EXPECT_EQ(rig.frame.modes.size(), 3u);
}

TEST(PointerDrag, TouchAndDragTogetherClearTheFlagOnlyWhenBothEnded) {
  PlayRig rig({0, 0, 1000, 500}, 2.0);
  PointerKeys mouse(rig.view);
  const TouchPoint down{50000, 25000, kTouchDown}, up{50000, 25000, kTouchUp};
  ASSERT_TRUE(mouse.OnLeftDown(500, 250));
  mouse.OnMouseMove(520, 250);
  rig.view.Recognizers().Recognize(&down, 1);
  rig.view.Recognizers().Recognize(&up, 1);
  EXPECT_EQ(rig.check.state, 0u);  // the drag still runs
  mouse.OnLeftUp(520, 250);
  EXPECT_EQ(rig.check.state, 1u);
  // The other way round: a drag that ends while a finger is down.
  rig.view.Recognizers().Recognize(&down, 1);
  ASSERT_TRUE(mouse.OnLeftDown(500, 250));
  mouse.OnMouseMove(520, 250);
  mouse.OnLeftUp(520, 250);
  EXPECT_EQ(rig.check.state, 0u);
  rig.view.Recognizers().Recognize(&up, 1);
  EXPECT_EQ(rig.check.state, 1u);
}
