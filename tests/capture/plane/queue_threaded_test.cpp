// Producers and a consumer on their own threads (run under ThreadSanitizer).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "capture/plane/plane_request_queue.h"
#include "plane_test_util.h"
#include "support/eventually.h"

namespace capture {
namespace {

using namespace capture::testing;

using testsupport::Eventually;

// The window thread fills the ring ten times over while the worker does not
// run; one pass of the worker afterwards, on its own thread, finds the
// newest value of every group and the force of the folded requests.
TEST(PlaneQueueThreaded, BurstAgainstAStoppedWorkerFoldsAndNeverWaits) {
  PlaneRequestQueue q;
  std::atomic<bool> done{false};
  std::thread window([&] {
    PlaneRequestWriter(q).Enable(true).Force();
    for (int i = 0; i < 1000; ++i) {
      if (i % 3 == 0) PlaneRequestWriter(q).Placement({i, 0, 1, 1});
      if (i % 3 == 1) PlaneRequestWriter(q).Angle(i % 4 * 90);
      if (i % 3 == 2) PlaneRequestWriter(q).Crop({i, i}, {10, 10});
    }
    done = true;
  });
  // A window thread that waited for the worker would never get here.
  ASSERT_TRUE(Eventually([&] { return done.load(); }));
  window.join();
  EXPECT_GT(q.FoldedRequests(), 900u);
  std::thread worker([&] {
    ASSERT_TRUE(q.Collect());
    EXPECT_EQ(q.MergedForce(), 1);
    EXPECT_EQ(q.Merged().placement.x, 999);
    EXPECT_EQ(q.Merged().angle, 997 % 4 * 90);
    EXPECT_EQ(q.Merged().parts.top.x, 998);
    EXPECT_EQ(q.Merged().partsId, OVX_VP_PROP_PARTS_CROP);
    EXPECT_EQ(q.Merged().enable, 1);
    EXPECT_TRUE(q.AllSlotsFree());
  });
  worker.join();
}

// Two producers, each with its own group and rising values, against a
// worker that collects as fast as it can: every value a producer wrote
// last arrives, and no group ever goes backwards.
TEST(PlaneQueueThreaded, ConcurrentProducersLoseNothing) {
  PlaneRequestQueue q;
  constexpr int kCount = 3000;
  std::atomic<bool> done{false};
  std::atomic<bool> backwards{false};
  int32_t lastX = -1;
  int32_t lastTop = -1;
  std::thread worker([&] {
    auto check = [&] {
      const PlaneState& m = q.Merged();
      if ((m.flags & kGroupPlacement) != 0) {
        if (m.placement.x < lastX) backwards = true;
        lastX = m.placement.x;
      }
      if ((m.flags & kGroupParts) != 0) {
        if (m.parts.top.x < lastTop) backwards = true;
        lastTop = m.parts.top.x;
      }
    };
    while (!done.load()) {
      if (q.Collect()) check();
      std::this_thread::yield();
    }
    while (!q.AllSlotsFree())
      if (q.Collect()) check();
  });
  std::thread a([&] {
    for (int i = 0; i < kCount; ++i) PushPlacement(q, {i, 0, 1, 1});
  });
  std::thread b([&] {
    for (int i = 0; i < kCount; ++i) PushParts(q, 5, i, 0, 1, 1);
  });
  a.join();
  b.join();
  done = true;
  worker.join();
  EXPECT_FALSE(backwards.load());
  EXPECT_EQ(q.Merged().placement.x, kCount - 1);
  EXPECT_EQ(q.Merged().parts.top.x, kCount - 1);
}

}  // namespace
}  // namespace capture
