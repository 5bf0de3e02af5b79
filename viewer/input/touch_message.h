#pragma once
// The play view's touch message: points strictly inside the video rectangle
// feed the recognizers; a message with none inside lifts every finger, so a
// touch that leaves the video ends its gesture.
#include <cstdint>
#include <span>

#include "app/frame_ports.h"
#include "input/gesture_recognizer_set.h"
#include "input/touch_reader.h"

namespace input {

// Strictly inside: a point on the rectangle's edge is outside.
[[nodiscard]] bool IsStrictlyInside(const app::Rect& video, int32_t px, int32_t py);

// Marks every point lifted unless one of them lies inside the video rectangle.
void LiftUnlessInside(std::span<TouchPoint> points, const app::Rect& video);

// Reads `count` points (the low word of the message's wParam), filters them
// and runs the recognizers, then closes the handle.  Points that cannot be
// read are dropped.  The message goes on to default processing in every case.
void HandleTouchMessage(TouchReader& reader, TouchInputHandle handle, uint32_t count, const app::Rect& video,
                        GestureRecognizerSet& recognizers);

}  // namespace input
