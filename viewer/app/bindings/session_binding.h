#pragma once
// The frame's device session and plane ports on the capture session.
#include "app/frame_ports.h"
#include "capture/session/input_manager.h"

namespace app {

class SessionBinding : public DeviceSession {
 public:
  explicit SessionBinding(capture::InputManager& session) : session_(session) {}

  capture::VersionCheckResult CheckFirmwareVersion() override;
  capture::VersionCheckResult CheckDriverVersion() override;
  bool CreatePlane(int32_t width, int32_t height, uint32_t executionInterval, int32_t audioDelay) override;
  bool InitWatchdog(int32_t intervalMs) override;
  bool IsCallbackRegistered() const override;
  bool RegisterCallback() override;
  capture::SignalStatus QueryInputStatus(int32_t& width, int32_t& height) override;
  bool CheckWatchdog() override;
  bool Suspend() override;
  bool SetDelayTime(int32_t ms) override;
  int32_t SavedWatchdogInterval() const override;
  int32_t SavedTime() const override;
  bool IsOpened() const override;
  bool EventPending() const override;
  void SetNotificationsEnabled(bool enabled) override;

 private:
  capture::InputManager& session_;
};

// Each operation is one request of the queue, written through one writer.
class QueuePlaneOutput : public PlaneOutput {
 public:
  explicit QueuePlaneOutput(capture::PlaneRequestQueue& queue) : queue_(queue) {}

  void ShowAt(const PlaneGeometry& geometry) override;
  void Hide() override;
  void Audio(bool on) override;
  void WholeInput() override;
  void Crop(int32_t x, int32_t y, int32_t width, int32_t height) override;

 private:
  capture::PlaneRequestQueue& queue_;
};

// Stands in when no session exists: nothing to tell.
class NoPlaneOutput : public PlaneOutput {
 public:
  void ShowAt(const PlaneGeometry&) override {}
  void Hide() override {}
  void Audio(bool) override {}
  void WholeInput() override {}
  void Crop(int32_t, int32_t, int32_t, int32_t) override {}
};

}  // namespace app
