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

#include "capture/plane_request_queue.h"
#include "ovxcapture.h"

namespace environment {
class AudioContext;
}

namespace capture {

// Signal status values.
enum SignalStatus : int32_t {
  kSignalNone = 0,
  kSignalUnusable = 1,
  kSignalPresent = 2,
  kSignalReadError = 3,
};

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
  static InputManager* Create(int32_t apiLog);
  static void Destroy();
  static InputManager* Instance();

  InputManager(const InputManager&) = delete;
  InputManager& operator=(const InputManager&) = delete;

  bool OpenDevice();
  bool CloseDevice();
  bool IsOpened() const { return opened_ != 0; }

  bool SetEventCallback(OvxEventCallback callback);
  bool IsCallbackRegistered() const { return callbackRegistered_ != 0; }
  static void OnDeviceEvent(OvxEventSize* record);

  // Writes the input size on success; leaves it alone on a failed read.
  int32_t QueryInputStatus(InputSize& size);
  int32_t SignalStatusValue() const { return signalStatus_; }

  bool Suspend();
  int32_t SavedTime() const { return savedTime_; }
  int32_t SavedWatchdogInterval() const { return savedWatchdogInterval_; }

  void StartWorker();
  int32_t ExecutionInterval() const { return executionInterval_.load(std::memory_order_relaxed); }

  // Video plane.
  bool CreatePlane(const ScreenSize& screen, uint32_t executionInterval, int32_t audioDelay);
  bool QueryOutputSize();
  bool SetDelayTime(int32_t ms);
  PlaneRequestQueue& Queue() { return queue_; }

  // Watchdog.
  bool InitWatchdog(int32_t intervalMs);
  bool CheckWatchdogAtOpen();
  bool CheckWatchdog();
  const OvxWatchdogInfo& Watchdog() const { return watchdog_; }

  // Versions.
  bool GetFirmwareInfo(OvxFirmwareInfo& info);
  int CheckFirmwareVersion();
  bool GetApiVersion(uint32_t& value);
  int CheckDriverVersion();

  // Test access.
  OvxDevice* DeviceSlot() { return &device_; }
  OvxPlane* PlaneSlot() { return &plane_; }
  bool WorkerRunning() const { return worker_.joinable(); }
  uint64_t WorkerPasses() const { return passes_.load(std::memory_order_acquire); }
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
  // One pass of the worker's plane work: merge, then apply.
  void ApplyPendingRequests();
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
  int32_t signalStatus_ = kSignalNone;
  std::atomic<int32_t> executionInterval_{16};
  int32_t savedTime_ = 20;  // the AudioDelay default until Suspend reads the board's
  int32_t savedWatchdogInterval_ = 0;
  std::atomic<uint64_t> passes_{0};
  std::mutex pauseLock_;  // wakes the worker's pause when the stop flag is set
  std::condition_variable pauseWake_;
};

}  // namespace capture
