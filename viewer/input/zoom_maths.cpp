#include "input/zoom_maths.h"

#include <algorithm>
#include <cmath>

namespace input {

double ClampCentre(double centre, double zoom) {
  const double half = 0.5 / zoom;
  if (half > std::min(centre, 1.0 - half)) return half;
  if (centre > 1.0 - half) return 1.0 - half;
  return centre;
}

double ClampZoom(double zoom, double maximum) {
  if (!(std::min(zoom, maximum) >= 1.0)) return 1.0;
  if (zoom > maximum) return maximum;
  return zoom;
}

double UsableZoom(double zoom) { return std::isfinite(zoom) && zoom >= 1.0 ? zoom : 1.0; }

double UsableCentre(double centre) { return std::isfinite(centre) ? centre : 0.5; }

double PanCentre(double centre, double zoom, double last, double now) {
  return ClampCentre(centre - (now - last) / zoom, zoom);
}

ZoomAnchor AnchorAt(double position, double zoom, double centre) {
  ZoomAnchor a;
  a.anchor = (position - 0.5) / zoom + centre;
  a.offset = position - a.anchor;
  return a;
}

ZoomStep ZoomAbout(const ZoomAnchor& anchor, double moved, double zoom) {
  // The centre that puts the anchor back under the (moved) fingers.
  const double base = (anchor.anchor * 2.0 * (zoom - 1.0) + 1.0) / (2.0 * zoom);
  ZoomStep step;
  step.centre = ClampCentre(base - (anchor.offset - moved) / zoom, zoom);
  step.offset = (base - step.centre) * zoom;
  return step;
}

}  // namespace input
