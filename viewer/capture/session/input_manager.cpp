#include "capture/session/input_manager.h"

#include <chrono>

#include "capture/plane/plane_request_writer.h"
#include "capture/reporting/api_log.h"
#include "capture/reporting/api_log_format.h"
#include "capture/reporting/capture_calls.h"
#include "environment/audio_context.h"

namespace capture {

std::atomic<uint32_t> eventPending{0};
std::atomic<uint32_t> notificationsEnabled{1};

namespace {

std::unique_ptr<InputManager>& InstanceSlot() {
  static std::unique_ptr<InputManager> instance;
  return instance;
}

constexpr uint32_t kKnownEvents =
    OVX_EVENT_INPUT_PRESENT | OVX_EVENT_NO_INPUT | OVX_EVENT_INPUT_UNUSABLE | OVX_EVENT_NOTICE;

}  // namespace

InputManager* InputManager::Create(int32_t apiLog) {
  auto& slot = InstanceSlot();
  if (slot) return nullptr;
  ApiLog::SetSwitch(apiLog);
  slot = std::make_unique<InputManager>(Key{});
  InputManager& session = *slot;
  if (!session.OpenDevice()) {
    Destroy();
    return nullptr;
  }
  session.StartWorker();
  if (!session.CheckWatchdogAtOpen()) {
    Destroy();
    return nullptr;
  }
  return slot.get();
}

void InputManager::Destroy() {
  auto& slot = InstanceSlot();
  if (!slot) return;
  slot->Dismantle();
  slot.reset();
}

InputManager* InputManager::Instance() { return InstanceSlot().get(); }

InputManager::InputManager(Key) {
  ApiLog::Open();
  audio_ = environment::AudioContext::Get();
}

InputManager::~InputManager() = default;

void InputManager::Dismantle() {
  PushHideRequest();
  StopWorker();
  CloseDevice();
  if (audio_ != nullptr) {
    environment::StopAudioPassThrough(*audio_);
    environment::AudioContext::Free();
    audio_ = nullptr;
  }
  ApiLog::Close();
}

void InputManager::PushHideRequest() { PlaneRequestWriter(queue_).Enable(false); }

bool InputManager::OpenDevice() {
  opened_ = 0;
  if (CallDevOpen(&device_) == 0) opened_ = 1;
  return opened_ != 0;
}

void InputManager::CloseDevice() {
  if (opened_ == 0) return;
  // A failed close is reported by the call; the device then counts as open.
  opened_ = CallDevClose(&device_) != 0 ? 1 : 0;
}

bool InputManager::SetEventCallback(OvxEventCallback callback) {
  if (opened_ == 0) return false;
  if (CallDevSetCb(&device_, callback) != 0) return false;
  callbackRegistered_ = callback != nullptr ? 1 : 0;
  return true;
}

SignalStatus InputManager::QueryInputStatus(InputSize& size) {
  if (opened_ == 0) return signalStatus_;
  eventPending.store(0, std::memory_order_relaxed);
  if (CallDevGetProp(&device_, OVX_DEV_PROP_INPUT, &inputStatus_) != 0) {
    signalStatus_ = kSignalReadError;
    return signalStatus_;
  }
  size.width = inputStatus_.size.x;
  size.height = inputStatus_.size.y;
  if ((inputStatus_.event & OVX_EVENT_INPUT_PRESENT) != 0) {
    signalStatus_ = kSignalPresent;
  } else if ((inputStatus_.event & OVX_EVENT_NO_INPUT) != 0) {
    signalStatus_ = kSignalNone;
  } else if ((inputStatus_.event & OVX_EVENT_INPUT_UNUSABLE) != 0) {
    signalStatus_ = kSignalUnusable;
  }
  if (inputStatus_.size.x == 0 && inputStatus_.size.y == 0) signalStatus_ = kSignalUnusable;
  return signalStatus_;
}

void InputManager::OnDeviceEvent(OvxEventSize* record) {
  if (record == nullptr || (record->event & kKnownEvents) == 0) return;
  if (ApiLog::Active()) ApiLog::Write(0, kCallbackArrived, CallbackArgs(*record));
  if (notificationsEnabled.load(std::memory_order_relaxed) != 0)
    eventPending.store(1, std::memory_order_relaxed);
}

bool InputManager::Suspend() {
  if (opened_ == 0) return false;
  bool ok = true;
  if (callbackRegistered_ != 0) ok = SetEventCallback(nullptr);
  OvxWatchdogInfo watchdog{};
  if (CallDevGetProp(&device_, OVX_DEV_PROP_WATCHDOG, &watchdog) == 0) {
    savedWatchdogInterval_ = static_cast<int32_t>(watchdog.interval);
  } else {
    ok = false;
  }
  OvxTime time{};
  if (CallDevGetProp(&device_, OVX_DEV_PROP_TIME, &time) == 0) {
    savedTime_ = time.time;
  } else {
    ok = false;
  }
  return ok;
}

void InputManager::StartWorker() {
  if (worker_.joinable()) return;
  stop_.store(0, std::memory_order_release);
  worker_ = std::thread(&InputManager::WorkerLoop, this);
}

void InputManager::StopWorker() {
  if (!worker_.joinable()) return;
  {
    std::lock_guard guard(pauseLock_);
    stop_.store(1, std::memory_order_release);
  }
  pauseWake_.notify_all();
  queue_.WakeWorker();
  worker_.join();
}

void InputManager::SetExecutionIntervalForTesting(int32_t ms) {
  executionInterval_.store(ms, std::memory_order_relaxed);
}

// Drains the queue before it ends, so that the last requests (the hide
// request of Destroy among them) reach the board before the device closes.
// After a pass that applied something the worker pauses the execution
// interval, so the board never sees passes closer together; with nothing to
// do it sleeps until the next publication instead of waking every interval.
// A half-written slot is swept on a timer, as it publishes nothing.  The
// pause ends early when stopping: an absurd interval from the registry must
// not hold up the end of the program.
void InputManager::WorkerLoop() {
  for (;;) {
    const uint64_t seen = queue_.Publications();
    const bool stopping = stop_.load(std::memory_order_acquire) != 0;
    if (stopping && queue_.AllSlotsFree()) return;
    const bool applied = ApplyPendingRequests();
    passes_.fetch_add(1, std::memory_order_acq_rel);
    const int32_t ms = executionInterval_.load(std::memory_order_relaxed);
    if (applied) {
      Pause(ms);
      // Nothing published since this pass began: the next pass would find
      // nothing, so the worker sleeps at once.
      if (stopping || queue_.Publications() != seen || !queue_.AllSlotsFree()) continue;
    } else if (stopping || !queue_.AllSlotsFree()) {
      Pause(ms > 0 ? ms : 1);
      continue;
    }
    idle_.store(true);
    queue_.WaitForPublish(seen);
    idle_.store(false);
  }
}

void InputManager::Pause(int32_t ms) {
  if (ms <= 0) return;
  std::unique_lock lock(pauseLock_);
  pauseWake_.wait_for(lock, std::chrono::milliseconds(ms),
                      [this] { return stop_.load(std::memory_order_acquire) != 0; });
}

}  // namespace capture
