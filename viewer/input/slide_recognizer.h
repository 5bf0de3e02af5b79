#pragma once
// One finger: began, changed on every message, ended.
#include <functional>

#include "input/abs_gesture_recognizer.h"
#include "input/gesture_events.h"

namespace input {

using SlideHandler = std::function<void(SlideEventArgs)>;

class SlideRecognizer final : public AbsGestureRecognizer {
 public:
  void Recognize(std::span<const TouchPoint> points) override;

  void SetBeganHandler(SlideHandler handler) { began_ = std::move(handler); }
  void SetChangedHandler(SlideHandler handler) { changed_ = std::move(handler); }
  void SetEndedHandler(SlideHandler handler) { ended_ = std::move(handler); }

 private:
  SlideHandler began_;
  SlideHandler changed_;
  SlideHandler ended_;
};

}  // namespace input
