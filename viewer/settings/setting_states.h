#pragma once
// Values of the two switch-like machine settings. Any stored number is kept
// (the fixed 32-bit base allows it); only zero versus nonzero matters.
#include <cstdint>

namespace settings {

enum _DETECT_STATE : int32_t { DETECT_OFF = 0, DETECT_ON = 1 };
enum _API_LOG_STATE : int32_t { API_LOG_OFF = 0, API_LOG_ON = 1 };

}  // namespace settings
