// The exported control interface of the simulated board.
#include <cstdio>
#include <cstring>
#include <string>

#include "board.h"
#include "ovxcapture_sim.h"

using ovxsim::Board;

namespace {

// Copies a message into the caller's buffer, cut to fit and terminated.
void CopyText(const std::string& text, char* out, size_t size) {
  if (out == nullptr || size == 0) {
    return;
  }
  const size_t n = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

// Misuse of a control call is reported, not silently dropped.
std::optional<ovxsim::Function> KnownFunction(const char* caller, const char* name) {
  const auto f = name != nullptr ? ovxsim::FunctionFromName(name) : std::nullopt;
  if (!f) {
    std::fprintf(stderr, "ovxcapture sim: %s: unknown function '%.40s'; ignored\n", caller,
                 name != nullptr ? name : "(null)");
  }
  return f;
}

}  // namespace

extern "C" {

OVX_API void OvxSim_Reset(void) { Board::Instance().Reset(); }

OVX_API int32_t OvxSim_LoadScenarioText(const char* text, char* message, size_t message_size) {
  std::string error;
  const bool ok = Board::Instance().LoadScenarioText(text != nullptr ? text : "", error);
  CopyText(ok ? std::string() : error, message, message_size);
  return ok ? 1 : 0;
}

OVX_API int32_t OvxSim_LoadScenarioFile(const char* path, char* message, size_t message_size) {
  std::string error;
  const bool ok = Board::Instance().LoadScenarioFile(path, error);
  CopyText(ok ? std::string() : error, message, message_size);
  return ok ? 1 : 0;
}

OVX_API void OvxSim_InjectStatus(const char* function, int32_t property_id, int32_t status,
                                 uint32_t from_call, uint32_t count) {
  Board& board = Board::Instance();
  const auto f = KnownFunction("OvxSim_InjectStatus", function);
  if (!f) {
    return;
  }
  if (property_id >= 0 && !ovxsim::FunctionTakesPropertyId(*f)) {
    std::fprintf(stderr, "ovxcapture sim: OvxSim_InjectStatus: %s takes no property id; ignored\n", function);
    return;
  }
  ovxsim::Injection injection;
  injection.function = *f;
  injection.property_id = property_id < 0 ? -1 : property_id;
  injection.status = status;
  injection.from_call = from_call;
  injection.count = count;
  board.InjectStatus(injection);
}

OVX_API void OvxSim_SetCallDelay(const char* function, uint32_t delay_ms) {
  Board& board = Board::Instance();
  if (const auto f = KnownFunction("OvxSim_SetCallDelay", function)) {
    board.SetCallDelay(*f, delay_ms);
  }
}

OVX_API void OvxSim_SetFirmware(const OvxFirmwareInfo* info) {
  if (info != nullptr) {
    Board::Instance().SetFirmware(*info);
  }
}

OVX_API void OvxSim_SetApiVersion(uint32_t version_no) { Board::Instance().SetApiVersion(version_no); }

OVX_API void OvxSim_SetWatchdog(const OvxWatchdogInfo* info) {
  if (info != nullptr) {
    Board::Instance().SetWatchdog(*info);
  }
}

OVX_API void OvxSim_SetOutput(const OvxEventSize* output) {
  if (output != nullptr) {
    Board::Instance().SetOutput(*output);
  }
}

OVX_API void OvxSim_SetInput(const OvxEventSize* input) {
  if (input != nullptr) {
    Board::Instance().SetInput(*input);
  }
}

OVX_API int32_t OvxSim_FireEvent(uint32_t event, int32_t width, int32_t height) {
  return Board::Instance().FireEvent(OvxEventSize{event, {width, height}});
}

OVX_API void OvxSim_AdvanceTime(uint32_t ms) { Board::Instance().AdvanceTime(ms); }

OVX_API uint32_t OvxSim_CallCount(void) { return Board::Instance().CallCount(); }

OVX_API int32_t OvxSim_GetCall(uint32_t index, OvxSimCall* call) {
  const auto found = Board::Instance().Call(index);
  if (!found || call == nullptr) {
    return 0;
  }
  *call = *found;
  return 1;
}

OVX_API void OvxSim_ClearCalls(void) { Board::Instance().ClearCalls(); }

OVX_API void OvxSim_GetState(OvxSimState* state) {
  if (state != nullptr) {
    *state = Board::Instance().State();
  }
}

OVX_API void OvxSim_GetCommittedPlane(OvxSimPlane* plane) {
  if (plane != nullptr) {
    *plane = Board::Instance().CommittedPlane();
  }
}

OVX_API void OvxSim_SetStateFile(const char* path) {
  Board::Instance().SetStateFile(path != nullptr ? path : "");
}

OVX_API uint64_t OvxSim_CurrentThreadId(void) { return ovxsim::CurrentThreadNumber(); }

OVX_API int32_t OvxSim_FormatCall(uint32_t index, char* text, size_t text_size) {
  const auto found = Board::Instance().Call(index);
  if (!found) {
    CopyText(std::string(), text, text_size);
    return 0;
  }
  CopyText(ovxsim::FormatCall(*found), text, text_size);
  return 1;
}

OVX_API int32_t OvxSim_LoadEnvironmentScenario(void) {
  return Board::Instance().LoadEnvironmentScenario() ? 1 : 0;
}

OVX_API uint64_t OvxSim_ClockMs(void) { return Board::Instance().ClockMs(); }

}  // extern "C"
