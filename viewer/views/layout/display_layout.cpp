#include "views/layout/display_layout.h"

#include <cmath>
#include <limits>
#include <utility>

namespace views {

bool PlacementChanged(const DisplayLayout& stored, const DisplayLayout& next) {
  return stored.displayWidth != next.displayWidth || stored.displayHeight != next.displayHeight ||
         stored.displayThird != next.displayThird || stored.displayOrientation != next.displayOrientation ||
         stored.monitor != next.monitor || stored.workArea != next.workArea;
}

int32_t ScaleToDisplay(int32_t value, const DisplayLayout& layout) {
  double width = layout.displayWidth;
  double height = layout.displayHeight;
  if (layout.displayOrientation == 90 || layout.displayOrientation == 270) std::swap(width, height);
  const double a = width * 10000 / 3840;
  const double b = height * 10000 / 2560;
  const double scaled = a > b ? value * (width / 3840) : value * (height / 2560);
  // A display of absurd size must not make the conversion undefined.
  constexpr double kLow = std::numeric_limits<int32_t>::min();
  constexpr double kHigh = std::numeric_limits<int32_t>::max();
  if (!(scaled > kLow)) return std::numeric_limits<int32_t>::min();
  if (!(scaled < kHigh)) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::trunc(scaled));
}

}  // namespace views
