#pragma once
// Small helpers for the plane tests: filling requests the way the window
// thread does.
#include "capture/plane_request_queue.h"

namespace capture::testing {

template <class Fill>
void Push(PlaneRequestQueue& queue, Fill fill, int32_t force = 0) {
  PlaneRequest* slot = queue.Acquire();
  fill(slot->body);
  slot->force = force;
  PlaneRequestQueue::Publish(*slot);
}

inline void PushParts(PlaneRequestQueue& queue, int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) {
  Push(queue, [&](PlaneState& b) {
    b.partsId = id;
    if (id == OVX_VP_PROP_PARTS_CROP) b.parts.top = {x, y}, b.parts.size = {w, h};
    b.flags |= kGroupParts;
  });
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

inline void PushPlacement(PlaneRequestQueue& queue, PlaneRect r) {
  Push(queue, [&](PlaneState& b) {
    b.placement = r;
    b.flags |= kGroupPlacement;
  });
}

inline void PushAngle(PlaneRequestQueue& queue, int32_t angle) {
  Push(queue, [&](PlaneState& b) {
    b.angle = angle;
    b.flags |= kGroupAngle;
  });
}

inline void PushAudio(PlaneRequestQueue& queue, int32_t audio) {
  Push(queue, [&](PlaneState& b) {
    b.audio = audio;
    b.flags |= kGroupAudio;
  });
}

inline void PushScreen(PlaneRequestQueue& queue, int32_t w, int32_t h) {
  Push(queue, [&](PlaneState& b) {
    b.screen = {w, h, 0};
    b.flags |= kGroupScreenSize;
  });
}

}  // namespace capture::testing
