#pragma once
// The state machine both recognizers share: a gesture of exactly N fingers
// begins, changes on every message and ends; no thresholds of any kind.
#include <cstddef>
#include <cstdint>
#include <span>

#include "input/touch_point.h"

namespace input {

enum GestureState : int32_t {
  kGestureIdle = 0,
  kGestureBegan = 1,
  kGestureChanged = 2,
  kGestureEnded = 3,
};

class AbsGestureRecognizer {
 public:
  virtual ~AbsGestureRecognizer() = default;
  // The touch points of one message; calls at most one handler.
  virtual void Recognize(std::span<const TouchPoint> points) = 0;

  [[nodiscard]] int32_t State() const { return state_; }

 protected:
  // Advances the machine for a gesture of `fingers` fingers and returns the
  // new state.
  int32_t Advance(std::span<const TouchPoint> points, size_t fingers);

  // The points the event of `state` is built from: in message order, the
  // first `wanted` whose flags share a bit with the state's mask; the ones
  // not found stay (0, 0).  Positions in whole pixels.
  struct Position {
    int32_t x = 0;
    int32_t y = 0;
  };
  static void Select(std::span<const TouchPoint> points, int32_t state, std::span<Position> out);

 private:
  int32_t state_ = kGestureIdle;
};

}  // namespace input
