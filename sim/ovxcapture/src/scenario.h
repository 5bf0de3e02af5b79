// What the simulated board looks like and does: its property values, the
// timeline of things that happen after the device opens, injected failures
// and slow functions.  Parsed from the line-based scenario format.
#ifndef OVXSIM_SCENARIO_H
#define OVXSIM_SCENARIO_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "functions.h"
#include "ovxcapture.h"

namespace ovxsim {

enum class ClockMode { Realtime, Manual };

// Watchdog fields a change touches: bit i stands for field i in the order
// state, interval, err_count, ovx_count, ovx_err.
struct WatchdogChange {
  uint32_t mask = 0;
  OvxWatchdogInfo values{};
};

void ApplyWatchdogChange(const WatchdogChange& change, OvxWatchdogInfo& target);

struct TimedAction {
  enum class Kind { Event, Input, Watchdog };
  Kind kind = Kind::Event;
  uint64_t at_ms = 0;       // after the device opened
  OvxEventSize input{};     // Event, Input
  WatchdogChange watchdog;  // Watchdog
};

struct Injection {
  Function function = Function::DevOpen;
  int32_t property_id = -1;  // < 0: any
  int32_t status = 0;
  uint32_t from_call = 1;
  uint32_t count = 0;        // 0: for good
  bool after_shown = false;  // calls count only once a draw has shown the plane
};

struct Scenario {
  std::optional<ClockMode> clock;  // unset: the clock stays as it is
  OvxFirmwareInfo firmware{};
  uint32_t api_version = 0;
  OvxWatchdogInfo watchdog{};
  OvxEventSize output{};
  OvxEventSize input{};
  int32_t audio_delay = 0;
  std::vector<TimedAction> timeline;  // ordered by at_ms, file order among equals
  std::vector<Injection> injections;
  std::array<uint32_t, kFunctionCount> delays_ms{};
};

// Limits of the format; anything beyond is a malformed scenario.
inline constexpr std::size_t kMaxScenarioBytes = 65536;
inline constexpr std::size_t kMaxLineLength = 255;
inline constexpr std::size_t kMaxTimedActions = 1000;
inline constexpr std::size_t kMaxInjections = 100;
inline constexpr uint32_t kMaxSize = 65535;
inline constexpr uint64_t kMaxAtMs = 86400000;  // one day
inline constexpr uint32_t kMaxDelayMs = 10000;
inline constexpr int32_t kMaxAudioDelay = 1000000;

// The board as it comes: fitting firmware, healthy watchdog, panel 3840 x
// 2560, no input, and an HDMI source of 1920 x 1080 500 ms after open.
Scenario DefaultScenario();

struct ParseResult {
  std::optional<Scenario> scenario;
  std::string error;  // "line N: reason" when scenario is empty
};

// Values not named in the text keep those of DefaultScenario(); the
// timeline, injections and delays are only those of the text.
ParseResult ParseScenario(std::string_view text);

}  // namespace ovxsim

#endif
