#pragma once
// The record the main frame fills and hands to the splitter and to every
// view: where the video lies, its zoom, and the built-in display's set-up.

#include <cstdint>

#include "app/frame_ports.h"

namespace views {

using Rect = app::Rect;
using Point = app::Point;

// A rectangle as origin and size (the crop and the zoom indicator).
struct SizedRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const SizedRect&, const SizedRect&) = default;
};

struct DisplayLayout {
  Rect video;              // screen coordinates
  double zoomCentreX = 0;  // fractions of the video rectangle
  double zoomCentreY = 0;
  double zoom = 1.0;  // 1.0 = the whole picture
  int32_t displayWidth = 0;
  int32_t displayHeight = 0;
  int32_t displayThird = 0;        // always 0; only part of the change test
  int32_t displayOrientation = 0;  // degrees
  Rect monitor;
  Rect workArea;
  uint32_t fullScreen = 0;
  uint32_t tabletMode = 0;
  friend bool operator==(const DisplayLayout&, const DisplayLayout&) = default;
};

// True when the display values or the monitor or work-area rectangle differ:
// only then do controls move.  Video, zoom and flags alone move nothing.
[[nodiscard]] bool PlacementChanged(const DisplayLayout& stored, const DisplayLayout& next);

// Design units of the 3840 x 2560 reference display to pixels of the
// built-in display, by the larger of the two ratios (width and height
// exchanged at 90 and 270 degrees); truncated.  A zero display gives 0.
[[nodiscard]] int32_t ScaleToDisplay(int32_t value, const DisplayLayout& layout);

}  // namespace views
