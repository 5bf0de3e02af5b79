#include "input/slide_recognizer.h"

namespace input {

void SlideRecognizer::Recognize(std::span<const TouchPoint> points) {
  const int32_t state = Advance(points, 1);
  Position position[1];
  Select(points, state, position);
  const SlideEventArgs args{position[0].x, position[0].y};
  const SlideHandler* handler = nullptr;
  if (state == kGestureBegan) handler = &began_;
  if (state == kGestureChanged) handler = &changed_;
  if (state == kGestureEnded) handler = &ended_;
  if (handler != nullptr && *handler) (*handler)(args);
}

}  // namespace input
