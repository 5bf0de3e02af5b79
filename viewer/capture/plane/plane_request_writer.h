#pragma once
// The one way to put a plane request into the queue: take a writer, set the
// groups the request changes, and let it go out of scope; it publishes then.
// The slot it takes has flags and force cleared, so a writer that sets
// nothing publishes an empty request (merged as a no-op).

#include "capture/plane/plane_request_queue.h"

namespace capture {

class PlaneRequestWriter {
 public:
  explicit PlaneRequestWriter(PlaneRequestQueue& queue) : queue_(queue), slot_(*queue.Acquire()) {}
  ~PlaneRequestWriter() { queue_.Publish(slot_); }
  PlaneRequestWriter(const PlaneRequestWriter&) = delete;
  PlaneRequestWriter& operator=(const PlaneRequestWriter&) = delete;

  // Screen pixels relative to the top-left corner of the window's monitor.
  PlaneRequestWriter& Placement(const PlaneRect& rect) {
    slot_.body.placement = rect;
    return Set(kGroupPlacement);
  }
  PlaneRequestWriter& Angle(int32_t degrees) {
    slot_.body.angle = degrees;
    return Set(kGroupAngle);
  }
  // Only the id: the top and size words the slot held travel with it.
  PlaneRequestWriter& WholeInput() {
    slot_.body.partsId = OVX_VP_PROP_PARTS_WHOLE;
    return Set(kGroupParts);
  }
  PlaneRequestWriter& Crop(const OvxPoint& top, const OvxSize& size) {
    slot_.body.partsId = OVX_VP_PROP_PARTS_CROP;
    slot_.body.parts.top = top;
    slot_.body.parts.size = size;
    return Set(kGroupParts);
  }
  PlaneRequestWriter& Enable(bool visible) {
    slot_.body.enable = visible ? 1 : 0;
    return Set(kGroupEnable);
  }
  PlaneRequestWriter& Screen(const ScreenSize& screen) {
    slot_.body.screen = screen;
    return Set(kGroupScreenSize);
  }
  PlaneRequestWriter& Audio(bool on) {
    slot_.body.audio = on ? 1 : 0;
    return Set(kGroupAudio);
  }
  // The worker sends every property, changed or not.
  PlaneRequestWriter& Force() {
    slot_.force = 1;
    return *this;
  }

 private:
  PlaneRequestWriter& Set(uint32_t group) {
    slot_.body.flags |= group;
    return *this;
  }

  PlaneRequestQueue& queue_;
  PlaneRequest& slot_;
};

}  // namespace capture
