#pragma once
// Reading back the simulated board's call record.
#include <string>
#include <vector>

#include "ovxcapture_sim.h"

namespace capture::testing {

inline std::vector<OvxSimCall> SimCalls() {
  std::vector<OvxSimCall> calls(OvxSim_CallCount());
  for (uint32_t i = 0; i < calls.size(); ++i) OvxSim_GetCall(i, &calls[i]);
  return calls;
}

// "Ovx_VpSetProp:10", "Ovx_VpDrawAll", ...
inline std::vector<std::string> SimCallNames() {
  std::vector<std::string> names;
  for (const auto& c : SimCalls())
    names.push_back(c.function + (c.property_id >= 0 ? ":" + std::to_string(c.property_id) : std::string()));
  return names;
}

inline std::vector<OvxSimCall> SimCallsOf(const std::string& function, int32_t id = -1) {
  std::vector<OvxSimCall> out;
  for (const auto& c : SimCalls())
    if (function == c.function && (id < 0 || c.property_id == id)) out.push_back(c);
  return out;
}

}  // namespace capture::testing
