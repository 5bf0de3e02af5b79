#include "app/bindings/session_binding.h"

#include "capture/plane/plane_request_writer.h"

namespace app {

capture::VersionCheckResult SessionBinding::CheckFirmwareVersion() { return session_.CheckFirmwareVersion(); }
capture::VersionCheckResult SessionBinding::CheckDriverVersion() { return session_.CheckDriverVersion(); }

bool SessionBinding::CreatePlane(int32_t width, int32_t height, uint32_t executionInterval,
                                 int32_t audioDelay) {
  return session_.CreatePlane(capture::ScreenSize{width, height, 0}, executionInterval, audioDelay);
}

bool SessionBinding::InitWatchdog(int32_t intervalMs) { return session_.InitWatchdog(intervalMs); }
bool SessionBinding::IsCallbackRegistered() const { return session_.IsCallbackRegistered(); }
bool SessionBinding::RegisterCallback() {
  return session_.SetEventCallback(&capture::InputManager::OnDeviceEvent);
}

capture::SignalStatus SessionBinding::QueryInputStatus(int32_t& width, int32_t& height) {
  capture::InputSize size{width, height};
  const capture::SignalStatus status = session_.QueryInputStatus(size);
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

void QueuePlaneOutput::ShowAt(const PlaneGeometry& g) {
  capture::PlaneRequestWriter(queue_).Screen(capture::ScreenSize{g.screenWidth, g.screenHeight, 0});
  capture::PlaneRequestWriter(queue_).Angle(g.angle);
  capture::PlaneRequestWriter(queue_).Placement(capture::PlaneRect{g.x, g.y, g.width, g.height}).Enable(true);
}

void QueuePlaneOutput::Hide() { capture::PlaneRequestWriter(queue_).Enable(false); }

void QueuePlaneOutput::Audio(bool on) { capture::PlaneRequestWriter(queue_).Audio(on); }

void QueuePlaneOutput::WholeInput() { capture::PlaneRequestWriter(queue_).WholeInput(); }

void QueuePlaneOutput::Crop(int32_t x, int32_t y, int32_t width, int32_t height) {
  capture::PlaneRequestWriter(queue_).Crop(OvxPoint{x, y}, OvxSize{width, height});
}

}  // namespace app
