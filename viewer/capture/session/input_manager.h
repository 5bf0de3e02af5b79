#pragma once
// The one device session of the viewer: opens the capture board, registers
// the event callback, reads the signal status, and runs the worker that
// applies plane requests.  At most one instance per process; every
// operation but OnDeviceEvent runs on the window thread.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "capture/plane/plane_request_queue.h"
#include "capture/result_codes.h"
#include "ovxcapture.h"

namespace environment {
class AudioContext;
}

namespace capture {

// Raised by device callbacks while notifications are enabled; the frame polls
// and clears it through QueryInputStatus.
extern std::atomic<uint32_t> eventPending;
extern std::atomic<uint32_t> notificationsEnabled;

struct InputSize {
  int32_t width = 0;
  int32_t height = 0;
};

class InputManager {
 public:
  // Null when an instance exists already, or when the device does not open or
  // the first watchdog read fails (the half-built instance is dismantled).
  [[nodiscard]] static InputManager* Create(int32_t apiLog);
  static void Destroy();
  [[nodiscard]] static InputManager* Instance();

  InputManager(const InputManager&) = delete;
  InputManager& operator=(const InputManager&) = delete;

  [[nodiscard]] bool OpenDevice();
  void CloseDevice();
  [[nodiscard]] bool IsOpened() const { return opened_ != 0; }

  [[nodiscard]] bool SetEventCallback(OvxEventCallback callback);
  [[nodiscard]] bool IsCallbackRegistered() const { return callbackRegistered_ != 0; }
  static void OnDeviceEvent(OvxEventSize* record);

  // Writes the input size on success; leaves it alone on a failed read.
  [[nodiscard]] SignalStatus QueryInputStatus(InputSize& size);
  [[nodiscard]] SignalStatus SignalStatusValue() const { return signalStatus_; }

  [[nodiscard]] bool Suspend();
  [[nodiscard]] int32_t SavedTime() const { return savedTime_; }
  [[nodiscard]] int32_t SavedWatchdogInterval() const { return savedWatchdogInterval_; }

  void StartWorker();
  // Milliseconds between worker passes that applied something; 0 or less:
  // no pause.
  [[nodiscard]] int32_t ExecutionInterval() const {
    return executionInterval_.load(std::memory_order_relaxed);
  }

  // Video plane.  The interval is the registry's DWORD as it stands; it is
  // read back as a signed 32-bit value.
  [[nodiscard]] bool CreatePlane(const ScreenSize& screen, uint32_t executionInterval, int32_t audioDelay);
  [[nodiscard]] bool QueryOutputSize();
  [[nodiscard]] bool SetDelayTime(int32_t ms);
  [[nodiscard]] PlaneRequestQueue& Queue() { return queue_; }

  // Watchdog.
  [[nodiscard]] bool InitWatchdog(int32_t intervalMs);
  [[nodiscard]] bool CheckWatchdogAtOpen();
  [[nodiscard]] bool CheckWatchdog();
  [[nodiscard]] const OvxWatchdogInfo& Watchdog() const { return watchdog_; }

  // Versions.
  [[nodiscard]] bool GetFirmwareInfo(OvxFirmwareInfo& info);
  [[nodiscard]] VersionCheckResult CheckFirmwareVersion();
  [[nodiscard]] bool GetApiVersion(uint32_t& value);
  [[nodiscard]] VersionCheckResult CheckDriverVersion();

  // Test access.
  [[nodiscard]] OvxDevice* DeviceSlot() { return &device_; }
  [[nodiscard]] OvxPlane* PlaneSlot() { return &plane_; }
  [[nodiscard]] bool WorkerRunning() const { return worker_.joinable(); }
  [[nodiscard]] uint64_t WorkerPasses() const { return passes_.load(std::memory_order_acquire); }
  // The worker sleeps until the next publication: everything published
  // before has been applied when the queue is also empty.
  [[nodiscard]] bool WorkerIdle() const { return idle_.load(); }
  void SetExecutionIntervalForTesting(int32_t ms);

  struct Key {
   private:
    Key() = default;
    friend class InputManager;
  };
  explicit InputManager(Key);
  ~InputManager();

 private:
  void Dismantle();
  void StopWorker();
  void WorkerLoop();
  // One pass of the worker's plane work: merge, then apply; false when
  // nothing was ready.
  bool ApplyPendingRequests();
  // The worker's pause, ended early by the stop flag.
  void Pause(int32_t ms);
  void PushHideRequest();

  int32_t opened_ = 0;
  int32_t callbackRegistered_ = 0;
  OvxDevice device_ = 0;
  OvxPlane plane_ = 0;
  OvxEventSize inputStatus_{};
  OvxWatchdogInfo watchdog_{};
  environment::AudioContext* audio_ = nullptr;
  std::thread worker_;
  PlaneRequestQueue queue_;
  std::atomic<int32_t> stop_{0};
  SignalStatus signalStatus_ = kSignalNone;
  std::atomic<int32_t> executionInterval_{16};
  int32_t savedTime_ = 20;  // the AudioDelay default until Suspend reads the board's
  int32_t savedWatchdogInterval_ = 0;
  std::atomic<uint64_t> passes_{0};
  std::atomic<bool> idle_{false};
  std::mutex pauseLock_;  // wakes the worker's pause when the stop flag is set
  std::condition_variable pauseWake_;
};

}  // namespace capture
