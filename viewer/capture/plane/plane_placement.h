#pragma once
// Where the video rectangle of the screen lies on the panel: scaled to fit
// the plane's coordinate space, centred with equal margins and turned with
// the display orientation.

#include "capture/plane/plane_state.h"

namespace capture {

// (0, 0, 0, 0) for a screen size of zero.  Results outside the 32-bit
// range (nonsense sizes from the board) are clamped, never overflowed.
[[nodiscard]] PlaneRect PlacementFor(const PlaneState& state);

}  // namespace capture
