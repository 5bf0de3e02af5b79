// The board's lifetime and what every API call shares.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "board.h"
#include "process_exit.h"
#include "scenario_file.h"
#include "state_file.h"

namespace ovxsim {

thread_local bool on_event_thread = false;

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

}  // namespace ovxsim
