#include "capture/plane_request_queue.h"

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
  applied_ = InitialPlaneState();
}

PlaneRequest* PlaneRequestQueue::Acquire() {
  std::lock_guard guard(lock_);
  for (;;) {
    PlaneRequest* next = write_.load(std::memory_order_relaxed)->next;
    // The slot after the write position may be the read position (every
    // other slot unread), or hold a request published after a sweep took it
    // away; both wait for the worker.  A reclaimed slot whose writer never
    // came back is stepped over.
    auto available = [&] {
      if (next == read_.load(std::memory_order_acquire)) return false;
      const int32_t s = next->state.load(std::memory_order_acquire);
      return s == kSlotFree || s == kSlotOrphan;
    };
    if (!available()) {
      waiting_.fetch_add(1, std::memory_order_acq_rel);
      {
        std::unique_lock wait(wakeLock_);
        wake_.wait(wait, available);
      }
      waiting_.fetch_sub(1, std::memory_order_acq_rel);
    }
    if (next->state.load(std::memory_order_acquire) == kSlotOrphan) {
      write_.store(next, std::memory_order_release);
      continue;
    }
    next->force = 0;
    next->body.flags = 0;
    next->state.store(kSlotWriting, std::memory_order_relaxed);
    write_.store(next, std::memory_order_release);
    return next;
  }
}

void PlaneRequestQueue::Publish(PlaneRequest& slot) {
  int32_t current = slot.state.load(std::memory_order_relaxed);
  for (;;) {
    const int32_t target = (current & kSlotOrphanBit) != 0 ? kSlotLateReady : kSlotReady;
    if (slot.state.compare_exchange_weak(current, target, std::memory_order_release,
                                         std::memory_order_relaxed))
      return;
  }
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

bool PlaneRequestQueue::Collect() {
  PlaneRequest* const end = write_.load(std::memory_order_acquire);
  PlaneRequest* read = read_.load(std::memory_order_relaxed);
  bool merged = false;
  bool freed = false;
  int32_t force = 0;

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
    merged = freed = true;
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
    if (last->force != 0) force = last->force;
    uint32_t taken = 0;
    for (PlaneRequest* slot = last;; slot = slot->prev) {
      if (StateOf(*slot) == kSlotReady) {
        MergeSlot(*slot, taken);
        Release(*slot);
      }
      if (slot == first) break;
    }
    read = last;
    merged = freed = true;
  }
  read_.store(read, std::memory_order_release);
  mergedForce_ = force;

  if (Sweep()) freed = true;
  if (freed) WakeProducers();
  return merged;
}

bool PlaneRequestQueue::Sweep() {
  bool reclaimed = false;
  for (PlaneRequest& slot : slots_) {
    int32_t s = slot.state.load(std::memory_order_acquire);
    if (s == kSlotWriting) {
      slot.state.compare_exchange_strong(s, kSlotStale, std::memory_order_acq_rel, std::memory_order_acquire);
    } else if (s == kSlotStale) {
      // Half-written for two passes: the worker stops waiting for it.  The
      // writer keeps the body; should it publish after all, the request
      // still arrives (late-ready).
      if (slot.state.compare_exchange_strong(s, kSlotOrphan, std::memory_order_acq_rel,
                                             std::memory_order_acquire))
        reclaimed = true;
    }
  }
  return reclaimed;
}

void PlaneRequestQueue::WakeProducers() {
  { std::lock_guard guard(wakeLock_); }
  wake_.notify_all();
}

int32_t PlaneRequestQueue::MergedForce() const { return mergedForce_; }
const PlaneState& PlaneRequestQueue::Merged() const { return merged_; }
PlaneState& PlaneRequestQueue::Applied() { return applied_; }
const PlaneState& PlaneRequestQueue::Applied() const { return applied_; }

bool PlaneRequestQueue::AllSlotsFree() const {
  for (const auto& s : slots_)
    if (StateOf(s) != kSlotFree) return false;
  return true;
}

void PlaneRequestQueue::SetPlaneSize(int32_t width, int32_t height) {
  for (auto& s : slots_) {
    s.body.planeWidth = width;
    s.body.planeHeight = height;
  }
  merged_.planeWidth = applied_.planeWidth = width;
  merged_.planeHeight = applied_.planeHeight = height;
}

const PlaneRequest& PlaneRequestQueue::SlotAt(int index) const { return slots_[index]; }
PlaneRequest& PlaneRequestQueue::SlotAt(int index) { return slots_[index]; }

}  // namespace capture
