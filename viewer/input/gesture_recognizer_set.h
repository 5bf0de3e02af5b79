#pragma once
// The slide and the pinch recognizer fed with the same messages, slide first,
// so that a slide can end and a pinch begin on one message.
#include <cstddef>

#include "input/pinch_recognizer.h"
#include "input/slide_recognizer.h"

namespace input {

class GestureRecognizerSet {
 public:
  // The points of one message; a null pointer does nothing.
  void Recognize(const TouchPoint* points, size_t count);

  void SetSlideBeganHandler(SlideHandler handler) { slide_.SetBeganHandler(std::move(handler)); }
  void SetSlideChangedHandler(SlideHandler handler) { slide_.SetChangedHandler(std::move(handler)); }
  void SetSlideEndedHandler(SlideHandler handler) { slide_.SetEndedHandler(std::move(handler)); }
  void SetPinchBeganHandler(PinchHandler handler) { pinch_.SetBeganHandler(std::move(handler)); }
  void SetPinchChangedHandler(PinchHandler handler) { pinch_.SetChangedHandler(std::move(handler)); }
  void SetPinchEndedHandler(PinchHandler handler) { pinch_.SetEndedHandler(std::move(handler)); }

  [[nodiscard]] const SlideRecognizer& Slide() const { return slide_; }
  [[nodiscard]] const PinchRecognizer& Pinch() const { return pinch_; }

 private:
  SlideRecognizer slide_;
  PinchRecognizer pinch_;
};

}  // namespace input
