#pragma once
// Small helpers for the plane tests: filling requests the way the window
// thread does.
#include "capture/plane/plane_request_queue.h"
#include "capture/plane/plane_request_writer.h"

namespace capture {

// The queue's raw slot operations, for half-written slots and values no
// writer would set.
struct PlaneQueueTestAccess {
  static PlaneRequest* Acquire(PlaneRequestQueue& queue) { return queue.Acquire(); }
  static void Publish(PlaneRequestQueue& queue, PlaneRequest& slot) { queue.Publish(slot); }
};

}  // namespace capture

namespace capture::testing {

template <class Fill>
void Push(PlaneRequestQueue& queue, Fill fill, int32_t force = 0) {
  PlaneRequest* slot = PlaneQueueTestAccess::Acquire(queue);
  fill(slot->body);
  slot->force = force;
  PlaneQueueTestAccess::Publish(queue, *slot);
}

inline void PushParts(PlaneRequestQueue& queue, int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (id == OVX_VP_PROP_PARTS_CROP) {
    PlaneRequestWriter(queue).Crop({x, y}, {w, h});
  } else {
    PlaneRequestWriter(queue).WholeInput();
  }
}

inline void PushEnable(PlaneRequestQueue& queue, int32_t enable, int32_t force = 0) {
  Push(
      queue,
      [&](PlaneState& b) {
        b.enable = enable;
        b.flags |= kGroupEnable;
      },
      force);
}

inline void PushPlacement(PlaneRequestQueue& queue, PlaneRect r) { PlaneRequestWriter(queue).Placement(r); }
inline void PushAngle(PlaneRequestQueue& queue, int32_t angle) { PlaneRequestWriter(queue).Angle(angle); }
inline void PushAudio(PlaneRequestQueue& queue, int32_t audio) {
  PlaneRequestWriter(queue).Audio(audio == 1);
}
inline void PushScreen(PlaneRequestQueue& queue, int32_t w, int32_t h) {
  PlaneRequestWriter(queue).Screen({w, h, 0});
}

}  // namespace capture::testing
