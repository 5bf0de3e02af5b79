// What the tablet's user sees: the board's picture laid over a screenshot
// where the plane lies, but only on pixels of the key colour, as a
// colour-keyed overlay does, so a window over the video hides the picture.
#pragma once

#include "image.h"
#include "shown_plane.h"

namespace composite {

inline constexpr Rgb kKeyColour{0, 3, 0};

// `monitor` is the screen area of the monitor the plane belongs to (its size
// is the display mode); the display orientation is taken to be the plane's
// angle, as the viewer always sends it.  `source` stands for the whole
// input, stretched over the crop's grid.  Returns the number of pixels painted.
int CompositePlane(Image& screen, const Rect& monitor, const ShownPlane& plane, const Image& source);

}  // namespace composite
