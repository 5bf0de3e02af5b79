#pragma once
// One contact of a touch message, as the recognizers read it from the
// platform's touch record.
#include <cstdint>

namespace input {

inline constexpr uint32_t kTouchMove = 0x1;
inline constexpr uint32_t kTouchDown = 0x2;
inline constexpr uint32_t kTouchUp = 0x4;

struct TouchPoint {
  int32_t x = 0;  // hundredths of a physical screen pixel
  int32_t y = 0;
  uint32_t flags = 0;
  friend bool operator==(const TouchPoint&, const TouchPoint&) = default;
};

// Hundredths to whole pixels, rounding toward zero (-150 gives -1).
constexpr int32_t TouchToPixels(int32_t hundredths) { return hundredths / 100; }

}  // namespace input
