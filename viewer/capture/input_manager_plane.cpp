// Interim: the plane operations arrive with the video-plane work.
#include "capture/input_manager.h"

namespace capture {

bool InputManager::CreatePlane(const ScreenSize&, uint32_t executionInterval, int32_t) {
  executionInterval_.store(static_cast<int32_t>(executionInterval), std::memory_order_relaxed);
  return false;
}
bool InputManager::QueryOutputSize() { return false; }
bool InputManager::SetDelayTime(int32_t) { return false; }
void InputManager::ApplyPendingRequests() { queue_.Collect(); }

}  // namespace capture
