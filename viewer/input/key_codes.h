#pragma once
// Keys and wheel as the platform reports them: virtual-key codes and wheel
// deltas, kept here so that the decisions need no platform header.
#include <cstdint>

namespace input {

inline constexpr uint32_t kKeyMenu = 0x12;  // Alt
inline constexpr uint32_t kKeyEscape = 0x1B;
inline constexpr uint32_t kKeySpace = 0x20;
inline constexpr uint32_t kKey0 = 0x30;
inline constexpr uint32_t kKeyNumpad0 = 0x60;
inline constexpr uint32_t kKeyAdd = 0x6B;
inline constexpr uint32_t kKeySubtract = 0x6D;
inline constexpr uint32_t kKeyF10 = 0x79;
inline constexpr uint32_t kKeyF11 = 0x7A;
inline constexpr uint32_t kKeyOemPlus = 0xBB;  // "=+" on US layouts, "+" elsewhere
inline constexpr uint32_t kKeyOemMinus = 0xBD;

// One notch of a wheel; touchpads report fractions of it.
inline constexpr int32_t kWheelDelta = 120;

// Mouse messages the platform makes from touch carry this signature in the
// message's extra information.
inline constexpr uint64_t kTouchSignatureMask = 0xFFFFFF00u;
inline constexpr uint64_t kTouchSignature = 0xFF515700u;
[[nodiscard]] constexpr bool IsMouseFromTouch(uint64_t extraInfo) {
  return (extraInfo & kTouchSignatureMask) == kTouchSignature;
}

}  // namespace input
