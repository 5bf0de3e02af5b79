#pragma once
// Two fingers: their midpoint and distance, began, changed, ended.
#include <functional>

#include "input/abs_gesture_recognizer.h"
#include "input/gesture_events.h"

namespace input {

using PinchHandler = std::function<void(PinchEventArgs)>;

class PinchRecognizer final : public AbsGestureRecognizer {
 public:
  void Recognize(std::span<const TouchPoint> points) override;

  void SetBeganHandler(PinchHandler handler) { began_ = std::move(handler); }
  void SetChangedHandler(PinchHandler handler) { changed_ = std::move(handler); }
  void SetEndedHandler(PinchHandler handler) { ended_ = std::move(handler); }

 private:
  PinchHandler began_;
  PinchHandler changed_;
  PinchHandler ended_;
};

// Midpoint and distance of two whole-pixel positions, each truncated toward zero.
[[nodiscard]] PinchEventArgs PinchBetween(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

}  // namespace input
