// A stand-in for the board's kernel driver, in-process, behind the
// library's transport seam. Without programming it behaves like a small
// board: register, block, DMA and configuration memory that reads back what
// was written, per-module message queues, power events, a device state.
// Each request can instead be programmed to complete at once, later, never
// (until cancelled), with a failure status, or with more or fewer bytes.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "transport_seam.h"

namespace ovxsim {

inline constexpr std::uint32_t kStatusCancelled = 0xC0000120;           // STATUS_CANCELLED
inline constexpr std::uint32_t kStatusInvalidDeviceState = 0xC0000184;  // STATUS_INVALID_DEVICE_STATE
inline constexpr std::uint32_t kStatusUnsuccessful = 0xC0000001;        // STATUS_UNSUCCESSFUL

// How one request ends.
struct Reply {
  enum class Mode { AtOnce, Later, Never, FailAtOnce };
  Mode mode = Mode::AtOnce;
  std::uint32_t status = 0;                       // completion status (Later)
  std::uint32_t error = 0;                        // the platform error (FailAtOnce)
  std::uint32_t delayMs = 0;                      // Later
  std::optional<std::uint32_t> bytes;             // reported instead of the model's count
  std::optional<std::vector<std::uint8_t>> data;  // output instead of the model's

  static Reply AtOnce() { return {}; }
  static Reply Later(std::uint32_t delayMs, std::uint32_t status = 0) {
    Reply r;
    r.mode = Mode::Later;
    r.delayMs = delayMs;
    r.status = status;
    return r;
  }
  static Reply CompleteWith(std::uint32_t status) { return Later(0, status); }
  static Reply Never() {
    Reply r;
    r.mode = Mode::Never;
    return r;
  }
  static Reply Fail(std::uint32_t error) {
    Reply r;
    r.mode = Mode::FailAtOnce;
    r.error = error;
    return r;
  }
  Reply& WithBytes(std::uint32_t n) {
    bytes = n;
    return *this;
  }
  Reply& WithData(std::vector<std::uint8_t> d) {
    data = std::move(d);
    return *this;
  }
};

struct RequestRecord {
  enum class End { Pending, Completed, Failed, Cancelled };
  std::uint64_t id = 0;
  std::uint32_t code = 0;
  bool hasInput = false;
  std::vector<std::uint8_t> input;
  bool hasOutput = false;
  std::uint32_t outSize = 0;
  std::optional<std::uint32_t> waitMs;  // the first time limit the sender waited with
  End end = End::Pending;
  std::uint32_t status = 0;
  std::uint32_t bytes = 0;
  std::thread::id thread;
};

class SimDriver final : public ovx::IDeviceTransport {
 public:
  SimDriver();
  ~SimDriver() override;
  SimDriver(const SimDriver&) = delete;
  SimDriver& operator=(const SimDriver&) = delete;

  // Paths that open; any other path fails with openError (2).
  void AddDevicePath(const std::wstring& path);
  void SetOpenError(std::uint32_t error);
  // The next NewOperation fails with error, as a failed CreateEventW would.
  void FailNextEvent(std::uint32_t error);

  // The next request with this code gets reply (first in, first out).
  void Program(std::uint32_t code, Reply reply);
  // Every request with this code that has no programmed reply.
  void SetDefault(std::uint32_t code, Reply reply);
  // Every request of the model completes later, after delayMs (slowed board).
  void SetDelayAll(std::uint32_t delayMs);

  void PostMessage(std::uint32_t moduleId, const std::vector<std::uint8_t>& message40);
  void PostPowerEvent(std::uint32_t code);
  void SetDeviceState(std::uint32_t state);
  void WriteMemory(std::uint64_t address, const std::vector<std::uint8_t>& bytes);
  std::vector<std::uint8_t> ReadMemory(std::uint64_t address, std::size_t n) const;
  std::vector<std::uint8_t> ReadConfig(std::uint32_t offset, std::size_t n) const;
  bool QueueEnabled(std::uint32_t moduleId) const;

  std::vector<RequestRecord> Requests() const;
  std::vector<RequestRecord> Requests(std::uint32_t code) const;
  std::size_t Count(std::uint32_t code) const;
  std::size_t PendingCount() const;
  std::size_t OpenHandles() const;
  // Until at least n requests with code were issued / are pending.
  bool WaitForRequests(std::uint32_t code, std::size_t n, std::uint32_t timeoutMs) const;
  bool WaitForPending(std::uint32_t code, std::size_t n, std::uint32_t timeoutMs) const;

  // Called under the driver's lock when a request begins (true) and ends
  // (false); it must not call back into the driver.
  void SetObserver(std::function<void(const RequestRecord&, bool begin)> observer);

  // IDeviceTransport
  ovx::OpenResult Open(const std::wstring& path) override;
  void Close(ovx::DeviceHandle handle) override;
  std::uint32_t NewOperation(ovx::DeviceHandle handle, std::unique_ptr<ovx::IIoOperation>* op) override;

 private:
  friend class SimOperation;
  struct Live {
    RequestRecord record;
    ovx::DeviceHandle handle = 0;
    void* out = nullptr;
    std::uint32_t outSize = 0;
    std::vector<std::uint8_t> data;  // delivered at completion
    std::uint32_t bytes = 0;
    std::uint32_t status = 0;
    bool done = false;
    enum class Waits { Nothing, Message, Power } waits = Waits::Nothing;
    std::uint32_t module = 0;
    std::optional<std::chrono::steady_clock::time_point> due;
  };
  struct Model {
    std::uint32_t error = 0;  // fails at once
    std::uint32_t status = 0;
    std::vector<std::uint8_t> data;
    Live::Waits waits = Live::Waits::Nothing;
    std::uint32_t module = 0;
  };

  ovx::IoIssue Issue(std::uint64_t id, ovx::DeviceHandle handle, std::uint32_t code, const void* in,
                     std::uint32_t inSize, void* out, std::uint32_t outSize);
  bool Wait(std::uint64_t id, std::uint32_t timeoutMs);
  void CancelThread(ovx::DeviceHandle handle, std::thread::id thread);
  void CancelOne(std::uint64_t id);
  ovx::IoCompletion Collect(std::uint64_t id);
  void Forget(std::uint64_t id);

  Model RunModel(std::uint32_t code, const std::vector<std::uint8_t>& in, std::uint32_t outSize);
  void CompleteLocked(Live& live, std::uint32_t status, const std::vector<std::uint8_t>& data,
                      std::optional<std::uint32_t> bytes, RequestRecord::End end);
  void TimerLoop();

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::condition_variable timer_;
  bool stopping_ = false;

  std::set<std::wstring> paths_;
  std::uint32_t openError_ = 2;
  std::uint32_t nextEventError_ = 0;
  std::set<ovx::DeviceHandle> open_;
  ovx::DeviceHandle nextHandle_ = 0x100;

  std::map<std::uint32_t, std::deque<Reply>> programmed_;
  std::map<std::uint32_t, Reply> defaults_;
  std::optional<std::uint32_t> delayAll_;

  std::uint64_t nextId_ = 1;
  std::map<std::uint64_t, Live> live_;
  std::vector<RequestRecord> finished_;

  std::map<std::uint64_t, std::uint8_t> memory_;
  std::map<std::uint32_t, std::uint8_t> config_;
  std::uint64_t dmaAddress_ = 0;
  std::uint32_t deviceState_ = 0;
  std::set<std::uint32_t> enabledQueues_;
  std::map<std::uint32_t, std::deque<std::vector<std::uint8_t>>> messages_;
  std::deque<std::uint32_t> powerEvents_;
  std::function<void(const RequestRecord&, bool)> observer_;

  std::thread timerThread_;
};

}  // namespace ovxsim
