#include "app/video_fit.h"

namespace app {

Rect FitVideoRect(const Rect& area, int32_t inputWidth, int32_t inputHeight) {
  if (inputWidth <= 0 || inputHeight <= 0) return area;
  const int32_t rw = area.Width();
  const int32_t rh = area.Height();
  const double sx = static_cast<double>(rw) / inputWidth;
  const double sy = static_cast<double>(rh) / inputHeight;
  Rect video = area;
  if (sy > sx) {
    const double hh = inputHeight * sx;
    video.top = area.top + (static_cast<int32_t>(rh - hh) >> 1);
    video.bottom = video.top + static_cast<int32_t>(hh + 0.5);
  } else {
    const double ww = inputWidth * sy;
    video.left = area.left + (static_cast<int32_t>(rw - ww) >> 1);
    video.right = video.left + static_cast<int32_t>(ww + 0.5);
  }
  return video;
}

PlaneGeometry PlaneGeometryFor(const DisplayState& display, const Rect& video) {
  PlaneGeometry g;
  g.screenWidth = display.width;
  g.screenHeight = display.height;
  g.angle = display.angle;
  g.x = video.left - display.monitor.left;
  g.y = video.top - display.monitor.top;
  g.width = video.Width();
  g.height = video.Height();
  return g;
}

}  // namespace app
