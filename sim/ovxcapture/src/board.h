// The simulated board: one per process, shared by the API functions and the
// control interface.  Every member is guarded by one mutex; callbacks run on
// the board's event thread without it.
#ifndef OVXSIM_BOARD_H
#define OVXSIM_BOARD_H

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "call_log.h"
#include "injection_table.h"
#include "ovxcapture_sim.h"
#include "scenario.h"

namespace ovxsim {

class Board {
 public:
  // Created on first use; reads the scenario named by OVXSIM_SCENARIO.
  static Board& Instance();
  ~Board();
  Board(const Board&) = delete;
  Board& operator=(const Board&) = delete;

  int32_t DevOpen(OvxDevice* device, int32_t reserved);
  int32_t DevClose(OvxDevice* device);
  int32_t DevGetProp(OvxDevice* device, int32_t id, void* record);
  int32_t DevSetProp(OvxDevice* device, int32_t id, const void* record);
  int32_t DevSetCb(OvxDevice* device, int32_t id, OvxEventCallback callback);
  int32_t DevWdtInit(OvxDevice* device, int32_t interval_ms, int32_t error_limit);
  int32_t VpCreate(OvxDevice* device, OvxPlane* plane, int32_t type, int32_t flags);
  int32_t VpSetProp(OvxDevice* device, OvxPlane* plane, int32_t id, const void* record);
  int32_t VpDrawAll(OvxDevice* device);

  void Reset();
  bool LoadScenarioText(std::string_view text, std::string& error);
  bool LoadScenarioFile(const char* path, std::string& error);
  bool LoadEnvironmentScenario();
  void InjectStatus(const Injection& injection);
  void SetCallDelay(Function function, uint32_t delay_ms);
  void SetFirmware(const OvxFirmwareInfo& info);
  void SetApiVersion(uint32_t version_no);
  void SetWatchdog(const OvxWatchdogInfo& info);
  void SetOutput(const OvxEventSize& output);
  void SetInput(const OvxEventSize& input);
  int32_t FireEvent(const OvxEventSize& record);
  void AdvanceTime(uint32_t ms);
  uint64_t ClockMs();

  uint32_t CallCount();
  std::optional<OvxSimCall> Call(uint32_t index);
  void ClearCalls();
  OvxSimState State();
  OvxSimPlane CommittedPlane();
  // Where the shown plane is written after every draw and at close; empty: nowhere.
  void SetStateFile(std::string path);

 private:
  struct Delivery {
    uint64_t ticket;
    OvxEventSize record;
  };

  Board();

  void Delay(Function function);
  int32_t Injected(Function function, int32_t property_id);
  int32_t CheckDeviceLocked(const OvxDevice* device) const;
  int32_t CheckPlaneLocked(const OvxPlane* plane) const;
  void Record(OvxSimCall call);
  void WriteStateLocked();

  void ApplyScenarioLocked(const Scenario& scenario);
  bool LoadEnvironmentScenarioLocked();
  void SetClockLocked(ClockMode mode);
  uint64_t NowLocked() const;
  std::optional<std::chrono::steady_clock::time_point> NextDeadlineLocked() const;
  // Applies the timed actions that are due; returns the last ticket queued (0: none).
  uint64_t ProcessDueLocked();

  uint64_t EnqueueLocked(const OvxEventSize& record);
  void EnsureThreadLocked();
  std::vector<std::thread> StopThreadsLocked();
  void DeliverLocked(std::unique_lock<std::mutex>& lock, const OvxEventSize& record);
  void WaitDeliveredLocked(std::unique_lock<std::mutex>& lock, uint64_t ticket);
  void EventLoop(uint64_t generation);

  std::mutex mutex_;
  std::condition_variable changed_;

  // Device side.
  bool opened_ = false;
  OvxDevice handle_ = 0;
  uint64_t open_count_ = 0;
  OvxEventCallback callback_ = nullptr;
  OvxFirmwareInfo firmware_{};
  uint32_t api_version_ = 0;
  OvxWatchdogInfo watchdog_{};
  OvxEventSize output_{};
  OvxEventSize input_{};
  int32_t audio_delay_ = 0;

  // Plane.
  bool plane_created_ = false;
  OvxPlane plane_handle_ = 0;
  uint32_t plane_count_ = 0;
  OvxSimPlane pending_{};
  OvxSimPlane committed_{};
  uint32_t draw_count_ = 0;

  // Scenario behaviour.
  InjectionTable injections_;
  std::array<uint32_t, kFunctionCount> delays_ms_{};
  std::vector<TimedAction> timeline_;
  std::size_t next_timed_ = 0;
  bool timeline_started_ = false;
  uint64_t timeline_start_ms_ = 0;

  // Clock: board time is offset_ms_ plus, in real time, the time since origin_.
  ClockMode clock_ = ClockMode::Realtime;
  std::chrono::steady_clock::time_point origin_;
  uint64_t offset_ms_ = 0;

  // Event thread and its queue.
  std::thread thread_;
  std::vector<std::thread> retired_;  // stopped from inside a callback, joined later
  uint64_t thread_generation_ = 0;
  std::deque<Delivery> queue_;
  uint64_t next_ticket_ = 1;
  uint64_t delivered_ticket_ = 0;            // this and all before are done or dropped
  std::vector<uint64_t> tickets_in_flight_;  // being delivered right now
  int in_callback_ = 0;

  CallLog calls_;
  bool trace_ = false;      // OVXSIM_TRACE: every call also as a line on stderr
  std::string state_path_;  // OVXSIM_STATE_FILE
};

// Small per-thread numbers for the call record.
uint64_t CurrentThreadNumber();

// Set on the board's event threads, so that calls made from inside a
// callback never wait for that same thread.
extern thread_local bool on_event_thread;

}  // namespace ovxsim

#endif
