#include "app/shell/session_binding.h"

namespace shell {

int32_t SessionBinding::CheckFirmwareVersion() { return session_.CheckFirmwareVersion(); }
int32_t SessionBinding::CheckDriverVersion() { return session_.CheckDriverVersion(); }

bool SessionBinding::CreatePlane(int32_t width, int32_t height, uint32_t executionInterval,
                                 int32_t audioDelay) {
  return session_.CreatePlane(capture::ScreenSize{width, height, 0}, executionInterval, audioDelay);
}

bool SessionBinding::InitWatchdog(int32_t intervalMs) { return session_.InitWatchdog(intervalMs); }
bool SessionBinding::IsCallbackRegistered() const { return session_.IsCallbackRegistered(); }
bool SessionBinding::RegisterCallback() {
  return session_.SetEventCallback(&capture::InputManager::OnDeviceEvent);
}

int32_t SessionBinding::QueryInputStatus(int32_t& width, int32_t& height) {
  capture::InputSize size{width, height};
  const int32_t status = session_.QueryInputStatus(size);
  width = size.width;
  height = size.height;
  return status;
}

bool SessionBinding::CheckWatchdog() { return session_.CheckWatchdog(); }
bool SessionBinding::Suspend() { return session_.Suspend(); }
bool SessionBinding::SetDelayTime(int32_t ms) { return session_.SetDelayTime(ms); }
int32_t SessionBinding::SavedWatchdogInterval() const { return session_.SavedWatchdogInterval(); }
int32_t SessionBinding::SavedTime() const { return session_.SavedTime(); }
bool SessionBinding::IsOpened() const { return session_.IsOpened(); }
bool SessionBinding::EventPending() const {
  return capture::eventPending.load(std::memory_order_relaxed) != 0;
}

void SessionBinding::SetNotificationsEnabled(bool enabled) {
  capture::notificationsEnabled.store(enabled ? 1 : 0, std::memory_order_relaxed);
}

namespace {

capture::PlaneRequest& Take(capture::PlaneRequestQueue& queue) {
  capture::PlaneRequest& request = *queue.Acquire();
  request.force = 0;
  return request;
}

}  // namespace

void QueuePlaneOutput::ShowAt(const app::PlaneGeometry& g) {
  capture::PlaneRequest& screen = Take(queue_);
  screen.body.screen = capture::ScreenSize{g.screenWidth, g.screenHeight, 0};
  screen.body.flags |= capture::kGroupScreenSize;
  capture::PlaneRequestQueue::Publish(screen);

  capture::PlaneRequest& angle = Take(queue_);
  angle.body.angle = g.angle;
  angle.body.flags |= capture::kGroupAngle;
  capture::PlaneRequestQueue::Publish(angle);

  capture::PlaneRequest& place = Take(queue_);
  place.body.placement = capture::PlaneRect{g.x, g.y, g.width, g.height};
  place.body.enable = 1;
  place.body.flags |= capture::kGroupPlacement | capture::kGroupEnable;
  capture::PlaneRequestQueue::Publish(place);
}

void QueuePlaneOutput::Hide() {
  capture::PlaneRequest& request = Take(queue_);
  request.body.enable = 0;
  request.body.flags |= capture::kGroupEnable;
  capture::PlaneRequestQueue::Publish(request);
}

void QueuePlaneOutput::Audio(bool on) {
  capture::PlaneRequest& request = Take(queue_);
  request.body.audio = on ? 1 : 0;
  request.body.flags |= capture::kGroupAudio;
  capture::PlaneRequestQueue::Publish(request);
}

void QueuePlaneOutput::WholeInput() {
  capture::PlaneRequest& request = Take(queue_);
  request.body.partsId = OVX_VP_PROP_PARTS_WHOLE;
  request.body.parts.top = OvxPoint{0, 0};
  request.body.parts.size = request.body.parts.parts;
  request.body.flags |= capture::kGroupParts;
  capture::PlaneRequestQueue::Publish(request);
}

void QueuePlaneOutput::Crop(int32_t x, int32_t y, int32_t width, int32_t height) {
  capture::PlaneRequest& request = Take(queue_);
  request.body.partsId = OVX_VP_PROP_PARTS_CROP;
  request.body.parts.top = OvxPoint{x, y};
  request.body.parts.size = OvxSize{width, height};
  request.body.flags |= capture::kGroupParts;
  capture::PlaneRequestQueue::Publish(request);
}

}  // namespace shell
