#pragma once
// The event records of the recognizers, in whole screen pixels.
#include <cstdint>

namespace input {

struct SlideEventArgs {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const SlideEventArgs&, const SlideEventArgs&) = default;
};

struct PinchEventArgs {
  int32_t x = 0;  // midpoint of the two fingers
  int32_t y = 0;
  int32_t distance = 0;
  friend bool operator==(const PinchEventArgs&, const PinchEventArgs&) = default;
};

}  // namespace input
