#include "plane_composite.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace composite {
namespace {

struct PanelMap {
  double scale = 0;
  double offsetX = 0, offsetY = 0;
};

// The screen-to-panel scale and margins of the viewer's placement rule:
// fit the (turned) display mode into the panel, centred.
PanelMap MapFor(const Rect& monitor, const ShownPlane& plane) {
  PanelMap map;
  int32_t sw = monitor.width, sh = monitor.height;
  const bool turned = plane.angle == 90 || plane.angle == 270;
  if (turned) std::swap(sw, sh);
  const int64_t kx = int64_t{plane.panelWidth} * 10000 / sw;
  const int64_t ky = int64_t{plane.panelHeight} * 10000 / sh;
  map.scale =
      kx < ky ? static_cast<double>(plane.panelWidth) / sw : static_cast<double>(plane.panelHeight) / sh;
  map.offsetX = (plane.panelWidth - sw * map.scale) * 0.5;
  map.offsetY = (plane.panelHeight - sh * map.scale) * 0.5;
  if (turned) std::swap(map.offsetX, map.offsetY);
  return map;
}

}  // namespace

int CompositePlane(Image& screen, const Rect& monitor, const ShownPlane& plane, const Image& source) {
  const Rect& place = plane.placement;
  if (!plane.open || !plane.enable || monitor.width <= 0 || monitor.height <= 0 || plane.panelWidth <= 0 ||
      plane.panelHeight <= 0 || place.width <= 0 || place.height <= 0 || source.width <= 0 ||
      source.height <= 0 || plane.gridWidth <= 0 || plane.gridHeight <= 0) {
    return 0;
  }
  const Rect crop = plane.partsId == 5 ? plane.crop : Rect{0, 0, plane.gridWidth, plane.gridHeight};
  const PanelMap map = MapFor(monitor, plane);
  const double pw = plane.panelWidth, ph = plane.panelHeight;
  int painted = 0;
  const int left = std::max(monitor.x, 0), top = std::max(monitor.y, 0);
  const int right = std::min(monitor.x + monitor.width, screen.width);
  const int bottom = std::min(monitor.y + monitor.height, screen.height);
  for (int py = top; py < bottom; ++py) {
    for (int px = left; px < right; ++px) {
      if (!(screen.At(px, py) == kKeyColour)) continue;
      // Pixel centre on the screen, then on the panel.
      const double u = (px - monitor.x + 0.5) * map.scale + map.offsetX;
      const double v = (py - monitor.y + 0.5) * map.scale + map.offsetY;
      double x = u, y = v;
      if (plane.angle == 90) {
        x = pw - v, y = u;
      } else if (plane.angle == 180) {
        x = pw - u, y = ph - v;
      } else if (plane.angle == 270) {
        x = v, y = ph - u;
      }
      const double a = (x - place.x) / place.width;
      const double b = (y - place.y) / place.height;
      if (a < 0 || a >= 1 || b < 0 || b >= 1) continue;
      // The board turns the picture on the panel by the angle (clockwise).
      double sa = a, sb = b;
      if (plane.angle == 90) {
        sa = b, sb = 1 - a;
      } else if (plane.angle == 180) {
        sa = 1 - a, sb = 1 - b;
      } else if (plane.angle == 270) {
        sa = 1 - b, sb = a;
      }
      const double gx = crop.x + sa * crop.width;
      const double gy = crop.y + sb * crop.height;
      const int sx =
          std::clamp(static_cast<int>(std::floor(gx * source.width / plane.gridWidth)), 0, source.width - 1);
      const int sy = std::clamp(static_cast<int>(std::floor(gy * source.height / plane.gridHeight)), 0,
                                source.height - 1);
      screen.Set(px, py, source.At(sx, sy));
      ++painted;
    }
  }
  return painted;
}

}  // namespace composite
