#include <gtest/gtest.h>

#include "app/message_screen.h"
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

TEST(MessageScreens, TextsAndButtonsPerKind) {
  auto stopped = app::MessageScreenOf(app::ScreenKind::Stopped);
  ASSERT_TRUE(stopped);
  EXPECT_EQ((std::array<uint32_t, 4>{161, 162, 163, 164}), stopped->lines);
  EXPECT_EQ(148u, stopped->button);
  EXPECT_EQ(app::ButtonAction::Continue, stopped->action);
  auto waiting = app::MessageScreenOf(app::ScreenKind::Waiting);
  EXPECT_EQ((std::array<uint32_t, 4>{149, 165, 166, 167}), waiting->lines);
  EXPECT_EQ(0u, waiting->button);
  for (auto kind :
       {app::ScreenKind::Abnormal, app::ScreenKind::UpdateRequired, app::ScreenKind::AlreadyRunning}) {
    auto s = app::MessageScreenOf(kind);
    ASSERT_TRUE(s);
    EXPECT_EQ(156u, s->button);
    EXPECT_EQ(app::ButtonAction::Close, s->action);
  }
  EXPECT_EQ(157u, app::MessageScreenOf(app::ScreenKind::AlreadyRunning)->lines[0]);
  EXPECT_EQ(144u, app::MessageScreenOf(app::ScreenKind::UpdateRequired)->lines[0]);
  EXPECT_EQ(136u, app::MessageScreenOf(app::ScreenKind::Overlapped)->lines[0]);
  EXPECT_EQ(app::ButtonAction::None, app::MessageScreenOf(app::ScreenKind::NoSignal)->action);
  for (auto kind : {app::ScreenKind::None, app::ScreenKind::Blank, app::ScreenKind::Play,
                    app::ScreenKind::PlayBarHidden, static_cast<app::ScreenKind>(11)}) {
    EXPECT_FALSE(app::MessageScreenOf(kind));
  }
}

TEST(MessageScreens, ScaleFollowsTheDisplay) {
  EXPECT_EQ(600, app::ScaleToDisplay(600, {3840, 2560, 0, {}, {}}));
  EXPECT_EQ(300, app::ScaleToDisplay(600, {1920, 1280, 0, {}, {}}));
  // Turned: the sides are exchanged before the rule.
  EXPECT_EQ(450, app::ScaleToDisplay(600, {1920, 2880, 90, {}, {}}));
  EXPECT_EQ(0, app::ScaleToDisplay(600, {0, 0, 0, {}, {}}));
}

TEST(MessageScreens, LinesStackAroundTheMiddleWithTheButtonBelow) {
  const auto l = app::LayOutMessage({0, 0, 1000, 800}, {1920, 1280, 0, {}, {}});
  EXPECT_EQ(20, l.fontHeight);
  EXPECT_EQ((Rect{350, 385, 650, 415}), l.lines[2]);
  EXPECT_EQ(l.lines[2].top - 2, l.lines[1].bottom);
  EXPECT_EQ(l.lines[1].top - 2, l.lines[0].bottom);
  EXPECT_EQ(l.lines[2].bottom + 2, l.lines[3].top);
  EXPECT_EQ(l.lines[3].bottom + 20, l.button.top);
  EXPECT_EQ(80, l.button.Width());
  EXPECT_EQ(500, (l.button.left + l.button.right) / 2);
}

}  // namespace
