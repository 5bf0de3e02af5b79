#pragma once
// Ring of plane requests between the window thread (producer) and the
// session worker (consumer).  Bursts collapse into one merged state per pass.

#include <cstdint>
#include <mutex>

#include "capture/plane_state.h"

namespace capture {

class PlaneRequestQueue {
 public:
  static constexpr int kSlotCount = 100;

  PlaneRequestQueue();
  PlaneRequestQueue(const PlaneRequestQueue&) = delete;
  PlaneRequestQueue& operator=(const PlaneRequestQueue&) = delete;

  // Window thread: the next slot, marked being-written.  The caller fills the
  // groups it changes, ORs their bits into body.flags, sets force and then
  // calls Publish.  Never hands out a slot the worker has not read yet.
  PlaneRequest* Acquire();
  static void Publish(PlaneRequest& slot);

  // Worker thread: merges the ready requests into the merged state.  On true,
  // MergedForce() and Merged() describe the batch.
  bool Collect();
  int32_t MergedForce() const;
  const PlaneState& Merged() const;
  PlaneState& Applied();
  const PlaneState& Applied() const;

  // True when no slot holds a request (every state is free).
  bool AllSlotsFree() const;

  // Plane coordinate space, written into every slot and both states before
  // any request is pending.
  void SetPlaneSize(int32_t width, int32_t height);

  // Test access.
  const PlaneRequest& SlotAt(int index) const;
  PlaneRequest& SlotAt(int index);

 private:
  std::mutex lock_;                 // taken by Acquire only
  PlaneRequest* write_;
  PlaneRequest* read_;
  PlaneRequest slots_[kSlotCount];
  int32_t mergedForce_ = 0;
  PlaneState merged_;
  PlaneState applied_;
};

}  // namespace capture
