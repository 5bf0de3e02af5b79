#include <gtest/gtest.h>

#include <vector>

#include "input/touch_message.h"

using namespace input;  // the code under test

namespace {

// Points handed out as the platform would, with a record of the calls.
class FakeTouchReader final : public TouchReader {
 public:
  std::vector<TouchPoint> points;
  bool fails = false;
  std::vector<TouchInputHandle> reads;
  std::vector<TouchInputHandle> closed;
  bool Read(TouchInputHandle handle, std::span<TouchPoint> out) override {
    reads.push_back(handle);
    if (fails || out.size() != points.size()) return false;
    std::copy(points.begin(), points.end(), out.begin());
    return true;
  }
  void Close(TouchInputHandle handle) override { closed.push_back(handle); }
};

struct Seen {
  std::vector<SlideEventArgs> began, ended;
  GestureRecognizerSet set;
  Seen() {
    set.SetSlideBeganHandler([this](SlideEventArgs e) { began.push_back(e); });
    set.SetSlideEndedHandler([this](SlideEventArgs e) { ended.push_back(e); });
  }
};

const app::Rect kVideo{100, 50, 1100, 650};

}  // namespace

TEST(TouchMessage, EdgesAreOutside) {
  EXPECT_TRUE(IsStrictlyInside(kVideo, 101, 51));
  EXPECT_TRUE(IsStrictlyInside(kVideo, 1099, 649));
  EXPECT_FALSE(IsStrictlyInside(kVideo, 100, 300));
  EXPECT_FALSE(IsStrictlyInside(kVideo, 1100, 300));
  EXPECT_FALSE(IsStrictlyInside(kVideo, 500, 50));
  EXPECT_FALSE(IsStrictlyInside(kVideo, 500, 650));
  EXPECT_FALSE(IsStrictlyInside(app::Rect{}, 0, 0));
}

TEST(TouchMessage, NoPointInsideLiftsEveryPoint) {
  // 100.99 pixels truncates to 100: on the edge.
  std::vector<TouchPoint> outside{{10099, 30000, kTouchMove}, {60000, 5000, kTouchDown | 0x100}};
  LiftUnlessInside(outside, kVideo);
  EXPECT_EQ(outside[0].flags, kTouchUp);
  EXPECT_EQ(outside[1].flags, kTouchUp | 0x100);
  // One point inside keeps them all as they are.
  std::vector<TouchPoint> mixed{{10100, 30000, kTouchMove}, {10200, 30000, kTouchDown}};
  LiftUnlessInside(mixed, kVideo);
  EXPECT_EQ(mixed[0].flags, kTouchMove);
  EXPECT_EQ(mixed[1].flags, kTouchDown);
}

TEST(TouchMessage, InjectedPointsReachTheRecognizersAndTheHandleIsClosed) {
  FakeTouchReader reader;
  Seen seen;
  reader.points = {{50000, 30000, kTouchDown}};
  HandleTouchMessage(reader, 0x1234, 1, kVideo, seen.set);
  ASSERT_EQ(seen.began.size(), 1u);
  EXPECT_EQ(seen.began[0], (SlideEventArgs{500, 300}));
  EXPECT_EQ(reader.closed, std::vector<TouchInputHandle>{0x1234});
  // Leaving the video rectangle ends the slide.
  reader.points = {{120000, 30000, kTouchMove}};
  HandleTouchMessage(reader, 0x1235, 1, kVideo, seen.set);
  ASSERT_EQ(seen.ended.size(), 1u);
  EXPECT_EQ(seen.ended[0], (SlideEventArgs{1200, 300}));
}

TEST(TouchMessage, UnreadablePointsAreDropped) {
  FakeTouchReader reader;
  Seen seen;
  reader.points = {{50000, 30000, kTouchDown}};
  reader.fails = true;
  HandleTouchMessage(reader, 7, 1, kVideo, seen.set);
  EXPECT_TRUE(seen.began.empty());
  EXPECT_TRUE(reader.closed.empty());
  // A count of 0 reads nothing.
  reader.fails = false;
  HandleTouchMessage(reader, 8, 0, kVideo, seen.set);
  EXPECT_EQ(reader.reads, std::vector<TouchInputHandle>{7});
  EXPECT_EQ(seen.set.Slide().State(), kGestureIdle);
}
