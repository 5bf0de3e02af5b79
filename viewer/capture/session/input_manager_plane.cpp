// The session's video plane: created once per session, then driven by the
// worker from the merged plane requests.
#include <cstdint>

#include "capture/plane/plane_apply.h"
#include "capture/plane/plane_request_writer.h"
#include "capture/reporting/capture_calls.h"
#include "capture/session/input_manager.h"

namespace capture {

bool InputManager::CreatePlane(const ScreenSize& screen, uint32_t executionInterval, int32_t audioDelay) {
  if (opened_ == 0) return false;
  // The registry's DWORD is a signed interval: 0xFFFFFFFF is -1, no pause.
  executionInterval_.store(static_cast<int32_t>(executionInterval), std::memory_order_relaxed);
  if (CallVpCreate(&device_, &plane_) != 0) return false;
  if (!QueryOutputSize()) return false;
  if (!SetDelayTime(audioDelay)) return false;
  const OvxPlaneIndex index{0};
  if (CallVpSetProp(&device_, &plane_, OVX_VP_PROP_INDEX, &index) != 0) return false;

  // Tells the board everything once: hidden, whole picture, no audio.
  PlaneRequestWriter(queue_)
      .Placement({1, 1, 1, 1})
      .Angle(0)
      .WholeInput()
      .Screen(screen)
      .Enable(false)
      .Audio(false)
      .Force();

  signalStatus_ = kSignalPresent;
  return true;
}

bool InputManager::QueryOutputSize() {
  if (opened_ == 0) return false;
  OvxEventSize output{};
  if (CallDevGetProp(&device_, OVX_DEV_PROP_OUTPUT, &output) != 0) return false;
  queue_.SetPlaneSize(output.size.x, output.size.y);
  return true;
}

bool InputManager::SetDelayTime(int32_t ms) {
  if (opened_ == 0) return false;
  const OvxTime time{ms};
  return CallDevSetProp(&device_, OVX_DEV_PROP_TIME, &time) == 0;
}

bool InputManager::ApplyPendingRequests() {
  if (!queue_.Collect()) return false;
  const PlaneState wanted = queue_.Merged();
  // A failed property call is reported where it happens; the next request
  // that touches the group, or a forced one, sends it again.
  static_cast<void>(
      ApplyPlaneState(queue_.MergedForce(), &device_, &plane_, audio_, queue_.Applied(), wanted));
  return true;
}

}  // namespace capture
