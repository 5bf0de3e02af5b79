// Merging of plane requests, one thread playing both sides.
#include <gtest/gtest.h>

#include <cstring>

#include "capture/plane/plane_request_queue.h"
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
  PlaneRequest* slot = PlaneQueueTestAccess::Acquire(q);
  EXPECT_EQ(slot->state.load(), kSlotWriting);
  EXPECT_EQ(slot->force, 0);
  EXPECT_EQ(slot->body.flags, 0u);
  PlaneQueueTestAccess::Publish(q, *slot);
  EXPECT_EQ(slot->state.load(), kSlotReady);
}

TEST(PlaneQueue, NinetyNineWaitingRequestsAllArrive) {
  PlaneRequestQueue q;
  for (int i = 0; i < 99; ++i) PushPlacement(q, {i, 0, 1, 1});
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().placement.x, 98);
  EXPECT_TRUE(q.AllSlotsFree());
}

// The same 1000 requests into a ring nobody reads and into one read after
// every request: the single pass over the full ring merges to the same
// state, the parts id of 4 and the enable of 7 treated as the worker treats
// them, and the one forced request among the folded ones forces the pass.
TEST(PlaneQueue, FullRingFoldsTheOldestAsTheWorkerWould) {
  PlaneRequestQueue folded;
  PlaneRequestQueue reference;
  int32_t force = 0;
  for (int i = 0; i < 1000; ++i) {
    for (PlaneRequestQueue* q : {&folded, &reference}) {
      switch (i % 6) {
        case 0:
          PushPlacement(*q, {i, i, 10, 10});
          break;
        case 1:
          PushParts(*q, 5, i, 0, 20, 20);
          break;
        case 2:
          PushParts(*q, i % 4 == 0 ? 4 : 3, 0, 0, 0, 0);
          break;
        case 3:
          PushEnable(*q, i % 5 == 0 ? 7 : 1, i == 303 ? 1 : 0);
          break;
        case 4:
          PushAngle(*q, i % 4 * 90);
          break;
        case 5:
          if (i < 500) PushScreen(*q, i, 2 * i);
          break;
      }
    }
    if (reference.Collect()) force |= reference.MergedForce();
  }
  EXPECT_EQ(force, 1);
  EXPECT_EQ(folded.FoldedRequests(), 1000u - 83u - 99u);  // 83 screens skipped, 99 left unread
  ASSERT_TRUE(folded.Collect());
  EXPECT_EQ(folded.MergedForce(), 1);
  EXPECT_TRUE(folded.AllSlotsFree());
  EXPECT_EQ(0, std::memcmp(&folded.Merged(), &reference.Merged(), sizeof(PlaneState)));
  EXPECT_EQ(folded.Merged().screen, (ScreenSize{497, 994, 0}));
  EXPECT_FALSE(folded.Collect());
}

TEST(PlaneQueue, HalfWrittenSlotIsReclaimedAfterTwoSweeps) {
  PlaneRequestQueue q;
  PushAngle(q, 90);
  PlaneRequest* abandoned = PlaneQueueTestAccess::Acquire(q);
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
  PlaneRequest* slow = PlaneQueueTestAccess::Acquire(q);
  EXPECT_FALSE(q.Collect());
  EXPECT_FALSE(q.Collect());
  EXPECT_EQ(LowState(*slow), kSlotFree);
  slow->body.placement = {9, 9, 9, 9};
  slow->body.flags |= kGroupPlacement;
  PlaneQueueTestAccess::Publish(q, *slow);
  EXPECT_FALSE(q.AllSlotsFree());
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().placement, (PlaneRect{9, 9, 9, 9}));
  EXPECT_TRUE(q.AllSlotsFree());
}

TEST(PlaneQueue, ReclaimedSlotIsSteppedOverOnceTheRingComesRound) {
  PlaneRequestQueue q;
  PlaneRequest* abandoned = PlaneQueueTestAccess::Acquire(q);
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
