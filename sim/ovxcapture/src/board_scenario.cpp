// The simulated board's scenario and clock.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "board.h"
#include "process_exit.h"
#include "scenario_file.h"

namespace ovxsim {

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

}  // namespace ovxsim
