// Producers and a consumer on their own threads (run under ThreadSanitizer).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "support/eventually.h"
#include "capture/plane_request_queue.h"
#include "plane_test_util.h"

namespace capture {
namespace {

using namespace capture::testing;

using testsupport::Eventually;

TEST(PlaneQueueThreaded, FullRingMakesTheProducerWaitInsteadOfOverwriting) {
  PlaneRequestQueue q;
  for (int i = 0; i < 99; ++i) PushPlacement(q, {i, 0, 1, 1});
  std::atomic<bool> pushed{false};
  std::thread producer([&] {
    PushPlacement(q, {1000, 0, 1, 1});
    pushed = true;
  });
  ASSERT_TRUE(Eventually([&] { return q.WaitingProducers() == 1; }));
  EXPECT_FALSE(pushed.load());
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().placement.x, 98);  // all 99, nothing overwritten
  producer.join();
  EXPECT_TRUE(pushed.load());
  ASSERT_TRUE(q.Collect());
  EXPECT_EQ(q.Merged().placement.x, 1000);
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
