#include "input/touch_message.h"

#include <vector>

namespace input {

bool IsStrictlyInside(const app::Rect& video, int32_t px, int32_t py) {
  return video.left < px && px < video.right && video.top < py && py < video.bottom;
}

void LiftUnlessInside(std::span<TouchPoint> points, const app::Rect& video) {
  for (const TouchPoint& p : points) {
    if (IsStrictlyInside(video, TouchToPixels(p.x), TouchToPixels(p.y))) return;
  }
  for (TouchPoint& p : points) p.flags = (p.flags & ~(kTouchMove | kTouchDown)) | kTouchUp;
}

void HandleTouchMessage(TouchReader& reader, TouchInputHandle handle, uint32_t count, const app::Rect& video,
                        GestureRecognizerSet& recognizers) {
  if (count == 0) return;
  std::vector<TouchPoint> points(count);
  if (!reader.Read(handle, points)) return;
  LiftUnlessInside(points, video);
  recognizers.Recognize(points.data(), points.size());
  reader.Close(handle);
}

}  // namespace input
