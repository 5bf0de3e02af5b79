#pragma once
// Ring of plane requests between the window thread (producer) and the
// session worker (consumer).  Bursts collapse into one merged state per pass.
//
// The window thread never waits for the worker.  When every slot holds a
// request the worker has not read, Acquire folds the oldest unread request
// into the merged state exactly as the worker's next pass would have: per
// group the newer request wins, the parts id only when it is 3 or 5, enable
// is 1 or 0, and the folded request's force is ORed into the next batch's.
// No request is lost; the board ends up with what it would have got had the
// worker read every request, only in fewer passes.  A slot at the head that
// its writer still holds is given up to the late path below.
//
// Acquire (with its fold) and Collect take the same lock; it is held for
// the merge of slots only, never across a board call.  Requests are
// written through PlaneRequestWriter, which publishes them.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "capture/plane/plane_state.h"

namespace capture {

// Marks a slot that a sweep reclaimed while its writer might still be
// inside it.  The worker treats it as free; it is handed out again only
// once its writer has published it and that request has been merged.
constexpr int32_t kSlotOrphanBit = 0x100;
constexpr int32_t kSlotOrphan = kSlotOrphanBit | kSlotFree;
constexpr int32_t kSlotLateReady = kSlotOrphanBit | kSlotReady;

class PlaneRequestQueue {
 public:
  static constexpr int kSlotCount = 100;

  PlaneRequestQueue();
  PlaneRequestQueue(const PlaneRequestQueue&) = delete;
  PlaneRequestQueue& operator=(const PlaneRequestQueue&) = delete;

  // Worker thread: merges the ready requests (and any the producers folded)
  // and sweeps half-written slots.  On true, MergedForce() and Merged()
  // describe the batch; they stay as they are until the next Collect.
  [[nodiscard]] bool Collect();
  [[nodiscard]] int32_t MergedForce() const;
  [[nodiscard]] const PlaneState& Merged() const;
  [[nodiscard]] PlaneState& Applied();
  [[nodiscard]] const PlaneState& Applied() const;

  // True when no slot holds a request (every state is free).
  [[nodiscard]] bool AllSlotsFree() const;

  // Worker thread: the count of publications so far; WaitForPublish(count)
  // sleeps until it moves on (a publication, or WakeWorker).
  [[nodiscard]] uint64_t Publications() const { return publications_.load(); }
  void WaitForPublish(uint64_t seen);
  // Ends a WaitForPublish at once (the session's stop).
  void WakeWorker();

  // Plane coordinate space, written into every slot and both states before
  // any request is pending.
  void SetPlaneSize(int32_t width, int32_t height);

  // Test access.
  [[nodiscard]] const PlaneRequest& SlotAt(int index) const;
  [[nodiscard]] PlaneRequest& SlotAt(int index);
  // Requests folded by Acquire because the ring was full.
  [[nodiscard]] uint64_t FoldedRequests() const { return folded_.load(); }

 private:
  friend class PlaneRequestWriter;
  friend struct PlaneQueueTestAccess;

  // The next slot, marked being-written, with flags and force cleared (the
  // body keeps its previous values).  Never waits.
  [[nodiscard]] PlaneRequest* Acquire();
  // The writer's last store (release).  A slot a sweep took away meanwhile
  // becomes late-ready and is merged by the next pass all the same.
  void Publish(PlaneRequest& slot);

  // Newest first: groups of `slot` not yet taken in this pass go into merged_.
  void MergeSlot(PlaneRequest& slot, uint32_t& taken);
  // Frees a merged slot for the producers.
  static void Release(PlaneRequest& slot);
  // Full ring (lock held): frees the oldest unread slot by folding it, or by
  // giving it up when its writer still holds it.
  void FoldOldest();
  // A ready slot taken out of order (lock held): merged now, its force kept
  // for the next batch.
  void Fold(PlaneRequest& slot);
  // Ages half-written slots and reclaims them at the second sweep.
  void Sweep();

  mutable std::mutex lock_;  // Acquire and Collect
  PlaneRequest* write_;      // last slot handed out
  PlaneRequest* read_;       // last slot merged (or skipped)
  PlaneRequest slots_[kSlotCount];
  PlaneState merged_;        // everything merged so far (lock_)
  int32_t foldedForce_ = 0;  // force of folded requests not yet collected (lock_)
  bool foldedAny_ = false;   // a fold happened since the last Collect (lock_)
  // The last batch as Collect left it; the worker alone reads and writes it.
  int32_t mergedForce_ = 0;
  PlaneState batch_;
  PlaneState applied_;
  std::atomic<uint64_t> folded_{0};

  // The idle worker sleeps here until a publication.
  std::mutex wakeLock_;
  std::condition_variable wake_;
  std::atomic<uint64_t> publications_{0};
  std::atomic<bool> sleeping_{false};
};

}  // namespace capture
