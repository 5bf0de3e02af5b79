#pragma once
// Where the picture lies inside the display area, and where that puts the
// video plane.
#include <cstdint>

#include "app/frame_ports.h"

namespace app {

// The largest rectangle of the input's aspect inside `area`, centred across
// the direction it does not fill.  A zero input size gives the area itself.
Rect FitVideoRect(const Rect& area, int32_t inputWidth, int32_t inputHeight);

// The plane request values for a video rectangle in screen coordinates:
// the display mode, its angle, and the rectangle relative to the monitor.
PlaneGeometry PlaneGeometryFor(const DisplayState& display, const Rect& video);

}  // namespace app
