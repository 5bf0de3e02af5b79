#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/gesture_recognizer_set.h"

using namespace input;  // the code under test

namespace {

// Points in whole pixels, as the platform gives them (hundredths).
TouchPoint P(int32_t x, int32_t y, uint32_t flags) { return {x * 100, y * 100, flags}; }

// Every handler call as a line, in call order.
struct Recorder {
  std::vector<std::string> calls;
  GestureRecognizerSet set;
  Recorder() {
    auto slide = [this](const char* name) {
      return [this, name](SlideEventArgs e) {
        calls.push_back(std::string(name) + " " + std::to_string(e.x) + "," + std::to_string(e.y));
      };
    };
    auto pinch = [this](const char* name) {
      return [this, name](PinchEventArgs e) {
        calls.push_back(std::string(name) + " " + std::to_string(e.x) + "," + std::to_string(e.y) + " d" +
                        std::to_string(e.distance));
      };
    };
    set.SetSlideBeganHandler(slide("slide began"));
    set.SetSlideChangedHandler(slide("slide changed"));
    set.SetSlideEndedHandler(slide("slide ended"));
    set.SetPinchBeganHandler(pinch("pinch began"));
    set.SetPinchChangedHandler(pinch("pinch changed"));
    set.SetPinchEndedHandler(pinch("pinch ended"));
  }
  std::vector<std::string> Feed(std::vector<TouchPoint> points) {
    calls.clear();
    // An empty message still has a buffer: a null one is no message at all.
    static const TouchPoint none{};
    set.Recognize(points.empty() ? &none : points.data(), points.size());
    return calls;
  }
};

using Calls = std::vector<std::string>;

}  // namespace

TEST(Recognizers, OneFingerDownMoveUp) {
  Recorder r;
  EXPECT_EQ(r.Feed({P(10, 20, kTouchDown)}), Calls{"slide began 10,20"});
  EXPECT_EQ(r.Feed({P(11, 22, kTouchMove)}), Calls{"slide changed 11,22"});
  EXPECT_EQ(r.Feed({P(12, 24, kTouchMove)}), Calls{"slide changed 12,24"});
  EXPECT_EQ(r.Feed({P(13, 25, kTouchUp)}), Calls{"slide ended 13,25"});
  EXPECT_EQ(r.set.Slide().State(), kGestureEnded);
  EXPECT_EQ(r.set.Pinch().State(), kGestureIdle);
  // The ended state lasts one message.
  EXPECT_EQ(r.Feed({}), Calls{});
  EXPECT_EQ(r.set.Slide().State(), kGestureIdle);
}

TEST(Recognizers, SecondFingerEndsTheSlideAndBeginsThePinchOnOneMessage) {
  Recorder r;
  r.Feed({P(100, 100, kTouchDown)});
  r.Feed({P(101, 100, kTouchMove)});
  EXPECT_EQ(r.Feed({P(102, 100, kTouchMove), P(302, 400, kTouchDown)}),
            (Calls{"slide ended 102,100", "pinch began 202,250 d360"}));
  EXPECT_EQ(r.Feed({P(100, 100, kTouchMove), P(400, 500, kTouchMove)}), Calls{"pinch changed 250,300 d500"});
  // Two fingers are no slide.
  EXPECT_EQ(r.set.Slide().State(), kGestureIdle);
}

TEST(Recognizers, LiftingOneOfTwoEndsThePinchThenTheOtherSlides) {
  Recorder r;
  r.Feed({P(0, 0, kTouchDown), P(10, 0, kTouchDown)});
  r.Feed({P(0, 0, kTouchMove), P(20, 0, kTouchMove)});
  // MOVE or UP selects both points for the ended event; one finger is left
  // down, so the slide begins on the same message, before the pinch ends.
  EXPECT_EQ(r.Feed({P(0, 0, kTouchMove), P(30, 0, kTouchUp)}),
            (Calls{"slide began 0,0", "pinch ended 15,0 d30"}));
  EXPECT_EQ(r.Feed({P(5, 5, kTouchMove)}), Calls{"slide changed 5,5"});
  EXPECT_EQ(r.Feed({P(5, 5, kTouchUp)}), Calls{"slide ended 5,5"});
  // The remaining finger of a pair lifted at once starts nothing.
  r.Feed({});
  r.Feed({P(0, 0, kTouchDown), P(10, 0, kTouchDown)});
  EXPECT_EQ(r.Feed({P(0, 0, kTouchUp), P(10, 0, kTouchUp)}), Calls{"pinch ended 5,0 d10"});
  EXPECT_EQ(r.Feed({P(7, 7, kTouchDown)}), Calls{"slide began 7,7"});
}

TEST(Recognizers, ThreeFingersBeginNothingAndEndWhatRuns) {
  Recorder r;
  r.Feed({P(0, 0, kTouchDown), P(10, 0, kTouchDown)});
  EXPECT_EQ(r.Feed({P(0, 0, kTouchMove), P(10, 0, kTouchMove), P(20, 0, kTouchDown)}),
            Calls{"pinch ended 5,0 d10"});
  EXPECT_EQ(r.Feed({P(0, 0, kTouchMove), P(10, 0, kTouchMove), P(20, 0, kTouchMove)}), Calls{});
  EXPECT_EQ(r.set.Pinch().State(), kGestureIdle);
  EXPECT_EQ(r.set.Slide().State(), kGestureIdle);
}

TEST(Recognizers, EmptyMessageEndsAGestureAtTheOrigin) {
  Recorder r;
  EXPECT_EQ(r.Feed({}), Calls{});
  r.Feed({P(50, 60, kTouchDown)});
  EXPECT_EQ(r.Feed({}), Calls{"slide ended 0,0"});
  r.Feed({});
  r.Feed({P(1, 1, kTouchDown), P(9, 9, kTouchDown)});
  EXPECT_EQ(r.Feed({}), Calls{"pinch ended 0,0 d0"});
}

TEST(Recognizers, LoneUpOnAnIdleSlideDoesNothing) {
  Recorder r;
  EXPECT_EQ(r.Feed({P(10, 10, kTouchUp)}), Calls{});
  EXPECT_EQ(r.set.Slide().State(), kGestureIdle);
  // Other flag bits are ignored: a point with none of the three is still a contact.
  EXPECT_EQ(r.Feed({{500, 500, 0x10}}), Calls{"slide began 0,0"});
}

TEST(Recognizers, StationaryFingerEndsTheSlide) {
  // A message whose point is not flagged MOVE ends the gesture: the platform
  // flags every contact still down as moving.
  Recorder r;
  r.Feed({P(10, 10, kTouchDown)});
  EXPECT_EQ(r.Feed({P(10, 10, kTouchDown)}), Calls{"slide ended 0,0"});
  EXPECT_EQ(r.Feed({P(10, 10, kTouchDown)}), Calls{"slide began 10,10"});
}

TEST(Recognizers, PinchGeometryTruncates) {
  EXPECT_EQ(PinchBetween(0, 0, 300, 400), (PinchEventArgs{150, 200, 500}));
  EXPECT_EQ(PinchBetween(100, 100, 201, 101), (PinchEventArgs{150, 100, 101}));
  EXPECT_EQ(PinchBetween(-3, -3, 0, 0), (PinchEventArgs{-1, -1, 4}));
  // Far apart: no 32-bit overflow in the sums and squares.
  const int32_t far = 21474836;
  EXPECT_EQ(PinchBetween(far, far, far, -far), (PinchEventArgs{far, 0, 2 * far}));
}

TEST(Recognizers, HundredthsRoundTowardZero) {
  Recorder r;
  EXPECT_EQ(r.Feed({{12345, -150, kTouchDown}}), Calls{"slide began 123,-1"});
  EXPECT_EQ(r.Feed({{-199, 199, kTouchMove}}), Calls{"slide changed -1,1"});
  EXPECT_EQ(TouchToPixels(-99), 0);
}

TEST(Recognizers, NullPointsAndEmptyHandlers) {
  Recorder r;
  r.Feed({P(1, 1, kTouchDown)});
  r.calls.clear();
  r.set.Recognize(nullptr, 3);
  EXPECT_EQ(r.calls, Calls{});
  EXPECT_EQ(r.set.Slide().State(), kGestureBegan);
  // Without handlers the machines still run.
  GestureRecognizerSet bare;
  const TouchPoint down[2] = {P(0, 0, kTouchDown), P(1, 1, kTouchDown)};
  bare.Recognize(down, 2);
  EXPECT_EQ(bare.Pinch().State(), kGestureBegan);
}
