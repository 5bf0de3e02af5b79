#include "capture/plane/plane_placement.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace capture {
namespace {

int32_t Clamp32(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// Truncation toward zero, clamped to the 32-bit range.
int32_t Trunc32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

}  // namespace

PlaneRect PlacementFor(const PlaneState& state) {
  int64_t sw = state.screen.width;
  int64_t sh = state.screen.height;
  if (sw == 0 || sh == 0) return {0, 0, 0, 0};
  const int32_t angle = state.angle;
  const bool turned = angle == 90 || angle == 270;
  if (turned) std::swap(sw, sh);
  const int64_t pw = state.planeWidth;
  const int64_t ph = state.planeHeight;

  // Integer ratios decide which side fits; ties take the height ratio.
  const int64_t kx = pw * 10000 / sw;
  const int64_t ky = ph * 10000 / sh;
  const double s = kx < ky ? static_cast<double>(pw) / static_cast<double>(sw)
                           : static_cast<double>(ph) / static_cast<double>(sh);
  double ox = (static_cast<double>(pw) - static_cast<double>(sw) * s) * 0.5;
  double oy = (static_cast<double>(ph) - static_cast<double>(sh) * s) * 0.5;
  if (turned) std::swap(ox, oy);

  const PlaneRect& p = state.placement;
  const int64_t rx = Trunc32(p.x * s + 0.5 + ox);
  const int64_t ry = Trunc32(p.y * s + 0.5 + oy);
  const int64_t rw = Trunc32(p.width * s);
  const int64_t rh = Trunc32(p.height * s);

  switch (angle) {
    case 90:
      return {Clamp32(pw - ry - rh), Clamp32(rx), Clamp32(rh), Clamp32(rw)};
    case 180:
      return {Clamp32(pw - rx - rw), Clamp32(ph - ry - rh), Clamp32(rw), Clamp32(rh)};
    case 270:
      return {Clamp32(ry), Clamp32(ph - rx - rw), Clamp32(rh), Clamp32(rw)};
    default:
      return {Clamp32(rx), Clamp32(ry), Clamp32(rw), Clamp32(rh)};
  }
}

}  // namespace capture
