#include "input/abs_gesture_recognizer.h"

namespace input {

int32_t AbsGestureRecognizer::Advance(std::span<const TouchPoint> points, size_t fingers) {
  size_t moving = 0;
  size_t released = 0;
  for (const TouchPoint& p : points) {
    if (p.flags & kTouchMove) ++moving;
    if (p.flags & kTouchUp) ++released;
  }
  const size_t all = points.size();
  if (state_ == kGestureBegan || state_ == kGestureChanged) {
    state_ = (all == fingers && moving == fingers) ? kGestureChanged : kGestureEnded;
  } else {
    state_ = (all - released == fingers) ? kGestureBegan : kGestureIdle;
  }
  return state_;
}

void AbsGestureRecognizer::Select(std::span<const TouchPoint> points, int32_t state,
                                  std::span<Position> out) {
  uint32_t mask = 0;
  switch (state) {
    case kGestureBegan:
      mask = kTouchMove | kTouchDown;
      break;
    case kGestureChanged:
      mask = kTouchMove;
      break;
    case kGestureEnded:
      mask = kTouchMove | kTouchUp;
      break;
    default:
      return;
  }
  size_t found = 0;
  for (const TouchPoint& p : points) {
    if (found == out.size()) break;
    if ((p.flags & mask) == 0) continue;
    out[found++] = Position{TouchToPixels(p.x), TouchToPixels(p.y)};
  }
}

}  // namespace input
