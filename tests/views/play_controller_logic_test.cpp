#include <gtest/gtest.h>

#include "input/play_fakes.h"
#include "views/play_controller_logic.h"

using namespace views;  // the code under test

TEST(PlayController, ControlsPerWindowMode) {
  // Windowed: zoom controls hidden, enter-full-screen icon, "Full screen".
  EXPECT_EQ(DecideFullScreenControls(false, false),
            (FullScreenControls{false, true, kIconEnterFullScreen, kIdsFullScreen}));
  EXPECT_EQ(DecideFullScreenControls(true, false),
            (FullScreenControls{true, true, kIconLeaveFullScreen, kIdsNormalScreen}));
  // Tablet mode: the button is disabled, greyed when windowed.
  EXPECT_EQ(DecideFullScreenControls(false, true),
            (FullScreenControls{false, false, kIconEnterFullScreenGrey, kIdsFullScreen}));
  EXPECT_EQ(DecideFullScreenControls(true, true),
            (FullScreenControls{true, false, kIconLeaveFullScreen, kIdsNormalScreen}));
  EXPECT_EQ(DecideZoomOutControl(1.0), (ZoomOutControl{false, 328}));
  EXPECT_EQ(DecideZoomOutControl(1.5), (ZoomOutControl{true, 327}));
  EXPECT_EQ(DecideZoomOutControl(0.0), (ZoomOutControl{true, 327}));
}

TEST(PlayController, ResourcesAndPlacement) {
  EXPECT_EQ(kPlayButtonFaces.normal, 322u);
  EXPECT_EQ(kPlayButtonFaces.pressed, 323u);
  EXPECT_EQ(kPlayButtonFaces.focused, 321u);
  EXPECT_EQ(kPlayButtonFaces.disabled, 320u);
  EXPECT_EQ(kZoomOutCaption, 131u);
  EXPECT_EQ(kPlayControllerItems[2].relativeTo, kPlayZoomOutButton);
  EXPECT_EQ(kPlayControllerItems[2].width, 320);
  EXPECT_EQ(kPlayControllerItems[2].height, 170);
}

TEST(PlayController, UpdatesOnlyWhenAFlagChanges) {
  PlayControllerLogic c;
  EXPECT_FALSE(c.SetLayout(false, false));
  EXPECT_TRUE(c.SetLayout(true, false));
  EXPECT_FALSE(c.SetLayout(true, false));
  EXPECT_TRUE(c.SetLayout(true, true));
  EXPECT_EQ(c.Controls().fullScreenIcon, kIconLeaveFullScreen);
}

TEST(PlayController, ButtonsAskForTheModeThenTheWholePicture) {
  play_test::FakeFrame frame;
  PlayControllerLogic c;
  c.OnFullScreenClicked();  // no listeners: nothing
  c.SetPlayListener(&frame);
  c.SetScreenModeListener(&frame);
  c.OnFullScreenClicked();
  EXPECT_EQ(frame.modes, std::vector<int32_t>{1});
  ASSERT_EQ(frame.zooms.size(), 1u);
  EXPECT_FALSE(frame.zooms[0].area.has_value());
  EXPECT_FALSE(frame.zooms[0].centre.has_value());
  EXPECT_EQ(frame.zooms[0].zoom, 1.0);
  (void)c.SetLayout(true, false);
  c.OnFullScreenClicked();
  EXPECT_EQ(frame.modes, (std::vector<int32_t>{1, 0}));
  c.OnZoomOutClicked();
  EXPECT_EQ(frame.modes.size(), 2u);
  EXPECT_EQ(frame.zooms.size(), 3u);
  EXPECT_EQ(frame.zooms[2].zoom, 1.0);
  // Without the screen-mode listener the zoom is still reset.
  c.SetScreenModeListener(nullptr);
  c.OnFullScreenClicked();
  EXPECT_EQ(frame.modes.size(), 2u);
  EXPECT_EQ(frame.zooms.size(), 4u);
}
