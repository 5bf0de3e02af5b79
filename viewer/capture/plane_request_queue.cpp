// Interim ring: hands out slots and drops collected requests; the merging
// arrives with the video-plane work.
#include "capture/plane_request_queue.h"

namespace capture {

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
    slots_[i].state.store(kSlotFree);
    slots_[i].body = InitialPlaneState();
    slots_[i].next = &slots_[(i + 1) % kSlotCount];
    slots_[i].prev = &slots_[(i + kSlotCount - 1) % kSlotCount];
  }
  merged_ = InitialPlaneState();
  applied_ = InitialPlaneState();
}

PlaneRequest* PlaneRequestQueue::Acquire() {
  std::lock_guard guard(lock_);
  write_ = write_->next;
  write_->state.store(kSlotWriting, std::memory_order_relaxed);
  return write_;
}

void PlaneRequestQueue::Publish(PlaneRequest& slot) { slot.state.store(kSlotReady, std::memory_order_release); }

bool PlaneRequestQueue::Collect() {
  bool any = false;
  for (auto& s : slots_) {
    if (s.state.load(std::memory_order_acquire) == kSlotReady) {
      s.state.store(kSlotFree, std::memory_order_relaxed);
      any = true;
    }
  }
  return any;
}

int32_t PlaneRequestQueue::MergedForce() const { return mergedForce_; }
const PlaneState& PlaneRequestQueue::Merged() const { return merged_; }
PlaneState& PlaneRequestQueue::Applied() { return applied_; }
const PlaneState& PlaneRequestQueue::Applied() const { return applied_; }

bool PlaneRequestQueue::AllSlotsFree() const {
  for (const auto& s : slots_)
    if (s.state.load(std::memory_order_acquire) != kSlotFree) return false;
  return true;
}

void PlaneRequestQueue::SetPlaneSize(int32_t, int32_t) {}
const PlaneRequest& PlaneRequestQueue::SlotAt(int index) const { return slots_[index]; }
PlaneRequest& PlaneRequestQueue::SlotAt(int index) { return slots_[index]; }

}  // namespace capture
