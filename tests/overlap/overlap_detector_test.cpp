#include <gtest/gtest.h>

#include "overlap/overlap_watch_state.h"
#include "test_image.h"

using namespace overlap;  // the code under test

namespace {

const PixelRect kArea{100, 50, 140, 90};

std::unique_ptr<TestImage> Covered() {
  auto image = std::make_unique<TestImage>(40, 40);
  image->MarkScan(1, 1);
  image->MarkScan(30, 1);
  return image;
}

std::unique_ptr<TestImage> Clean() { return std::make_unique<TestImage>(40, 40); }

class OverlapDetectorTest : public ::testing::Test {
 protected:
  Gate gate;  // outlives the detector, whose destructor joins the worker
  FakeScreen screen;
  COverlapDetector detector{screen};
  OverlapWatchState watch{detector};
};

TEST_F(OverlapDetectorTest, AsynchronousChecksReportThePreviousResult) {
  screen.next = Covered();
  EXPECT_EQ(watch.Check(kArea, {}, true), kOverlapClear);  // the very first: nothing before it
  EXPECT_EQ(screen.lastArea, kArea);
  detector.JoinWorker();
  EXPECT_EQ(detector.Result(), 1u);
  EXPECT_EQ(*screen.freed, 1);  // the worker freed the image

  screen.next = Clean();
  EXPECT_EQ(watch.Check(kArea, {}, true), kOverlapCovered);
  detector.JoinWorker();
  EXPECT_EQ(watch.Check(kArea, {}, true), kOverlapClear);
  detector.JoinWorker();
  EXPECT_EQ(screen.captures, 3);
  EXPECT_EQ(*screen.freed, 3);
}

TEST_F(OverlapDetectorTest, WaitingChecksReportTheirOwnResult) {
  screen.next = Covered();
  EXPECT_EQ(watch.Check(kArea, {}, false), kOverlapCovered);
  screen.next = Clean();
  EXPECT_EQ(watch.Check(kArea, {}, false), kOverlapClear);
  EXPECT_EQ(*screen.freed, 2);
}

TEST_F(OverlapDetectorTest, CheckWhileOneRunsAnswersNoResultAndStartsNothing) {
  screen.gate = &gate;
  screen.next = Covered();
  EXPECT_EQ(watch.Check(kArea, {}, true), kOverlapClear);
  ASSERT_TRUE(gate.WaitForWaiter());
  EXPECT_EQ(watch.Check(kArea, {}, true), kOverlapNoResult);
  EXPECT_EQ(watch.Check(kArea, {}, false), kOverlapNoResult);
  EXPECT_EQ(screen.captures, 1);
  EXPECT_FALSE(detector.TryMarkBusy(1));
  gate.Open();
  detector.JoinWorker();
  // Idle again: the next check runs and reports the finished one.
  EXPECT_EQ(watch.Check(kArea, {}, true), kOverlapCovered);
  EXPECT_EQ(screen.captures, 2);
}

TEST_F(OverlapDetectorTest, BusyFlagChangesOnlyToANewValue) {
  EXPECT_FALSE(detector.TryMarkBusy(0));
  EXPECT_TRUE(detector.TryMarkBusy(1));
  EXPECT_FALSE(detector.TryMarkBusy(1));
  EXPECT_TRUE(detector.TryMarkBusy(0));
}

TEST_F(OverlapDetectorTest, NoImageKeepsThePreviousResultAndFreesTheDetector) {
  screen.next = Covered();
  ASSERT_EQ(watch.Check(kArea, {}, false), kOverlapCovered);
  screen.next.reset();  // the capture fails
  EXPECT_EQ(watch.Check(kArea, {}, false), kOverlapCovered);
  EXPECT_EQ(detector.Result(), 1u);
  EXPECT_EQ(screen.captures, 2);
  EXPECT_TRUE(detector.TryMarkBusy(1));  // nothing left busy
}

TEST_F(OverlapDetectorTest, UnusableAreasAreNotCaptured) {
  screen.next = Covered();
  ASSERT_EQ(watch.Check(kArea, {}, false), kOverlapCovered);
  screen.next = Clean();
  const PixelRect unusable[] = {
      {10, 10, 10, 50},      // empty
      {50, 10, 10, 50},      // inverted
      {10, 50, 50, 10},      // upside down
      {0, 0, 40000, 10},     // wider than any bitmap
      {0, 0, 30000, 30000},  // too many bytes
      {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
  };
  for (const PixelRect& area : unusable) {
    EXPECT_EQ(watch.Check(area, {}, false), kOverlapCovered);
    EXPECT_EQ(watch.Check(area, {}, true), kOverlapCovered);
  }
  EXPECT_EQ(screen.captures, 1);
}

TEST_F(OverlapDetectorTest, ExclusionIsPassedToTheComparison) {
  screen.next = Clean();
  for (int32_t x = 0; x < 10; ++x) screen.next->MarkPicture(x, 0);
  EXPECT_EQ(watch.Check(kArea, PixelRect{0, 0, 10, 1}, false), kOverlapClear);
  EXPECT_EQ(watch.Check(kArea, PixelRect{}, false), kOverlapCovered);
}

TEST_F(OverlapDetectorTest, FirstCheckAfterThePlaneChangedReportsTheStoredResult) {
  screen.next = Covered();
  ASSERT_EQ(watch.Check(kArea, {}, false), kOverlapCovered);
  EXPECT_EQ(watch.LastResult(), 1u);

  // Waiting ends, Play is entered; the area is clean now.
  watch.SetPlaneShown(1);
  EXPECT_EQ(watch.Changed(), 1u);
  screen.next = Clean();
  EXPECT_EQ(watch.Check(kArea, {}, false), kOverlapCovered);
  EXPECT_EQ(watch.Changed(), 0u);
  EXPECT_EQ(watch.LastResult(), 0u);
  EXPECT_EQ(watch.Check(kArea, {}, false), kOverlapClear);

  // Setting the same value again is no change.
  watch.SetPlaneShown(1);
  EXPECT_EQ(watch.Changed(), 0u);
  EXPECT_EQ(watch.PlaneShown(), 1u);
  watch.SetPlaneShown(0);
  EXPECT_EQ(watch.Changed(), 1u);
  EXPECT_EQ(watch.PlaneShown(), 0u);
}

TEST_F(OverlapDetectorTest, RefusedCheckLeavesTheChangedFlag) {
  screen.gate = &gate;
  screen.next = Clean();
  watch.Check(kArea, {}, true);
  ASSERT_TRUE(gate.WaitForWaiter());
  watch.SetPlaneShown(1);
  EXPECT_EQ(watch.Check(kArea, {}, true), kOverlapNoResult);
  EXPECT_EQ(watch.Changed(), 1u);
  gate.Open();
  detector.JoinWorker();
}

TEST(OverlapProcessWide, OneWatchStateOneDetector) {
  OverlapWatchState* state = OverlapWatchState::Get();
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state, OverlapWatchState::Get());
  EXPECT_EQ(&COverlapDetector::Instance(), &COverlapDetector::Instance());
  const uint32_t other = state->PlaneShown() ^ 1u;
  SetOverlapPlaneShown(other);
  EXPECT_EQ(state->PlaneShown(), other);
  EXPECT_EQ(state->Changed(), 1u);
#ifndef _WIN32
  // No screen here: the check keeps its clear result.
  EXPECT_EQ(CheckOverlap(kArea, {}, false), kOverlapClear);
  EXPECT_EQ(state->Changed(), 0u);
#endif
}

}  // namespace
