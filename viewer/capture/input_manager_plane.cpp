// The session's video plane: created once per session, then driven by the
// worker from the merged plane requests.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "capture/capture_calls.h"
#include "capture/input_manager.h"
#include "capture/plane_apply.h"

namespace capture {

bool InputManager::CreatePlane(const ScreenSize& screen, uint32_t executionInterval, int32_t audioDelay) {
  if (opened_ == 0) return false;
  // An interval beyond the 32-bit range would turn negative: no pause at all.
  const uint32_t interval = std::min<uint32_t>(executionInterval, std::numeric_limits<int32_t>::max());
  executionInterval_.store(static_cast<int32_t>(interval), std::memory_order_relaxed);
  if (CallVpCreate(&device_, &plane_) != 0) return false;
  if (!QueryOutputSize()) return false;
  if (!SetDelayTime(audioDelay)) return false;
  const OvxPlaneIndex index{0};
  if (CallVpSetProp(&device_, &plane_, OVX_VP_PROP_INDEX, &index) != 0) return false;

  // Tells the board everything once: hidden, whole picture, no audio.
  PlaneRequest* request = queue_.Acquire();
  PlaneState& body = request->body;
  body.placement = {1, 1, 1, 1};
  body.angle = 0;
  body.partsId = OVX_VP_PROP_PARTS_WHOLE;
  body.screen = screen;
  body.enable = 0;
  body.audio = 0;
  body.flags |= kGroupPlacement | kGroupAngle | kGroupParts | kGroupEnable | kGroupScreenSize | kGroupAudio;
  request->force = 1;
  PlaneRequestQueue::Publish(*request);

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

void InputManager::ApplyPendingRequests() {
  if (!queue_.Collect()) return;
  const PlaneState wanted = queue_.Merged();
  ApplyPlaneState(queue_.MergedForce(), &device_, &plane_, audio_, queue_.Applied(), wanted);
}

}  // namespace capture
