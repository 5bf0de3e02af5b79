#include "capture/plane/plane_request_queue.h"

namespace capture {
namespace {

constexpr int32_t kStateMask = 0xFF;
constexpr uint32_t kAllGroups =
    kGroupPlacement | kGroupAngle | kGroupParts | kGroupEnable | kGroupScreenSize | kGroupAudio;

int32_t StateOf(const PlaneRequest& slot) { return slot.state.load(std::memory_order_acquire) & kStateMask; }

}  // namespace

PlaneState InitialPlaneState() {
  PlaneState s{};
  s.placement = {1, 1, 1, 1};
  s.parts.parts = {3840, 2160};
  s.partsId = OVX_VP_PROP_PARTS_WHOLE;
  return s;
}

PlaneRequestQueue::PlaneRequestQueue() : write_(&slots_[0]), read_(&slots_[0]) {
  for (int i = 0; i < kSlotCount; ++i) {
    slots_[i].index = i;
    slots_[i].force = 0;
    slots_[i].state.store(kSlotFree, std::memory_order_relaxed);
    slots_[i].body = InitialPlaneState();
    slots_[i].next = &slots_[(i + 1) % kSlotCount];
    slots_[i].prev = &slots_[(i + kSlotCount - 1) % kSlotCount];
  }
  merged_ = InitialPlaneState();
  batch_ = InitialPlaneState();
  applied_ = InitialPlaneState();
}

PlaneRequest* PlaneRequestQueue::Acquire() {
  std::lock_guard guard(lock_);
  for (;;) {
    PlaneRequest* const next = write_->next;
    if (next == read_) {
      FoldOldest();
      continue;
    }
    const int32_t s = next->state.load(std::memory_order_acquire);
    if (s == kSlotLateReady) {
      // Published after a sweep or a fold gave it up: it is older than
      // anything still unread, so it goes in first.
      Fold(*next);
    } else if (s != kSlotFree) {
      // Given up while its writer never came back: stepped over.
      write_ = next;
      continue;
    }
    next->force = 0;
    next->body.flags = 0;
    next->state.store(kSlotWriting, std::memory_order_relaxed);
    write_ = next;
    return next;
  }
}

void PlaneRequestQueue::Publish(PlaneRequest& slot) {
  int32_t current = slot.state.load(std::memory_order_relaxed);
  for (;;) {
    const int32_t target = (current & kSlotOrphanBit) != 0 ? kSlotLateReady : kSlotReady;
    if (slot.state.compare_exchange_weak(current, target, std::memory_order_release,
                                         std::memory_order_relaxed))
      break;
  }
  // Pairs with WaitForPublish: either the worker sees the new count or this
  // sees it asleep (both sequentially consistent).
  publications_.fetch_add(1);
  if (sleeping_.load()) {
    { std::lock_guard guard(wakeLock_); }
    wake_.notify_one();
  }
}

void PlaneRequestQueue::WaitForPublish(uint64_t seen) {
  std::unique_lock wait(wakeLock_);
  sleeping_.store(true);
  wake_.wait(wait, [&] { return publications_.load() != seen; });
  sleeping_.store(false);
}

void PlaneRequestQueue::WakeWorker() {
  publications_.fetch_add(1);
  { std::lock_guard guard(wakeLock_); }
  wake_.notify_all();
}

void PlaneRequestQueue::MergeSlot(PlaneRequest& slot, uint32_t& taken) {
  const PlaneState& body = slot.body;
  const uint32_t fresh = body.flags & kAllGroups & ~taken;
  if ((fresh & kGroupPlacement) != 0) merged_.placement = body.placement;
  if ((fresh & kGroupAngle) != 0) merged_.angle = body.angle;
  if ((fresh & kGroupParts) != 0) {
    merged_.parts = body.parts;
    if (body.partsId == OVX_VP_PROP_PARTS_WHOLE || body.partsId == OVX_VP_PROP_PARTS_CROP)
      merged_.partsId = body.partsId;
  }
  if ((fresh & kGroupEnable) != 0) merged_.enable = body.enable == 1 ? 1 : 0;
  if ((fresh & kGroupScreenSize) != 0) merged_.screen = body.screen;
  if ((fresh & kGroupAudio) != 0) merged_.audio = body.audio;
  merged_.flags |= fresh;
  taken |= fresh;
}

void PlaneRequestQueue::Release(PlaneRequest& slot) {
  slot.body.flags = 0;
  slot.force = 0;
  slot.state.store(kSlotFree, std::memory_order_release);
}

void PlaneRequestQueue::Fold(PlaneRequest& slot) {
  uint32_t taken = 0;
  MergeSlot(slot, taken);
  if (slot.force != 0) foldedForce_ = 1;
  foldedAny_ = true;
  Release(slot);
  folded_.fetch_add(1, std::memory_order_relaxed);
}

void PlaneRequestQueue::FoldOldest() {
  PlaneRequest* const oldest = read_->next;
  int32_t s = oldest->state.load(std::memory_order_acquire);
  for (;;) {
    if ((s & kStateMask) == kSlotReady) {
      Fold(*oldest);
      break;
    }
    if ((s & kStateMask) == kSlotFree) break;  // given up before: nothing to merge
    // Its writer still holds it: the request arrives by the late path once
    // published, as after a sweep.
    if (oldest->state.compare_exchange_weak(s, kSlotOrphan, std::memory_order_acq_rel,
                                            std::memory_order_acquire))
      break;
  }
  read_ = oldest;
}

bool PlaneRequestQueue::Collect() {
  std::lock_guard guard(lock_);
  PlaneRequest* const end = write_;
  PlaneRequest* read = read_;
  bool merged = foldedAny_;
  int32_t force = foldedForce_;
  foldedAny_ = false;
  foldedForce_ = 0;

  // Reclaimed slots at the head would block every later request.
  while (read != end && StateOf(*read->next) == kSlotFree) read = read->next;

  // Requests published after the walk had passed their reclaimed slot.  Their
  // writers published them before anything newer of theirs, so they go in
  // first and the walk's requests override them.
  bool pending[kSlotCount] = {};
  for (PlaneRequest* slot = read; slot != end;) {
    slot = slot->next;
    pending[slot->index] = true;
  }
  uint32_t lateTaken = 0;
  for (PlaneRequest& slot : slots_) {
    if (pending[slot.index] || slot.state.load(std::memory_order_acquire) != kSlotLateReady) continue;
    MergeSlot(slot, lateTaken);
    if (slot.force != 0) force = 1;
    Release(slot);
    merged = true;
  }

  if (read != end && StateOf(*read->next) == kSlotReady) {
    PlaneRequest* const first = read->next;
    // Consecutive ready slots, stepping over reclaimed ones; a forced slot
    // closes the batch.  Only a ready slot's force may be read: a reclaimed
    // slot's writer may still be filling it.
    PlaneRequest* last = first;
    for (PlaneRequest* probe = first; last->force == 0 && probe != end;) {
      PlaneRequest* const next = probe->next;
      const int32_t s = StateOf(*next);
      if (s == kSlotReady) {
        last = probe = next;
      } else if (s == kSlotFree) {
        probe = next;
      } else {
        break;
      }
    }
    if (last->force != 0) force = 1;
    uint32_t taken = 0;
    for (PlaneRequest* slot = last;; slot = slot->prev) {
      if (StateOf(*slot) == kSlotReady) {
        MergeSlot(*slot, taken);
        Release(*slot);
      }
      if (slot == first) break;
    }
    read = last;
    merged = true;
  }
  read_ = read;
  mergedForce_ = force;
  Sweep();
  if (merged) batch_ = merged_;
  return merged;
}

void PlaneRequestQueue::Sweep() {
  for (PlaneRequest& slot : slots_) {
    int32_t s = slot.state.load(std::memory_order_acquire);
    if (s == kSlotWriting) {
      slot.state.compare_exchange_strong(s, kSlotStale, std::memory_order_acq_rel, std::memory_order_acquire);
    } else if (s == kSlotStale) {
      // Half-written for two passes: the worker stops waiting for it.  The
      // writer keeps the body; should it publish after all, the request
      // still arrives (late-ready).
      slot.state.compare_exchange_strong(s, kSlotOrphan, std::memory_order_acq_rel,
                                         std::memory_order_acquire);
    }
  }
}

int32_t PlaneRequestQueue::MergedForce() const { return mergedForce_; }
const PlaneState& PlaneRequestQueue::Merged() const { return batch_; }
PlaneState& PlaneRequestQueue::Applied() { return applied_; }
const PlaneState& PlaneRequestQueue::Applied() const { return applied_; }

bool PlaneRequestQueue::AllSlotsFree() const {
  std::lock_guard guard(lock_);
  if (foldedAny_) return false;
  for (const auto& s : slots_)
    if (StateOf(s) != kSlotFree) return false;
  return true;
}

void PlaneRequestQueue::SetPlaneSize(int32_t width, int32_t height) {
  std::lock_guard guard(lock_);
  for (auto& s : slots_) {
    s.body.planeWidth = width;
    s.body.planeHeight = height;
  }
  merged_.planeWidth = batch_.planeWidth = applied_.planeWidth = width;
  merged_.planeHeight = batch_.planeHeight = applied_.planeHeight = height;
}

const PlaneRequest& PlaneRequestQueue::SlotAt(int index) const { return slots_[index]; }
PlaneRequest& PlaneRequestQueue::SlotAt(int index) { return slots_[index]; }

}  // namespace capture
