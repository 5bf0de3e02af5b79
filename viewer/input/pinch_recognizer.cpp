#include "input/pinch_recognizer.h"

#include <cmath>

namespace input {

PinchEventArgs PinchBetween(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  // In double: sums and squares of touch coordinates overflow 32 bits.
  const double dx = static_cast<double>(x2) - x1;
  const double dy = static_cast<double>(y2) - y1;
  PinchEventArgs args;
  args.x = static_cast<int32_t>(std::trunc((static_cast<double>(x1) + x2) * 0.5));
  args.y = static_cast<int32_t>(std::trunc((static_cast<double>(y1) + y2) * 0.5));
  args.distance = static_cast<int32_t>(std::trunc(std::sqrt(dx * dx + dy * dy)));
  return args;
}

void PinchRecognizer::Recognize(std::span<const TouchPoint> points) {
  const int32_t state = Advance(points, 2);
  Position position[2];
  Select(points, state, position);
  const PinchEventArgs args = PinchBetween(position[0].x, position[0].y, position[1].x, position[1].y);
  const PinchHandler* handler = nullptr;
  if (state == kGestureBegan) handler = &began_;
  if (state == kGestureChanged) handler = &changed_;
  if (state == kGestureEnded) handler = &ended_;
  if (handler != nullptr && *handler) (*handler)(args);
}

}  // namespace input
