#include "sim_driver.h"

#include <algorithm>
#include <cstring>

#include "ioctl.h"

namespace ovxsim {

using namespace ovx::ioctl;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::uint32_t kErrorInvalidHandle = 6;
constexpr std::uint32_t kErrorInvalidParameter = 87;
constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

template <class T>
bool ReadRecord(const std::vector<std::uint8_t>& in, T* out) {
  if (in.size() < sizeof(T)) return false;
  std::memcpy(out, in.data(), sizeof(T));
  return true;
}

}  // namespace

class SimOperation final : public ovx::IIoOperation {
 public:
  SimOperation(SimDriver& driver, ovx::DeviceHandle handle, std::uint64_t id)
      : driver_(driver), handle_(handle), id_(id) {}
  ~SimOperation() override { driver_.Forget(id_); }
  SimOperation(const SimOperation&) = delete;
  SimOperation& operator=(const SimOperation&) = delete;

  ovx::IoIssue Issue(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
                     std::uint32_t outSize) override {
    return driver_.Issue(id_, handle_, code, in, inSize, out, outSize);
  }
  bool Wait(std::uint32_t timeoutMs) override { return driver_.Wait(id_, timeoutMs); }
  void Cancel() override { driver_.CancelThread(handle_, std::this_thread::get_id()); }
  void CancelFromOtherThread() override { driver_.CancelOne(id_); }
  ovx::IoCompletion Collect() override { return driver_.Collect(id_); }

 private:
  SimDriver& driver_;
  ovx::DeviceHandle handle_;
  std::uint64_t id_;
};

SimDriver::SimDriver() : timerThread_([this] { TimerLoop(); }) {}

SimDriver::~SimDriver() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  timer_.notify_all();
  timerThread_.join();
}

void SimDriver::AddDevicePath(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  paths_.insert(path);
}

void SimDriver::SetOpenError(std::uint32_t error) {
  std::lock_guard lock(mutex_);
  openError_ = error;
}

void SimDriver::FailNextEvent(std::uint32_t error) {
  std::lock_guard lock(mutex_);
  nextEventError_ = error;
}

void SimDriver::Program(std::uint32_t code, Reply reply) {
  std::lock_guard lock(mutex_);
  programmed_[code].push_back(std::move(reply));
}

void SimDriver::SetDefault(std::uint32_t code, Reply reply) {
  std::lock_guard lock(mutex_);
  defaults_[code] = std::move(reply);
}

void SimDriver::SetDelayAll(std::uint32_t delayMs) {
  std::lock_guard lock(mutex_);
  delayAll_ = delayMs;
}

void SimDriver::SetObserver(std::function<void(const RequestRecord&, bool)> observer) {
  std::lock_guard lock(mutex_);
  observer_ = std::move(observer);
}

ovx::OpenResult SimDriver::Open(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  if (paths_.count(path) == 0) return {ovx::DeviceOwner(), openError_};
  const ovx::DeviceHandle h = nextHandle_++;
  open_.insert(h);
  return {ovx::DeviceOwner(h), 0};
}

void SimDriver::Close(ovx::DeviceHandle handle) {
  {
    std::lock_guard lock(mutex_);
    open_.erase(handle);
    // Closing the last handle ends what is still pending on it.
    for (auto& [id, live] : live_)
      if (live.handle == handle && !live.done)
        CompleteLocked(live, kStatusCancelled, {}, 0u, RequestRecord::End::Cancelled);
  }
  changed_.notify_all();
}

std::uint32_t SimDriver::NewOperation(ovx::DeviceHandle handle, std::unique_ptr<ovx::IIoOperation>* op) {
  std::uint64_t id = 0;
  {
    std::lock_guard lock(mutex_);
    if (nextEventError_ != 0) {
      const std::uint32_t error = nextEventError_;
      nextEventError_ = 0;
      return error;
    }
    id = nextId_++;
  }
  *op = std::make_unique<SimOperation>(*this, handle, id);
  return 0;
}

SimDriver::Model SimDriver::RunModel(std::uint32_t code, const std::vector<std::uint8_t>& in,
                                     std::uint32_t outSize) {
  Model m;
  auto bad = [&m] {
    m.error = kErrorInvalidParameter;
    return m;
  };
  auto readMemory = [this](std::uint64_t address, std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
      const auto it = memory_.find(address + i);
      bytes[i] = it == memory_.end() ? 0 : it->second;
    }
    return bytes;
  };
  auto writeMemory = [this](std::uint64_t address, const std::uint8_t* bytes, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) memory_[address + i] = bytes[i];
  };

  switch (code) {
    case IOCTL_READ32:
    case IOCTL_READ64: {
      AddressRecord r{};
      const std::size_t width = code == IOCTL_READ32 ? 4 : 8;
      if (!ReadRecord(in, &r) || outSize < width) return bad();
      m.data = readMemory(r.DevAddr, width);
      return m;
    }
    case IOCTL_WRITE32: {
      Write32Record r{};
      if (!ReadRecord(in, &r)) return bad();
      writeMemory(r.DevAddr, reinterpret_cast<const std::uint8_t*>(&r.Data), 4);
      return m;
    }
    case IOCTL_WRITE64: {
      Write64Record r{};
      if (!ReadRecord(in, &r)) return bad();
      writeMemory(r.DevAddr, reinterpret_cast<const std::uint8_t*>(&r.Data), 8);
      return m;
    }
    case IOCTL_READ_BLOCK: {
      BlockRecord r{};
      if (!ReadRecord(in, &r) || outSize < r.DataSize) return bad();
      m.data = readMemory(r.DevAddr, r.DataSize);
      return m;
    }
    case IOCTL_WRITE_BLOCK: {
      BlockRecord r{};
      if (!ReadRecord(in, &r) || in.size() != sizeof r + r.DataSize) return bad();
      writeMemory(r.DevAddr, in.data() + sizeof r, r.DataSize);
      return m;
    }
    case IOCTL_SET_DMA_READ:
    case IOCTL_SET_DMA_WRITE: {
      AddressRecord r{};
      if (!ReadRecord(in, &r)) return bad();
      dmaAddress_ = r.DevAddr;
      return m;
    }
    case IOCTL_DMA_READ:
      m.data = readMemory(dmaAddress_, outSize);
      return m;
    case IOCTL_DMA_WRITE:
      writeMemory(dmaAddress_, in.data(), in.size());
      return m;
    case IOCTL_READ_CONFIG: {
      ConfigRecord r{};
      if (!ReadRecord(in, &r) || outSize < r.DataSize) return bad();
      m.data.resize(r.DataSize);
      for (std::uint32_t i = 0; i < r.DataSize; ++i) {
        const auto it = config_.find(r.ConfOffset + i);
        m.data[i] = it == config_.end() ? 0 : it->second;
      }
      return m;
    }
    case IOCTL_WRITE_CONFIG: {
      ConfigRecord r{};
      if (!ReadRecord(in, &r) || in.size() != sizeof r + r.DataSize) return bad();
      for (std::uint32_t i = 0; i < r.DataSize; ++i) config_[r.ConfOffset + i] = in[sizeof r + i];
      return m;
    }
    case IOCTL_REQUEST_COMMAND: {
      CommandRequest q{};
      if (!ReadRecord(in, &q) || outSize < sizeof(CommandResponse)) return bad();
      CommandResponse a{};
      if (q.Command == kCommandDeviceState) a.DeviceState = deviceState_;
      m.data.resize(sizeof a);
      std::memcpy(m.data.data(), &a, sizeof a);
      return m;
    }
    case IOCTL_SYSTEM_RESET:
    case IOCTL_DEVICE_RESTART:
      return m;
    case IOCTL_MESSAGE_QUEUE_CONTROL: {
      QueueControlRecord r{};
      if (!ReadRecord(in, &r)) return bad();
      if (r.Enable != 0) {
        enabledQueues_.insert(r.ModuleID);
      } else {
        enabledQueues_.erase(r.ModuleID);
        messages_.erase(r.ModuleID);
        // A stopped queue ends its module's pending message request.
        for (auto& [id, live] : live_)
          if (!live.done && live.waits == Live::Waits::Message && live.module == r.ModuleID)
            CompleteLocked(live, kStatusCancelled, {}, 0u, RequestRecord::End::Cancelled);
      }
      return m;
    }
    case IOCTL_GET_MESSAGE: {
      std::uint32_t module = 0;
      if (!ReadRecord(in, &module) || outSize < sizeof(DeviceMessage)) return bad();
      if (enabledQueues_.count(module) == 0) {
        m.status = kStatusInvalidDeviceState;
        return m;
      }
      auto& queue = messages_[module];
      if (!queue.empty()) {
        m.data = queue.front();
        queue.pop_front();
        return m;
      }
      m.waits = Live::Waits::Message;
      m.module = module;
      return m;
    }
    case IOCTL_WAIT_POWER_EVENT: {
      if (outSize < 4) return bad();
      if (!powerEvents_.empty()) {
        m.data.resize(4);
        std::memcpy(m.data.data(), &powerEvents_.front(), 4);
        powerEvents_.pop_front();
        return m;
      }
      m.waits = Live::Waits::Power;
      return m;
    }
    default:
      return bad();
  }
}

void SimDriver::CompleteLocked(Live& live, std::uint32_t status, const std::vector<std::uint8_t>& data,
                               std::optional<std::uint32_t> bytes, RequestRecord::End end) {
  if (live.done) return;
  live.done = true;
  live.status = status;
  const std::size_t n = std::min<std::size_t>(data.size(), live.outSize);
  if (live.out != nullptr && n != 0) std::memcpy(live.out, data.data(), n);
  live.bytes = bytes ? *bytes : static_cast<std::uint32_t>(data.size());
  live.record.end = end;
  live.record.status = status;
  live.record.bytes = live.bytes;
  live.due.reset();
  if (observer_) observer_(live.record, false);
  changed_.notify_all();
}

ovx::IoIssue SimDriver::Issue(std::uint64_t id, ovx::DeviceHandle handle, std::uint32_t code, const void* in,
                              std::uint32_t inSize, void* out, std::uint32_t outSize) {
  std::unique_lock lock(mutex_);
  Live& live = live_[id];
  live.record.id = id;
  live.handle = handle;
  live.record.code = code;
  live.record.hasInput = in != nullptr;
  if (in != nullptr)
    live.record.input.assign(static_cast<const std::uint8_t*>(in),
                             static_cast<const std::uint8_t*>(in) + inSize);
  live.record.hasOutput = out != nullptr;
  live.record.outSize = outSize;
  live.record.thread = std::this_thread::get_id();
  live.out = out;
  live.outSize = out != nullptr ? outSize : 0;
  if (observer_) observer_(live.record, true);
  changed_.notify_all();

  auto finishNow = [&](RequestRecord::End end, std::uint32_t status) {
    live.done = true;
    live.record.end = end;
    live.record.status = status;
    if (observer_) observer_(live.record, false);
    changed_.notify_all();
  };

  // The handle must be one the driver opened.
  if (open_.count(handle) == 0) {
    finishNow(RequestRecord::End::Failed, kErrorInvalidHandle);
    return {ovx::IoIssue::Kind::Failed, 0, kErrorInvalidHandle};
  }
  std::optional<Reply> reply;
  if (auto it = programmed_.find(code); it != programmed_.end() && !it->second.empty()) {
    reply = std::move(it->second.front());
    it->second.pop_front();
  } else if (auto d = defaults_.find(code); d != defaults_.end()) {
    reply = d->second;
  }
  if (reply && reply->mode == Reply::Mode::FailAtOnce) {
    finishNow(RequestRecord::End::Failed, reply->error);
    return {ovx::IoIssue::Kind::Failed, 0, reply->error};
  }
  if (reply && reply->mode == Reply::Mode::Never) return {ovx::IoIssue::Kind::Pending, 0, 0};

  const Model model = RunModel(code, live.record.input, outSize);
  if (model.error != 0) {
    finishNow(RequestRecord::End::Failed, model.error);
    return {ovx::IoIssue::Kind::Failed, 0, model.error};
  }
  const std::vector<std::uint8_t> data = reply && reply->data ? *reply->data : model.data;
  const std::optional<std::uint32_t> bytes = reply ? reply->bytes : std::nullopt;
  auto later = [&](std::uint32_t delayMs, std::uint32_t status) {
    live.data = data;
    live.status = status;
    live.bytes = bytes ? *bytes : static_cast<std::uint32_t>(data.size());
    live.due = Clock::now() + std::chrono::milliseconds(delayMs);
    timer_.notify_all();
    return ovx::IoIssue{ovx::IoIssue::Kind::Pending, 0, 0};
  };

  if (reply && reply->mode == Reply::Mode::Later) return later(reply->delayMs, reply->status);
  if (model.waits != Live::Waits::Nothing) {
    live.waits = model.waits;
    live.module = model.module;
    return {ovx::IoIssue::Kind::Pending, 0, 0};
  }
  // A failure status reaches the sender through the completion event.
  if (model.status != 0) return later(0, model.status);
  if (delayAll_ && !reply) return later(*delayAll_, 0);
  CompleteLocked(live, 0, data, bytes, RequestRecord::End::Completed);
  return {ovx::IoIssue::Kind::Completed, live.bytes, 0};
}

bool SimDriver::Wait(std::uint64_t id, std::uint32_t timeoutMs) {
  std::unique_lock lock(mutex_);
  Live& live = live_[id];
  if (!live.record.waitMs) live.record.waitMs = timeoutMs;
  auto done = [&] { return live.done; };
  if (timeoutMs == kInfinite) {
    changed_.wait(lock, done);
    return true;
  }
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), done);
}

void SimDriver::CancelThread(ovx::DeviceHandle handle, std::thread::id thread) {
  std::lock_guard lock(mutex_);
  for (auto& [id, live] : live_)
    if (!live.done && live.handle == handle && live.record.thread == thread)
      CompleteLocked(live, kStatusCancelled, {}, 0u, RequestRecord::End::Cancelled);
}

void SimDriver::CancelOne(std::uint64_t id) {
  std::lock_guard lock(mutex_);
  const auto it = live_.find(id);
  if (it != live_.end() && !it->second.done)
    CompleteLocked(it->second, kStatusCancelled, {}, 0u, RequestRecord::End::Cancelled);
}

ovx::IoCompletion SimDriver::Collect(std::uint64_t id) {
  std::lock_guard lock(mutex_);
  const Live& live = live_[id];
  if (!live.done) return {0, 0x00000103};  // STATUS_PENDING
  return {live.bytes, live.status};
}

void SimDriver::Forget(std::uint64_t id) {
  std::lock_guard lock(mutex_);
  const auto it = live_.find(id);
  if (it == live_.end()) return;
  // A request whose sender is gone must never write into its buffer.
  it->second.out = nullptr;
  if (!it->second.done) CompleteLocked(it->second, kStatusCancelled, {}, 0u, RequestRecord::End::Cancelled);
  finished_.push_back(it->second.record);
  live_.erase(it);
}

void SimDriver::TimerLoop() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    std::optional<Clock::time_point> next;
    const Clock::time_point now = Clock::now();
    for (auto& [id, live] : live_) {
      if (live.done || !live.due) continue;
      if (*live.due <= now) {
        const std::vector<std::uint8_t> data = live.data;
        CompleteLocked(live, live.status, data, live.bytes, RequestRecord::End::Completed);
      } else if (!next || *live.due < *next) {
        next = live.due;
      }
    }
    if (next) {
      timer_.wait_until(lock, *next);
    } else {
      timer_.wait(lock);
    }
  }
}

void SimDriver::PostMessage(std::uint32_t moduleId, const std::vector<std::uint8_t>& message40) {
  std::lock_guard lock(mutex_);
  for (auto& [id, live] : live_) {
    if (!live.done && live.waits == Live::Waits::Message && live.module == moduleId) {
      CompleteLocked(live, 0, message40, std::nullopt, RequestRecord::End::Completed);
      return;
    }
  }
  messages_[moduleId].push_back(message40);
}

void SimDriver::PostPowerEvent(std::uint32_t code) {
  std::lock_guard lock(mutex_);
  std::vector<std::uint8_t> data(4);
  std::memcpy(data.data(), &code, 4);
  for (auto& [id, live] : live_) {
    if (!live.done && live.waits == Live::Waits::Power) {
      CompleteLocked(live, 0, data, std::nullopt, RequestRecord::End::Completed);
      return;
    }
  }
  powerEvents_.push_back(code);
}

void SimDriver::SetDeviceState(std::uint32_t state) {
  std::lock_guard lock(mutex_);
  deviceState_ = state;
}

void SimDriver::WriteMemory(std::uint64_t address, const std::vector<std::uint8_t>& bytes) {
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < bytes.size(); ++i) memory_[address + i] = bytes[i];
}

std::vector<std::uint8_t> SimDriver::ReadMemory(std::uint64_t address, std::size_t n) const {
  std::lock_guard lock(mutex_);
  std::vector<std::uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i) {
    const auto it = memory_.find(address + i);
    bytes[i] = it == memory_.end() ? 0 : it->second;
  }
  return bytes;
}

std::vector<std::uint8_t> SimDriver::ReadConfig(std::uint32_t offset, std::size_t n) const {
  std::lock_guard lock(mutex_);
  std::vector<std::uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i) {
    const auto it = config_.find(offset + static_cast<std::uint32_t>(i));
    bytes[i] = it == config_.end() ? 0 : it->second;
  }
  return bytes;
}

bool SimDriver::QueueEnabled(std::uint32_t moduleId) const {
  std::lock_guard lock(mutex_);
  return enabledQueues_.count(moduleId) != 0;
}

std::vector<RequestRecord> SimDriver::Requests() const {
  std::lock_guard lock(mutex_);
  std::vector<RequestRecord> all = finished_;
  for (const auto& [id, live] : live_) all.push_back(live.record);
  std::sort(all.begin(), all.end(),
            [](const RequestRecord& a, const RequestRecord& b) { return a.id < b.id; });
  // Operations made but never issued carry no code.
  all.erase(std::remove_if(all.begin(), all.end(), [](const RequestRecord& r) { return r.code == 0; }),
            all.end());
  return all;
}

std::vector<RequestRecord> SimDriver::Requests(std::uint32_t code) const {
  std::vector<RequestRecord> all = Requests();
  all.erase(std::remove_if(all.begin(), all.end(), [code](const RequestRecord& r) { return r.code != code; }),
            all.end());
  return all;
}

std::size_t SimDriver::Count(std::uint32_t code) const { return Requests(code).size(); }

std::size_t SimDriver::PendingCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<std::size_t>(std::count_if(
      live_.begin(), live_.end(), [](const auto& p) { return p.second.record.code != 0 && !p.second.done; }));
}

std::size_t SimDriver::OpenHandles() const {
  std::lock_guard lock(mutex_);
  return open_.size();
}

bool SimDriver::WaitForRequests(std::uint32_t code, std::size_t n, std::uint32_t timeoutMs) const {
  std::unique_lock lock(mutex_);
  auto count = [&] {
    std::size_t c = 0;
    for (const auto& r : finished_) c += r.code == code;
    for (const auto& [id, live] : live_) c += live.record.code == code;
    return c >= n;
  };
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), count);
}

bool SimDriver::WaitForPending(std::uint32_t code, std::size_t n, std::uint32_t timeoutMs) const {
  std::unique_lock lock(mutex_);
  auto count = [&] {
    std::size_t c = 0;
    for (const auto& [id, live] : live_) c += live.record.code == code && !live.done;
    return c >= n;
  };
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), count);
}

}  // namespace ovxsim
