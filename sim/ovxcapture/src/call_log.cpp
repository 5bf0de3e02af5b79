#include "call_log.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace ovxsim {

void CallLog::Add(OvxSimCall call) {
  call.sequence = next_sequence_++;
  if (calls_.size() >= kCapacity) {
    calls_.pop_front();
  }
  calls_.push_back(call);
}

OvxSimCall MakeCall(Function function, int32_t property_id, const void* device_slot, const void* plane_slot,
                    uint64_t thread_id) {
  OvxSimCall call{};
  std::snprintf(call.function, sizeof call.function, "%s", FunctionName(function));
  call.property_id = property_id;
  call.thread_id = thread_id;
  call.device_slot = device_slot;
  call.plane_slot = plane_slot;
  return call;
}

void AppendArg(OvxSimCall& call, int32_t value) {
  if (call.arg_count < sizeof call.args / sizeof call.args[0]) {
    call.args[call.arg_count++] = value;
  }
}

void AppendArgs(OvxSimCall& call, const void* record, std::size_t words) {
  if (record == nullptr) {
    return;
  }
  for (std::size_t i = 0; i < words; ++i) {
    int32_t value = 0;
    std::memcpy(&value, static_cast<const unsigned char*>(record) + i * sizeof value, sizeof value);
    AppendArg(call, value);
  }
}

void AppendPointerArg(OvxSimCall& call, const void* pointer) {
  const auto bits = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer));
  AppendArg(call, static_cast<int32_t>(static_cast<uint32_t>(bits)));
  AppendArg(call, static_cast<int32_t>(static_cast<uint32_t>(bits >> 32)));
}

std::string FormatCall(const OvxSimCall& call) {
  char buffer[384];
  int n = std::snprintf(buffer, sizeof buffer, "#%" PRIu64 " thread %" PRIu64 " %s(device %p", call.sequence,
                        call.thread_id, call.function, call.device_slot);
  std::string out(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
  if (call.plane_slot != nullptr) {
    std::snprintf(buffer, sizeof buffer, ", plane %p", call.plane_slot);
    out += buffer;
  }
  if (call.property_id >= 0) {
    std::snprintf(buffer, sizeof buffer, ", id %" PRId32, call.property_id);
    out += buffer;
  }
  std::snprintf(buffer, sizeof buffer, ") -> %" PRId32 " [", call.status);
  out += buffer;
  for (uint32_t i = 0; i < call.arg_count && i < 8; ++i) {
    std::snprintf(buffer, sizeof buffer, i == 0 ? "%" PRId32 : " %" PRId32, call.args[i]);
    out += buffer;
  }
  out += "]";
  return out;
}

}  // namespace ovxsim
