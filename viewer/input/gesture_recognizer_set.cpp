#include "input/gesture_recognizer_set.h"

#include <vector>

namespace input {

void GestureRecognizerSet::Recognize(const TouchPoint* points, size_t count) {
  if (points == nullptr) return;
  // A copy: a handler may change what the caller's buffer holds.
  const std::vector<TouchPoint> copy(points, points + count);
  slide_.Recognize(copy);
  pinch_.Recognize(copy);
}

}  // namespace input
