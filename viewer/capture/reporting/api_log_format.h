#pragma once
// Texts of the API call log: one line per capture call, byte for byte as the
// field diagnosis tools expect them.  Pure functions, no I/O.

#include <cstdint>
#include <string>

#include "ovxcapture.h"

namespace capture {

struct LocalTime {
  int year, month, day, hour, minute, second, millisecond;
};

// "0x" is not included: the address as the platform's printf prints a
// pointer on the target (16 upper-case hex digits).
[[nodiscard]] std::string PointerText(const void* pointer);

// "YYYY/MM/DD,hh:mm:ss.m," with the milliseconds unpadded.
[[nodiscard]] std::string TimeStampText(const LocalTime& time);

// "<status>,<function>,"
[[nodiscard]] std::string StatusText(int32_t status, const char* function);

// Argument texts, one per kind of call.
[[nodiscard]] std::string DevOpenArgs(const OvxDevice* device, int32_t reserved);
[[nodiscard]] std::string DevCloseArgs(const OvxDevice* device);
// Records of properties 1, 2, 3, 4, 6 and 7; other ids print the slot and id only.
[[nodiscard]] std::string DevPropArgs(const OvxDevice* device, int32_t id, const void* record);
[[nodiscard]] std::string DevSetCbArgs(const OvxDevice* device, int32_t id, OvxEventCallback callback);
[[nodiscard]] std::string DevWdtInitArgs(const OvxDevice* device, int32_t interval, int32_t limit);
[[nodiscard]] std::string VpCreateArgs(const OvxDevice* device, const OvxPlane* plane, int32_t type,
                                       int32_t flags);
// Records of plane properties 1, 2, 3, 5, 10 and 11.
[[nodiscard]] std::string VpSetPropArgs(const OvxDevice* device, const OvxPlane* plane, int32_t id,
                                        const void* record);
[[nodiscard]] std::string CallbackArgs(const OvxEventSize& record);

// The whole line, ending in "\n".
[[nodiscard]] std::string ApiLogLine(const LocalTime& time, int32_t status, const char* function,
                                     const std::string& args);

inline constexpr const char* kCallbackArrived = "Callback arrived.";

}  // namespace capture
