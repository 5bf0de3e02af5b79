// The control interface tests drive the simulated board through.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "board.h"
#include "process_exit.h"
#include "scenario_file.h"

namespace ovxsim {

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

OvxSimPlane Board::CommittedPlane() {
  std::lock_guard lock(mutex_);
  return committed_;
}

}  // namespace ovxsim
