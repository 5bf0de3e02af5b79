// Merging of plane requests, one thread playing both sides.
#include <gtest/gtest.h>

#include "capture/plane_request_queue.h"
#include "plane_test_util.h"

namespace capture {
namespace {

using namespace capture::testing;

int32_t LowState(const PlaneRequest& slot) { return slot.state.load() & 0xFF; }

TEST(PlaneQueue, EmptyQueueCollectsNothing) {
  PlaneRequestQueue q;
  EXPECT_FALSE(q.Collect());
  EXPECT_TRUE(q.AllSlotsFree());
}

TEST(PlaneQueue, StartsFromTheInitialState) {
  PlaneRequestQueue q;
  const PlaneRequestQueue& cq = q;
  for (const PlaneState* s : {&cq.Merged(), &cq.Applied(), &cq.SlotAt(57).body}) {
    EXPECT_EQ(s->placement, (PlaneRect{1, 1, 1, 1}));
    EXPECT_EQ(s->parts.parts.x, 3840);
    EXPECT_EQ(s->parts.parts.y, 2160);
    EXPECT_EQ(s->partsId, 3);
    EXPECT_EQ(s->enable, 0);
    EXPECT_EQ(s->audio, 0);
    EXPECT_EQ(s->flags, 0u);
  }
  EXPECT_EQ(q.SlotAt(99).next, &q.SlotAt(0));
  EXPECT_EQ(q.SlotAt(0).prev, &q.SlotAt(99));
  EXPECT_EQ(q.SlotAt(42).index, 42);
}

TEST(PlaneQueue, TwentyPartsRequestsMergeIntoTheNewest) {
  PlaneRequestQueue q;
  for (int i = 0; i < 20; ++i) PushParts(q, 5, i, i + 1, 100 + i, 200 + i);
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.MergedForce(), 0);
  EXPECT_EQ(q.Merged().partsId, 5);
  EXPECT_EQ(q.Merged().parts.top.x, 19);
  EXPECT_EQ(q.Merged().parts.top.y, 20);
  EXPECT_EQ(q.Merged().parts.size.x, 119);
  EXPECT_EQ(q.Merged().parts.size.y, 219);
  EXPECT_EQ(q.Merged().flags, kGroupParts);
  EXPECT_TRUE(q.AllSlotsFree());
  EXPECT_FALSE(q.Collect());
}

TEST(PlaneQueue, GroupsComeFromTheNewestRequestThatSetThem) {
  PlaneRequestQueue q;
  PushAngle(q, 90);
  PushPlacement(q, {1, 2, 3, 4});
  PushAngle(q, 180);
  PushScreen(q, 1920, 1080);
  PushAudio(q, 1);
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().angle, 180);
  EXPECT_EQ(q.Merged().placement, (PlaneRect{1, 2, 3, 4}));
  EXPECT_EQ(q.Merged().screen, (ScreenSize{1920, 1080, 0}));
  EXPECT_EQ(q.Merged().audio, 1);
  EXPECT_EQ(q.Merged().flags, kGroupAngle | kGroupPlacement | kGroupScreenSize | kGroupAudio);
}

TEST(PlaneQueue, MergedFlagsOnlyGrow) {
  PlaneRequestQueue q;
  PushAngle(q, 90);
  ASSERT_TRUE(q.Collect());
  PushEnable(q, 1);
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().flags, kGroupAngle | kGroupEnable);
  EXPECT_EQ(q.Merged().angle, 90);
}

TEST(PlaneQueue, ForcedRequestBehindTwoUnforcedOnesClosesOneBatch) {
  PlaneRequestQueue q;
  PushAngle(q, 90);
  PushPlacement(q, {5, 6, 7, 8});
  PushEnable(q, 1, /*force=*/1);
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.MergedForce(), 1);
  EXPECT_EQ(q.Merged().angle, 90);
  EXPECT_EQ(q.Merged().placement, (PlaneRect{5, 6, 7, 8}));
  EXPECT_EQ(q.Merged().enable, 1);
  EXPECT_TRUE(q.AllSlotsFree());
}

TEST(PlaneQueue, RequestsAfterAForcedOneWaitForTheNextPass) {
  PlaneRequestQueue q;
  PushEnable(q, 1, /*force=*/1);
  PushAngle(q, 270);
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.MergedForce(), 1);
  EXPECT_EQ(q.Merged().angle, 0);
  EXPECT_FALSE(q.AllSlotsFree());
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.MergedForce(), 0);
  EXPECT_EQ(q.Merged().angle, 270);
}

TEST(PlaneQueue, UnknownPartsIdLeavesTheMergedIdButTakesTheWords) {
  PlaneRequestQueue q;
  PushParts(q, 5, 10, 20, 30, 40);
  ASSERT_TRUE(q.Collect());
  Push(q, [](PlaneState& b) {
    b.partsId = 4;
    b.parts.top = {1, 2};
    b.flags |= kGroupParts;
  });
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().partsId, 5);
  EXPECT_EQ(q.Merged().parts.top.x, 1);
  EXPECT_EQ(q.Merged().parts.top.y, 2);
}

TEST(PlaneQueue, WholePictureRequestCarriesTheSlotsEarlierCrop) {
  PlaneRequestQueue q;
  PushParts(q, 5, 10, 20, 30, 40);  // lands in slot 1
  ASSERT_TRUE(q.Collect());
  for (int i = 0; i < 99; ++i) PushAngle(q, 0);  // wraps round to slot 1 again
  ASSERT_TRUE(q.Collect());
  PushParts(q, 3, 0, 0, 0, 0);
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().partsId, 3);
  EXPECT_EQ(q.Merged().parts.top.x, 10);
  EXPECT_EQ(q.Merged().parts.size.y, 40);
}

TEST(PlaneQueue, EnableOtherThanOneMeansHidden) {
  PlaneRequestQueue q;
  PushEnable(q, 1);
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().enable, 1);
  PushEnable(q, 7);
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().enable, 0);
}

TEST(PlaneQueue, BitsOutsideTheGroupsAreIgnored) {
  PlaneRequestQueue q;
  Push(q, [](PlaneState& b) {
    b.angle = 90;
    b.flags |= 0x40 | 0x80000000u;
  });
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().flags, 0u);
  EXPECT_EQ(q.Merged().angle, 0);
}

TEST(PlaneQueue, AcquireHandsOutClearedSlots) {
  PlaneRequestQueue q;
  PushEnable(q, 1, 1);
  ASSERT_TRUE(q.Collect());
  PlaneRequest* slot = q.Acquire();
  EXPECT_EQ(slot->state.load(), kSlotWriting);
  EXPECT_EQ(slot->force, 0);
  EXPECT_EQ(slot->body.flags, 0u);
  PlaneRequestQueue::Publish(*slot);
  EXPECT_EQ(slot->state.load(), kSlotReady);
}

TEST(PlaneQueue, NinetyNineWaitingRequestsAllArrive) {
  PlaneRequestQueue q;
  for (int i = 0; i < 99; ++i) PushPlacement(q, {i, 0, 1, 1});
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().placement.x, 98);
  EXPECT_TRUE(q.AllSlotsFree());
}

TEST(PlaneQueue, HalfWrittenSlotIsReclaimedAfterTwoSweeps) {
  PlaneRequestQueue q;
  PushAngle(q, 90);
  PlaneRequest* abandoned = q.Acquire();
  abandoned->body.angle = 270;
  abandoned->body.flags |= kGroupAngle;
  ASSERT_TRUE(q.Collect());  // merges the first, sweep 1
  EXPECT_EQ(abandoned->state.load(), kSlotStale);
  EXPECT_FALSE(q.AllSlotsFree());
  EXPECT_FALSE(q.Collect());  // sweep 2
  EXPECT_EQ(LowState(*abandoned), kSlotFree);
  EXPECT_TRUE(q.AllSlotsFree());  // a stopping worker would end here
  // Requests behind it are not held up.
  PushAngle(q, 180);
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().angle, 180);
}

TEST(PlaneQueue, ReclaimedSlotPublishedLateStillArrives) {
  PlaneRequestQueue q;
  PlaneRequest* slow = q.Acquire();
  EXPECT_FALSE(q.Collect());
  EXPECT_FALSE(q.Collect());
  EXPECT_EQ(LowState(*slow), kSlotFree);
  slow->body.placement = {9, 9, 9, 9};
  slow->body.flags |= kGroupPlacement;
  PlaneRequestQueue::Publish(*slow);
  EXPECT_FALSE(q.AllSlotsFree());
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().placement, (PlaneRect{9, 9, 9, 9}));
  EXPECT_TRUE(q.AllSlotsFree());
}

TEST(PlaneQueue, ReclaimedSlotIsSteppedOverOnceTheRingComesRound) {
  PlaneRequestQueue q;
  PlaneRequest* abandoned = q.Acquire();
  EXPECT_FALSE(q.Collect());
  EXPECT_FALSE(q.Collect());
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 90; ++i) PushAngle(q, i);
    ASSERT_TRUE(q.Collect());
    EXPECT_EQ(q.Merged().angle, 89);
  }
  EXPECT_EQ(LowState(*abandoned), kSlotFree);
  EXPECT_TRUE(q.AllSlotsFree());
}

TEST(PlaneQueue, SetPlaneSizeReachesEverySlotAndBothStates) {
  PlaneRequestQueue q;
  q.SetPlaneSize(3840, 2560);
  EXPECT_EQ(q.Merged().planeWidth, 3840);
  EXPECT_EQ(q.Applied().planeHeight, 2560);
  for (int i = 0; i < PlaneRequestQueue::kSlotCount; ++i) {
    EXPECT_EQ(q.SlotAt(i).body.planeWidth, 3840);
    EXPECT_EQ(q.SlotAt(i).body.planeHeight, 2560);
  }
}

}  // namespace
}  // namespace capture
