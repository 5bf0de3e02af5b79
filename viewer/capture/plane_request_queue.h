#pragma once
// Ring of plane requests between the window thread (producer) and the
// session worker (consumer).  Bursts collapse into one merged state per pass.
//
// No request is ever lost or overwritten: when every slot holds a request
// the worker has not read, Acquire waits until the worker frees one.  The
// worker never waits for a producer, so a producer blocked in Acquire while
// the worker sits in a slow board call simply resumes after the next pass.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "capture/plane_state.h"

namespace capture {

// Marks a slot that a sweep reclaimed while its writer might still be
// inside it.  The worker treats it as free; it is handed out again only
// once its writer has published it and the worker has merged that.
constexpr int32_t kSlotOrphanBit = 0x100;
constexpr int32_t kSlotOrphan = kSlotOrphanBit | kSlotFree;
constexpr int32_t kSlotLateReady = kSlotOrphanBit | kSlotReady;

class PlaneRequestQueue {
 public:
  static constexpr int kSlotCount = 100;

  PlaneRequestQueue();
  PlaneRequestQueue(const PlaneRequestQueue&) = delete;
  PlaneRequestQueue& operator=(const PlaneRequestQueue&) = delete;

  // Window thread: the next slot, marked being-written, with flags and force
  // cleared (the body keeps its previous values).  The caller fills the
  // groups it changes, ORs their bits into body.flags, sets force and then
  // calls Publish.  Waits while every slot holds an unread request.
  PlaneRequest* Acquire();
  // The writer's last store (release).  A slot a sweep took away meanwhile
  // becomes late-ready and is merged by the next pass all the same.
  static void Publish(PlaneRequest& slot);

  // Worker thread: merges the ready requests into the merged state and
  // sweeps half-written slots.  On true, MergedForce() and Merged() describe
  // the batch.
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
  // Producers currently waiting in Acquire for a free slot.
  int WaitingProducers() const { return waiting_.load(std::memory_order_acquire); }

 private:
  // Newest first: groups of `slot` not yet taken in this pass go into merged_.
  void MergeSlot(PlaneRequest& slot, uint32_t& taken);
  // Frees a merged slot for the producers.
  static void Release(PlaneRequest& slot);
  // Ages half-written slots and reclaims them at the second sweep; true
  // when it reclaimed one.
  bool Sweep();
  void WakeProducers();

  std::mutex lock_;                   // taken by Acquire only
  std::atomic<PlaneRequest*> write_;  // last slot handed out
  std::atomic<PlaneRequest*> read_;   // last slot merged (or skipped)
  PlaneRequest slots_[kSlotCount];
  int32_t mergedForce_ = 0;
  PlaneState merged_;
  PlaneState applied_;

  // Producers waiting for a free slot sleep here; the worker only takes
  // wakeLock_ for the moment of the notification.
  std::mutex wakeLock_;
  std::condition_variable wake_;
  std::atomic<int> waiting_{0};
};

}  // namespace capture
