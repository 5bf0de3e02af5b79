#include "board.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "process_exit.h"
#include "scenario_file.h"
#include "state_file.h"

namespace ovxsim {
namespace {

constexpr OvxDevice kDeviceHandleBase = 0x7E210B5800000000ull;
constexpr OvxPlane kPlaneHandleBase = 0x0B580000u;

// Set on the board's event threads, so that calls made from inside a
// callback never wait for that same thread.
thread_local bool on_event_thread = false;

std::size_t DeviceRecordWords(int32_t id) {
  switch (id) {
    case OVX_DEV_PROP_FIRMWARE:
      return sizeof(OvxFirmwareInfo) / 4;
    case OVX_DEV_PROP_API:
      return sizeof(OvxApiVersion) / 4;
    case OVX_DEV_PROP_WATCHDOG:
      return sizeof(OvxWatchdogInfo) / 4;
    case OVX_DEV_PROP_OUTPUT:
    case OVX_DEV_PROP_INPUT:
      return sizeof(OvxEventSize) / 4;
    case OVX_DEV_PROP_TIME:
      return sizeof(OvxTime) / 4;
    default:
      return 0;
  }
}

std::size_t PlaneRecordWords(int32_t id) {
  switch (id) {
    case OVX_VP_PROP_ENABLE:
      return sizeof(OvxPlaneEnable) / 4;
    case OVX_VP_PROP_PLACEMENT:
      return sizeof(OvxPlanePlacement) / 4;
    case OVX_VP_PROP_PARTS_WHOLE:
    case OVX_VP_PROP_PARTS_CROP:
      return sizeof(OvxPlaneParts) / 4;
    case OVX_VP_PROP_ANGLE:
      return sizeof(OvxPlaneAngle) / 4;
    case OVX_VP_PROP_INDEX:
      return sizeof(OvxPlaneIndex) / 4;
    default:
      return 0;
  }
}

bool ValidCrop(const OvxPlaneParts& p) {
  const auto fits = [](int32_t top, int32_t size, int32_t parts) {
    return top >= 0 && size > 0 && int64_t{top} + size <= parts;
  };
  return p.parts.x > 0 && p.parts.y > 0 && fits(p.top.x, p.size.x, p.parts.x) &&
         fits(p.top.y, p.size.y, p.parts.y);
}

}  // namespace

uint64_t CurrentThreadNumber() {
  static std::atomic<uint64_t> next{1};
  thread_local const uint64_t number = next.fetch_add(1);
  return number;
}

Board& Board::Instance() {
  static Board board;
  return board;
}

Board::Board() : origin_(std::chrono::steady_clock::now()) {
  std::lock_guard lock(mutex_);
  if (const char* path = std::getenv("OVXSIM_STATE_FILE"); path != nullptr) state_path_ = path;
  LoadEnvironmentScenarioLocked();
}

Board::~Board() {
  if (ProcessIsTerminating()) {
    // The event thread no longer runs and may have died holding the mutex.
    if (thread_.joinable()) {
      thread_.detach();
    }
    for (std::thread& t : retired_) {
      t.detach();
    }
    return;
  }
  std::vector<std::thread> stopped;
  {
    std::lock_guard lock(mutex_);
    stopped = StopThreadsLocked();
    for (std::thread& t : retired_) {
      t.detach();  // only the calling event thread itself can be here
    }
  }
  for (std::thread& t : stopped) {
    t.join();
  }
}

// ---------------------------------------------------------------------------
// Common parts of every API call.

void Board::Delay(Function function) {
  uint32_t ms = 0;
  {
    std::lock_guard lock(mutex_);
    ms = delays_ms_[static_cast<std::size_t>(function)];
  }
  if (ms != 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
}

int32_t Board::Injected(Function function, int32_t property_id) {
  return injections_.Check(function, property_id).value_or(0);
}

int32_t Board::CheckDeviceLocked(const OvxDevice* device) const {
  if (device == nullptr) {
    return OVXSIM_STATUS_BAD_ARGUMENT;
  }
  if (!opened_) {
    return OVXSIM_STATUS_NOT_OPEN;
  }
  return *device == handle_ ? 0 : OVXSIM_STATUS_BAD_ARGUMENT;
}

int32_t Board::CheckPlaneLocked(const OvxPlane* plane) const {
  if (plane == nullptr) {
    return OVXSIM_STATUS_BAD_ARGUMENT;
  }
  if (!plane_created_) {
    return OVXSIM_STATUS_WRONG_STATE;
  }
  return *plane == plane_handle_ ? 0 : OVXSIM_STATUS_BAD_ARGUMENT;
}

void Board::Record(OvxSimCall call) {
  calls_.Add(call);
  if (trace_) {
    const std::string line = FormatCall(*calls_.At(calls_.Size() - 1));
    std::fprintf(stderr, "ovxcapture sim: %s\n", line.c_str());
    std::fflush(stderr);
  }
}

// ---------------------------------------------------------------------------
// The nine API functions.  An injected status replaces the call's work.

int32_t Board::DevOpen(OvxDevice* device, int32_t reserved) {
  Delay(Function::DevOpen);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::DevOpen, -1, device, nullptr, CurrentThreadNumber());
  AppendArg(call, reserved);
  int32_t status = Injected(Function::DevOpen, -1);
  if (status == 0) {
    if (device == nullptr || reserved != 0) {
      status = OVXSIM_STATUS_BAD_ARGUMENT;
    } else if (opened_) {
      status = OVXSIM_STATUS_WRONG_STATE;
    } else {
      opened_ = true;
      handle_ = kDeviceHandleBase + ++open_count_;
      *device = handle_;
      if (!timeline_started_) {
        timeline_started_ = true;
        timeline_start_ms_ = NowLocked();
      }
      EnsureThreadLocked();
      AppendArg(call, static_cast<int32_t>(static_cast<uint32_t>(handle_)));
      AppendArg(call, static_cast<int32_t>(static_cast<uint32_t>(handle_ >> 32)));
      ProcessDueLocked();  // actions at 0 ms happen with the open
    }
  }
  call.status = status;
  Record(call);
  return status;
}

int32_t Board::DevClose(OvxDevice* device) {
  Delay(Function::DevClose);
  std::vector<std::thread> stopped;
  int32_t status = 0;
  {
    std::lock_guard lock(mutex_);
    ProcessDueLocked();
    OvxSimCall call = MakeCall(Function::DevClose, -1, device, nullptr, CurrentThreadNumber());
    status = Injected(Function::DevClose, -1);
    if (status == 0) {
      status = CheckDeviceLocked(device);
    }
    if (status == 0) {
      // The board drops the plane and the callback with the device.
      opened_ = false;
      plane_created_ = false;
      callback_ = nullptr;
      *device = 0;
      stopped = StopThreadsLocked();
      WriteStateLocked();
    }
    call.status = status;
    Record(call);
  }
  for (std::thread& t : stopped) {
    t.join();
  }
  return status;
}

int32_t Board::DevGetProp(OvxDevice* device, int32_t id, void* record) {
  Delay(Function::DevGetProp);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::DevGetProp, id, device, nullptr, CurrentThreadNumber());
  int32_t status = Injected(Function::DevGetProp, id);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0 && DeviceRecordWords(id) == 0) {
    status = OVXSIM_STATUS_BAD_PROPERTY;
  }
  if (status == 0 && record == nullptr) {
    status = OVXSIM_STATUS_BAD_ARGUMENT;
  }
  if (status == 0) {
    switch (id) {
      case OVX_DEV_PROP_FIRMWARE:
        *static_cast<OvxFirmwareInfo*>(record) = firmware_;
        break;
      case OVX_DEV_PROP_API:
        static_cast<OvxApiVersion*>(record)->version_no = api_version_;
        break;
      case OVX_DEV_PROP_WATCHDOG:
        *static_cast<OvxWatchdogInfo*>(record) = watchdog_;
        break;
      case OVX_DEV_PROP_OUTPUT:
        *static_cast<OvxEventSize*>(record) = output_;
        break;
      case OVX_DEV_PROP_INPUT:
        *static_cast<OvxEventSize*>(record) = input_;
        break;
      case OVX_DEV_PROP_TIME:
        static_cast<OvxTime*>(record)->time = audio_delay_;
        break;
      default:
        break;
    }
  }
  // The record as the caller holds it after the call: unchanged on failure.
  AppendArgs(call, record, DeviceRecordWords(id));
  call.status = status;
  Record(call);
  return status;
}

int32_t Board::DevSetProp(OvxDevice* device, int32_t id, const void* record) {
  Delay(Function::DevSetProp);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::DevSetProp, id, device, nullptr, CurrentThreadNumber());
  if (id == OVX_DEV_PROP_TIME) {
    AppendArgs(call, record, DeviceRecordWords(id));
  }
  int32_t status = Injected(Function::DevSetProp, id);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0 && id != OVX_DEV_PROP_TIME) {
    status = OVXSIM_STATUS_BAD_PROPERTY;  // the others are read-only
  }
  if (status == 0) {
    const auto* time = static_cast<const OvxTime*>(record);
    if (time == nullptr || time->time < 0) {
      status = OVXSIM_STATUS_BAD_ARGUMENT;
    } else {
      audio_delay_ = time->time;
    }
  }
  call.status = status;
  Record(call);
  return status;
}

int32_t Board::DevSetCb(OvxDevice* device, int32_t id, OvxEventCallback callback) {
  Delay(Function::DevSetCb);
  std::unique_lock lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::DevSetCb, id, device, nullptr, CurrentThreadNumber());
  AppendPointerArg(call, reinterpret_cast<const void*>(callback));
  int32_t status = Injected(Function::DevSetCb, id);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0 && id != OVX_CALLBACK_ID) {
    status = OVXSIM_STATUS_BAD_PROPERTY;
  }
  if (status == 0) {
    callback_ = callback;
  }
  call.status = status;
  Record(call);
  if (status == 0 && !on_event_thread) {
    // Once this returns, no callback of the old function is still running.
    changed_.wait(lock, [this] { return in_callback_ == 0; });
  }
  return status;
}

int32_t Board::DevWdtInit(OvxDevice* device, int32_t interval_ms, int32_t error_limit) {
  Delay(Function::DevWdtInit);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::DevWdtInit, -1, device, nullptr, CurrentThreadNumber());
  AppendArg(call, interval_ms);
  AppendArg(call, error_limit);
  int32_t status = Injected(Function::DevWdtInit, -1);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0 && (interval_ms <= 0 || error_limit <= 0)) {
    status = OVXSIM_STATUS_BAD_ARGUMENT;
  }
  if (status == 0) {
    watchdog_.state = 1;
    watchdog_.interval = static_cast<uint32_t>(interval_ms);
    watchdog_.err_count = static_cast<uint32_t>(error_limit);
    watchdog_.ovx_err = 0;
  }
  call.status = status;
  Record(call);
  return status;
}

int32_t Board::VpCreate(OvxDevice* device, OvxPlane* plane, int32_t type, int32_t flags) {
  Delay(Function::VpCreate);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::VpCreate, -1, device, plane, CurrentThreadNumber());
  AppendArg(call, type);
  AppendArg(call, flags);
  int32_t status = Injected(Function::VpCreate, -1);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0 && (plane == nullptr || type != OVX_VP_TYPE || flags != OVX_VP_FLAGS)) {
    status = OVXSIM_STATUS_BAD_ARGUMENT;
  }
  if (status == 0 && plane_created_) {
    status = OVXSIM_STATUS_WRONG_STATE;
  }
  if (status == 0) {
    plane_created_ = true;
    plane_handle_ = kPlaneHandleBase + ++plane_count_;
    *plane = plane_handle_;
    pending_ = OvxSimPlane{};
    committed_ = OvxSimPlane{};
    AppendArg(call, static_cast<int32_t>(plane_handle_));
  }
  call.status = status;
  Record(call);
  return status;
}

int32_t Board::VpSetProp(OvxDevice* device, OvxPlane* plane, int32_t id, const void* record) {
  Delay(Function::VpSetProp);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::VpSetProp, id, device, plane, CurrentThreadNumber());
  AppendArgs(call, record, PlaneRecordWords(id));
  int32_t status = Injected(Function::VpSetProp, id);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0) {
    status = CheckPlaneLocked(plane);
  }
  if (status == 0 && PlaneRecordWords(id) == 0) {
    status = OVXSIM_STATUS_BAD_PROPERTY;
  }
  if (status == 0 && record == nullptr) {
    status = OVXSIM_STATUS_BAD_ARGUMENT;
  }
  if (status == 0) {
    bool valid = true;
    OvxSimPlane next = pending_;
    switch (id) {
      case OVX_VP_PROP_ENABLE: {
        const int32_t enable = static_cast<const OvxPlaneEnable*>(record)->enable;
        valid = enable == 0 || enable == 1;
        next.enable = enable;
        break;
      }
      case OVX_VP_PROP_PLACEMENT: {
        const auto& placement = *static_cast<const OvxPlanePlacement*>(record);
        valid = placement.size.x >= 0 && placement.size.y >= 0;
        next.placement = placement;
        break;
      }
      case OVX_VP_PROP_PARTS_WHOLE:
      case OVX_VP_PROP_PARTS_CROP: {
        const auto& parts = *static_cast<const OvxPlaneParts*>(record);
        // The whole picture ignores top and size; a crop must lie on the grid.
        valid = id == OVX_VP_PROP_PARTS_WHOLE ? parts.parts.x > 0 && parts.parts.y > 0 : ValidCrop(parts);
        next.parts_id = id;
        next.parts = parts;
        break;
      }
      case OVX_VP_PROP_ANGLE: {
        const int32_t angle = static_cast<const OvxPlaneAngle*>(record)->angle;
        valid = angle == 0 || angle == 90 || angle == 180 || angle == 270;
        next.angle = angle;
        break;
      }
      case OVX_VP_PROP_INDEX:
        valid = static_cast<const OvxPlaneIndex*>(record)->index == 0;
        break;
      default:
        break;
    }
    if (valid) {
      pending_ = next;
    } else {
      status = OVXSIM_STATUS_BAD_ARGUMENT;
    }
  }
  call.status = status;
  Record(call);
  return status;
}

int32_t Board::VpDrawAll(OvxDevice* device) {
  Delay(Function::VpDrawAll);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimCall call = MakeCall(Function::VpDrawAll, -1, device, nullptr, CurrentThreadNumber());
  int32_t status = Injected(Function::VpDrawAll, -1);
  if (status == 0) {
    status = CheckDeviceLocked(device);
  }
  if (status == 0 && !plane_created_) {
    status = OVXSIM_STATUS_WRONG_STATE;
  }
  if (status == 0) {
    committed_ = pending_;
    ++draw_count_;
    if (committed_.enable == 1) injections_.PlaneShown();
    WriteStateLocked();
  }
  call.status = status;
  Record(call);
  return status;
}

// ---------------------------------------------------------------------------
// Scenario and clock.

void Board::ApplyScenarioLocked(const Scenario& scenario) {
  if (scenario.clock) {
    SetClockLocked(*scenario.clock);
  }
  firmware_ = scenario.firmware;
  api_version_ = scenario.api_version;
  watchdog_ = scenario.watchdog;
  output_ = scenario.output;
  input_ = scenario.input;
  audio_delay_ = scenario.audio_delay;
  injections_.Clear();
  for (const Injection& injection : scenario.injections) {
    injections_.Add(injection);
  }
  delays_ms_ = scenario.delays_ms;
  timeline_ = scenario.timeline;
  next_timed_ = 0;
  // An open device starts the new timeline now, a closed one when it opens.
  timeline_started_ = opened_;
  timeline_start_ms_ = NowLocked();
  changed_.notify_all();
}

bool Board::LoadEnvironmentScenarioLocked() {
  SetClockLocked(ClockMode::Realtime);
  const char* trace = std::getenv("OVXSIM_TRACE");
  trace_ = trace != nullptr && *trace != '\0' && std::string_view(trace) != "0";
  const char* path = std::getenv("OVXSIM_SCENARIO");
  if (path == nullptr || *path == '\0') {
    ApplyScenarioLocked(DefaultScenario());
    return false;
  }
  std::string text;
  std::string error;
  if (ReadScenarioFile(path, text, error)) {
    ParseResult parsed = ParseScenario(text);
    if (parsed.scenario) {
      ApplyScenarioLocked(*parsed.scenario);
      return true;
    }
    error = parsed.error;
  }
  std::fprintf(stderr, "ovxcapture sim: %s: %s; using the built-in scenario\n", PrintablePath(path).c_str(),
               error.c_str());
  std::fflush(stderr);
  ApplyScenarioLocked(DefaultScenario());
  return false;
}

void Board::SetClockLocked(ClockMode mode) {
  if (mode == clock_) {
    return;
  }
  offset_ms_ = NowLocked();
  origin_ = std::chrono::steady_clock::now();
  clock_ = mode;
  changed_.notify_all();
}

uint64_t Board::NowLocked() const {
  if (clock_ == ClockMode::Manual) {
    return offset_ms_;
  }
  const auto elapsed = std::chrono::steady_clock::now() - origin_;
  return offset_ms_ +
         static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

std::optional<std::chrono::steady_clock::time_point> Board::NextDeadlineLocked() const {
  if (clock_ != ClockMode::Realtime || !timeline_started_ || next_timed_ >= timeline_.size()) {
    return std::nullopt;
  }
  const uint64_t due = timeline_start_ms_ + timeline_[next_timed_].at_ms;
  const uint64_t since_origin = due > offset_ms_ ? due - offset_ms_ : 0;
  return origin_ + std::chrono::milliseconds(since_origin);
}

uint64_t Board::ProcessDueLocked() {
  if (!timeline_started_) {
    return 0;
  }
  const uint64_t now = NowLocked();
  uint64_t last_ticket = 0;
  while (next_timed_ < timeline_.size() && timeline_start_ms_ + timeline_[next_timed_].at_ms <= now) {
    const TimedAction& action = timeline_[next_timed_++];
    switch (action.kind) {
      case TimedAction::Kind::Event:
        input_ = action.input;
        if (opened_ && callback_ != nullptr) {
          last_ticket = EnqueueLocked(action.input);
        }
        break;
      case TimedAction::Kind::Input:
        input_ = action.input;
        break;
      case TimedAction::Kind::Watchdog:
        ApplyWatchdogChange(action.watchdog, watchdog_);
        break;
    }
  }
  return last_ticket;
}

// ---------------------------------------------------------------------------
// Event thread.

uint64_t Board::EnqueueLocked(const OvxEventSize& record) {
  EnsureThreadLocked();
  const uint64_t ticket = next_ticket_++;
  queue_.push_back({ticket, record});
  changed_.notify_all();
  return ticket;
}

void Board::EnsureThreadLocked() {
  if (thread_.joinable()) {
    return;
  }
  const uint64_t generation = ++thread_generation_;
  thread_ = std::thread([this, generation] { EventLoop(generation); });
}

std::vector<std::thread> Board::StopThreadsLocked() {
  ++thread_generation_;
  queue_.clear();
  delivered_ticket_ = next_ticket_ - 1;  // waiters for dropped events return
  changed_.notify_all();
  std::vector<std::thread> stopped = std::move(retired_);
  retired_.clear();
  if (thread_.joinable()) {
    stopped.push_back(std::move(thread_));
  }
  if (on_event_thread) {
    // Called from inside a callback: that thread ends its loop when the
    // callback returns and is joined by a later stop.
    const auto self = std::this_thread::get_id();
    const auto it = std::find_if(stopped.begin(), stopped.end(),
                                 [&](const std::thread& t) { return t.get_id() == self; });
    if (it != stopped.end()) {
      retired_.push_back(std::move(*it));
      stopped.erase(it);
    }
  }
  return stopped;
}

void Board::DeliverLocked(std::unique_lock<std::mutex>& lock, const OvxEventSize& record) {
  const OvxEventCallback callback = callback_;
  if (callback == nullptr) {
    return;
  }
  ++in_callback_;
  lock.unlock();
  OvxEventSize copy = record;
  callback(&copy);
  lock.lock();
  --in_callback_;
  changed_.notify_all();
}

void Board::WaitDeliveredLocked(std::unique_lock<std::mutex>& lock, uint64_t ticket) {
  if (ticket == 0 || on_event_thread) {
    return;  // a callback cannot wait for the thread it runs on
  }
  // A dropped event counts as done, one whose callback still runs does not
  // (the device may have been closed from inside that callback).
  changed_.wait(lock, [&] {
    return delivered_ticket_ >= ticket && std::none_of(tickets_in_flight_.begin(), tickets_in_flight_.end(),
                                                       [&](uint64_t t) { return t <= ticket; });
  });
}

void Board::EventLoop(uint64_t generation) {
  on_event_thread = true;
  std::unique_lock lock(mutex_);
  while (thread_generation_ == generation) {
    ProcessDueLocked();
    if (!queue_.empty()) {
      const Delivery delivery = queue_.front();
      queue_.pop_front();
      tickets_in_flight_.push_back(delivery.ticket);
      DeliverLocked(lock, delivery.record);
      std::erase(tickets_in_flight_, delivery.ticket);
      delivered_ticket_ = std::max(delivered_ticket_, delivery.ticket);
      changed_.notify_all();
      continue;
    }
    if (const auto deadline = NextDeadlineLocked()) {
      changed_.wait_until(lock, *deadline);
    } else {
      changed_.wait(lock);
    }
  }
}

// ---------------------------------------------------------------------------
// Control interface.

void Board::Reset() {
  std::vector<std::thread> stopped;
  {
    std::lock_guard lock(mutex_);
    stopped = StopThreadsLocked();
    opened_ = false;
    handle_ = 0;
    callback_ = nullptr;
    plane_created_ = false;
    plane_handle_ = 0;
    pending_ = OvxSimPlane{};
    committed_ = OvxSimPlane{};
    draw_count_ = 0;
    calls_.Restart();
    clock_ = ClockMode::Manual;
    offset_ms_ = 0;
    origin_ = std::chrono::steady_clock::now();
    ApplyScenarioLocked(DefaultScenario());
  }
  for (std::thread& t : stopped) {
    t.join();
  }
}

bool Board::LoadScenarioText(std::string_view text, std::string& error) {
  ParseResult parsed = ParseScenario(text);
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  if (!parsed.scenario) {
    error = parsed.error;
    ApplyScenarioLocked(DefaultScenario());
    return false;
  }
  ApplyScenarioLocked(*parsed.scenario);
  return true;
}

bool Board::LoadScenarioFile(const char* path, std::string& error) {
  std::string text;
  std::string reason;
  if (!ReadScenarioFile(path, text, reason)) {
    error = PrintablePath(path) + ": " + reason;
    std::lock_guard lock(mutex_);
    ApplyScenarioLocked(DefaultScenario());
    return false;
  }
  if (!LoadScenarioText(text, reason)) {
    error = PrintablePath(path) + ": " + reason;
    return false;
  }
  return true;
}

bool Board::LoadEnvironmentScenario() {
  std::lock_guard lock(mutex_);
  return LoadEnvironmentScenarioLocked();
}

void Board::InjectStatus(const Injection& injection) {
  std::lock_guard lock(mutex_);
  injections_.Add(injection);
}

void Board::SetCallDelay(Function function, uint32_t delay_ms) {
  std::lock_guard lock(mutex_);
  delays_ms_[static_cast<std::size_t>(function)] = std::min(delay_ms, kMaxDelayMs);
}

void Board::SetFirmware(const OvxFirmwareInfo& info) {
  std::lock_guard lock(mutex_);
  firmware_ = info;
}

void Board::SetApiVersion(uint32_t version_no) {
  std::lock_guard lock(mutex_);
  api_version_ = version_no;
}

void Board::SetWatchdog(const OvxWatchdogInfo& info) {
  std::lock_guard lock(mutex_);
  watchdog_ = info;
}

void Board::SetOutput(const OvxEventSize& output) {
  std::lock_guard lock(mutex_);
  output_ = output;
}

void Board::SetInput(const OvxEventSize& input) {
  std::lock_guard lock(mutex_);
  input_ = input;
}

int32_t Board::FireEvent(const OvxEventSize& record) {
  std::unique_lock lock(mutex_);
  ProcessDueLocked();
  input_ = record;  // the input changes whether or not anyone listens
  if (!opened_ || callback_ == nullptr) {
    return 0;
  }
  if (on_event_thread) {
    DeliverLocked(lock, record);
    return 1;
  }
  WaitDeliveredLocked(lock, EnqueueLocked(record));
  return 1;
}

void Board::AdvanceTime(uint32_t ms) {
  std::unique_lock lock(mutex_);
  offset_ms_ += ms;
  const uint64_t last = ProcessDueLocked();
  changed_.notify_all();
  WaitDeliveredLocked(lock, last);
}

uint64_t Board::ClockMs() {
  std::lock_guard lock(mutex_);
  return NowLocked();
}

uint32_t Board::CallCount() {
  std::lock_guard lock(mutex_);
  return static_cast<uint32_t>(calls_.Size());
}

std::optional<OvxSimCall> Board::Call(uint32_t index) {
  std::lock_guard lock(mutex_);
  const OvxSimCall* call = calls_.At(index);
  if (call == nullptr) {
    return std::nullopt;
  }
  return *call;
}

void Board::ClearCalls() {
  std::lock_guard lock(mutex_);
  calls_.Clear();
}

OvxSimState Board::State() {
  std::lock_guard lock(mutex_);
  ProcessDueLocked();
  OvxSimState s{};
  s.opened = opened_ ? 1 : 0;
  s.callback_set = callback_ != nullptr ? 1 : 0;
  s.plane_created = plane_created_ ? 1 : 0;
  s.audio_delay = audio_delay_;
  s.watchdog = watchdog_;
  s.input = input_;
  s.output = output_;
  s.plane_enable = pending_.enable;
  s.plane_angle = pending_.angle;
  s.plane_placement = pending_.placement;
  s.plane_parts_id = pending_.parts_id;
  s.plane_parts = pending_.parts;
  s.draw_count = draw_count_;
  return s;
}

void Board::SetStateFile(std::string path) {
  std::lock_guard lock(mutex_);
  state_path_ = std::move(path);
}

// Under the lock, so that files written by two threads land in call order.
// A file that cannot be written is reported once per failure, never fatal.
void Board::WriteStateLocked() {
  if (state_path_.empty()) return;
  const ShownState shown{opened_, draw_count_, output_.size, committed_};
  if (!ReplaceWholeFile(state_path_, FormatShownState(shown))) {
    std::fprintf(stderr, "ovxcapture sim: %s: cannot be written\n", state_path_.c_str());
  }
}

OvxSimPlane Board::CommittedPlane() {
  std::lock_guard lock(mutex_);
  return committed_;
}

}  // namespace ovxsim
