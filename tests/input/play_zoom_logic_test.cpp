#include <gtest/gtest.h>

#include <cmath>

#include "input/zoom_maths.h"
#include "play_fakes.h"

using namespace input;  // the code under test
using play_test::PlayRig;

TEST(PlaySlide, WholePictureIsNotPannedButTheGestureIsFlagged) {
  PlayRig rig;
  rig.view.OnSlideBegan({100, 100});
  EXPECT_EQ(rig.check.state, 0u);
  rig.view.OnSlideChanged({300, 200});
  rig.view.OnSlideEnded({400, 200});
  EXPECT_TRUE(rig.frame.zooms.empty());
  EXPECT_EQ(rig.check.state, 1u);
}

TEST(PlaySlide, PansByTheFingerAndClampsAtTwiceToAQuarter) {
  PlayRig rig({0, 0, 1000, 500}, 2.0);
  rig.view.OnSlideBegan({500, 250});
  EXPECT_TRUE(rig.frame.zooms.empty());
  // 100 px right at zoom 2 moves the centre 0.05 of the picture left.
  rig.view.OnSlideChanged({600, 250});
  ASSERT_EQ(rig.frame.zooms.size(), 1u);
  EXPECT_DOUBLE_EQ(rig.Last().centre->x, 0.45);
  EXPECT_DOUBLE_EQ(rig.Last().centre->y, 0.5);
  EXPECT_EQ(rig.Last().area, (app::Rect{0, 0, 1000, 500}));
  EXPECT_EQ(rig.Last().zoom, 2.0);
  rig.view.OnSlideChanged({1600, -2000});
  EXPECT_DOUBLE_EQ(rig.Last().centre->x, 0.25);
  EXPECT_DOUBLE_EQ(rig.Last().centre->y, 0.75);
  rig.view.OnSlideEnded({-5000, 9000});
  EXPECT_DOUBLE_EQ(rig.Last().centre->x, 0.75);
  EXPECT_DOUBLE_EQ(rig.Last().centre->y, 0.25);
  EXPECT_EQ(rig.frame.zooms.size(), 3u);
  EXPECT_EQ(rig.check.state, 1u);
  EXPECT_EQ(rig.view.Slide().active, 0u);
}

TEST(PlayPinch, DoublingFromTheWholePictureAsksForTwiceHalvingStays) {
  PlayRig rig;
  rig.view.OnPinchBegan({500, 250, 100});
  EXPECT_TRUE(rig.frame.zooms.empty());
  EXPECT_EQ(rig.check.state, 0u);
  rig.view.OnPinchChanged({500, 250, 200});
  EXPECT_EQ(rig.Last().zoom, 2.0);
  rig.view.OnPinchEnded({500, 250, 200});
  EXPECT_EQ(rig.check.state, 1u);

  PlayRig halves;
  halves.view.OnPinchBegan({500, 250, 200});
  halves.view.OnPinchChanged({500, 250, 100});
  EXPECT_EQ(halves.Last().zoom, 1.0);
  EXPECT_DOUBLE_EQ(halves.Last().centre->x, 0.5);
  // Far apart: the maximum.
  halves.view.OnPinchChanged({500, 250, 100000});
  EXPECT_EQ(halves.Last().zoom, 8.0);
}

TEST(PlayPinch, ThePicturePointUnderTheFingersStaysUnderThem) {
  PlayRig rig({100, 50, 1100, 550}, 2.0, 0.4, 0.6);
  // Midpoint at video fraction (0.3, 0.7): picture point 0.4 + (0.3-0.5)/2 = 0.3, 0.6 + 0.1 = 0.7.
  rig.view.OnPinchBegan({400, 400, 100});
  EXPECT_DOUBLE_EQ(rig.view.Pinch().anchorX, 0.3);
  EXPECT_DOUBLE_EQ(rig.view.Pinch().anchorY, 0.7);
  rig.view.OnPinchChanged({400, 400, 150});
  const double z = rig.Last().zoom;
  EXPECT_DOUBLE_EQ(z, 3.0);
  EXPECT_NEAR(rig.Last().centre->x + (0.3 - 0.5) / z, 0.3, 1e-12);
  EXPECT_NEAR(rig.Last().centre->y + (0.7 - 0.5) / z, 0.7, 1e-12);
  // Moving the fingers carries the point along.
  rig.view.OnPinchChanged({500, 350, 150});
  EXPECT_NEAR(rig.Last().centre->x + (0.4 - 0.5) / 3.0, 0.3, 1e-12);
  EXPECT_NEAR(rig.Last().centre->y + (0.6 - 0.5) / 3.0, 0.7, 1e-12);
}

TEST(PlayPinch, ZeroDistances) {
  // A changed event with distance 0 asks for the whole picture.
  PlayRig rig({0, 0, 1000, 500}, 4.0);
  rig.view.OnPinchBegan({500, 250, 100});
  rig.view.OnPinchChanged({500, 250, 0});
  EXPECT_EQ(rig.Last().zoom, 1.0);
  EXPECT_DOUBLE_EQ(rig.Last().centre->x, 0.5);
  // A pinch that began on one pixel keeps its zoom until it has a distance to
  // compare with, then scales from there.
  PlayRig coincident({0, 0, 1000, 500}, 2.0);
  coincident.view.OnPinchBegan({500, 250, 0});
  coincident.view.OnPinchChanged({500, 250, 0});
  EXPECT_EQ(coincident.Last().zoom, 2.0);
  coincident.view.OnPinchChanged({500, 250, 40});
  EXPECT_EQ(coincident.Last().zoom, 2.0);
  coincident.view.OnPinchChanged({500, 250, 80});
  EXPECT_EQ(coincident.Last().zoom, 4.0);
  for (const auto& r : coincident.frame.zooms) {
    EXPECT_TRUE(std::isfinite(r.centre->x) && std::isfinite(r.centre->y));
  }
}

TEST(PlayGestures, CheckStateStaysZeroWhileEitherGestureRuns) {
  PlayRig rig({0, 0, 1000, 500}, 2.0);
  // One finger, then a second: the slide ends first, the pinch runs on.
  rig.view.OnSlideBegan({500, 250});
  rig.view.OnPinchBegan({500, 250, 100});
  rig.view.OnSlideEnded({500, 250});
  EXPECT_EQ(rig.check.state, 0u);
  // One lifted: the remaining finger's slide begins before the pinch ends.
  rig.view.OnSlideBegan({500, 250});
  rig.view.OnPinchEnded({500, 250, 100});
  EXPECT_EQ(rig.check.state, 0u);
  rig.view.OnSlideEnded({500, 250});
  EXPECT_EQ(rig.check.state, 1u);
}

TEST(PlayDoubleTap, TogglesBetweenTheWholePictureAndTheSetting) {
  PlayRig rig({100, 100, 1100, 600});
  EXPECT_TRUE(rig.view.OnDoubleClick(350, 225));
  ASSERT_EQ(rig.frame.zooms.size(), 1u);
  EXPECT_EQ(rig.Last().zoom, 5.0);
  EXPECT_EQ(rig.Last().area, (app::Rect{0, 0, 1000, 500}));
  EXPECT_DOUBLE_EQ(rig.Last().centre->x, 0.25);
  EXPECT_DOUBLE_EQ(rig.Last().centre->y, 0.25);
  EXPECT_TRUE(rig.view.OnDoubleClick(350, 225));
  EXPECT_EQ(rig.Last().zoom, 1.0);
  // Near the edge the centre stops where the crop stops.
  EXPECT_TRUE(rig.view.OnDoubleClick(110, 595));
  EXPECT_DOUBLE_EQ(rig.Last().centre->x, 0.1);
  EXPECT_DOUBLE_EQ(rig.Last().centre->y, 0.9);
  // So a slide away from that edge pans at once.
  rig.view.OnSlideBegan({500, 300});
  rig.view.OnSlideChanged({450, 300});
  EXPECT_DOUBLE_EQ(rig.Last().centre->x, 0.11);
}

TEST(PlayDoubleTap, OutsideOrOnTheEdgeNothingAndNoDefaultProcessing) {
  PlayRig rig({100, 100, 1100, 600});
  EXPECT_FALSE(rig.view.OnDoubleClick(100, 300));
  EXPECT_FALSE(rig.view.OnDoubleClick(600, 600));
  EXPECT_FALSE(rig.view.OnDoubleClick(5000, 300));
  EXPECT_TRUE(rig.frame.zooms.empty());
  // Without a listener nothing is asked, the message still goes on.
  rig.view.SetPlayListener(nullptr);
  EXPECT_TRUE(rig.view.OnDoubleClick(600, 300));
  EXPECT_TRUE(rig.frame.zooms.empty());
}

TEST(PlaySettings, TextsThatDoNotParseGiveZero) {
  PlayRig rig;
  rig.view.ApplySettings(L"eight", L"");
  EXPECT_EQ(rig.view.MaximumZoom(), 0.0);
  EXPECT_EQ(rig.view.DoubleTapZoom(), 0.0);
  // A maximum of 0.0 keeps every pinch at the whole picture.
  rig.view.OnPinchBegan({500, 250, 100});
  rig.view.OnPinchChanged({500, 250, 300});
  EXPECT_EQ(rig.Last().zoom, 1.0);
  rig.view.OnPinchEnded({500, 250, 300});
  // A double-tap zoom of 0.0 is sent as it is (the frame shows no crop for
  // it); the next double tap returns to the whole picture.
  EXPECT_TRUE(rig.view.OnDoubleClick(200, 200));
  EXPECT_EQ(rig.Last().zoom, 0.0);
  EXPECT_TRUE(std::isfinite(rig.Last().centre->x));
  // Gestures on such a layout work from the whole picture: no pan, no NaN.
  rig.frame.zooms.clear();
  rig.view.OnSlideBegan({100, 100});
  rig.view.OnSlideChanged({200, 200});
  rig.view.OnSlideEnded({200, 200});
  EXPECT_TRUE(rig.frame.zooms.empty());
  rig.view.OnPinchBegan({500, 250, 100});
  rig.view.OnPinchChanged({400, 250, 100});
  EXPECT_EQ(rig.Last().zoom, 1.0);
  EXPECT_DOUBLE_EQ(rig.Last().centre->x, 0.5);
  // Back at the whole picture, the double tap sends its 0.0 again.
  EXPECT_TRUE(rig.view.OnDoubleClick(200, 200));
  EXPECT_EQ(rig.Last().zoom, 0.0);
  rig.view.ApplySettings(L" 2.5e0", L"+1.5x");
  EXPECT_EQ(rig.view.MaximumZoom(), 2.5);
  EXPECT_EQ(rig.view.DoubleTapZoom(), 1.5);
}

TEST(PlayView, EmptyVideoAreaAsksNothing) {
  PlayRig rig({300, 300, 300, 300}, 2.0);
  rig.view.OnSlideBegan({300, 300});
  rig.view.OnSlideChanged({310, 300});
  rig.view.OnPinchBegan({300, 300, 10});
  rig.view.OnPinchChanged({300, 300, 20});
  EXPECT_EQ(rig.check.state, 0u);
  rig.view.OnSlideEnded({310, 300});
  rig.view.OnPinchEnded({300, 300, 20});
  EXPECT_EQ(rig.check.state, 1u);
  EXPECT_FALSE(rig.view.OnDoubleClick(300, 300));
  EXPECT_TRUE(rig.frame.zooms.empty());
}

TEST(PlayView, ResizeTellsTheFrameAndTheCaptureIsTheVideo) {
  PlayRig rig({10, 20, 30, 40});
  rig.view.OnSized();
  EXPECT_EQ(rig.frame.areaChanges, 1);
  EXPECT_EQ(rig.view.CaptureRect(), (app::Rect{10, 20, 30, 40}));
  rig.view.SetPlayListener(nullptr);
  rig.view.OnSized();
  EXPECT_EQ(rig.frame.areaChanges, 1);
}

TEST(PlayView, TouchMessagesDriveTheGestures) {
  struct Reader final : TouchReader {
    std::vector<TouchPoint> points;
    bool Read(TouchInputHandle, std::span<TouchPoint> out) override {
      std::copy(points.begin(), points.end(), out.begin());
      return true;
    }
    void Close(TouchInputHandle) override {}
  } reader;
  PlayRig rig({0, 0, 1000, 500}, 1.0);
  auto send = [&](std::vector<TouchPoint> points) {
    reader.points = std::move(points);
    rig.view.OnTouch(reader, 1, static_cast<uint32_t>(reader.points.size()));
  };
  send({{40000, 25000, kTouchDown}, {60000, 25000, kTouchDown}});
  send({{30000, 25000, kTouchMove}, {70000, 25000, kTouchMove}});
  EXPECT_EQ(rig.Last().zoom, 2.0);
  EXPECT_EQ(rig.check.state, 0u);
  // Both fingers leave the video: lifted, the pinch ends.
  send({{-100, 25000, kTouchMove}, {100000, 25000, kTouchMove}});
  EXPECT_EQ(rig.check.state, 1u);
  EXPECT_EQ(rig.view.Pinch().active, 0u);
}
