#pragma once
// Reading the points of one touch message: the platform call behind a seam,
// so that the touch path can be driven with points of our choosing.
#include <cstdint>
#include <span>

#include "input/touch_point.h"

namespace input {

// The touch message's handle (its lParam).
using TouchInputHandle = uintptr_t;

class TouchReader {
 public:
  virtual ~TouchReader() = default;
  // Fills `out` with the message's points; false when they cannot be read.
  [[nodiscard]] virtual bool Read(TouchInputHandle handle, std::span<TouchPoint> out) = 0;
  // Gives the handle back; a failure leaves nothing to do.
  virtual void Close(TouchInputHandle handle) = 0;
};

}  // namespace input
