#include "app/window_placement.h"

#include <algorithm>
#include <cmath>

namespace app {

Size PlacementWindowSize(const Rect& work, int32_t inputWidth, int32_t inputHeight, int32_t barHeight,
                         const ClientToWindow& toWindow) {
  const int32_t workWidth = work.Width();
  const int32_t workHeight = work.Height();
  int32_t w = inputWidth;
  int32_t h = inputHeight;
  if (w <= 0 || h <= 0) {
    w = std::max(workWidth / 2, 1);
    h = std::max(w * 9 / 16, 1);
  }
  Size size = toWindow(Size{w, h + barHeight});
  if (size.width <= workWidth && size.height <= workHeight) return size;
  // The frame and the bars stay as they are; only the picture shrinks.
  int64_t aw = static_cast<int64_t>(w) + workWidth - size.width;
  int64_t ah = static_cast<int64_t>(h) + workHeight - size.height;
  const double rx = static_cast<double>(aw) / w;
  const double ry = static_cast<double>(ah) / h;
  if (ry > rx) {
    ah = static_cast<int64_t>(std::trunc(h * rx + 0.5));
  } else {
    aw = static_cast<int64_t>(std::trunc(w * ry + 0.5));
  }
  // A work area smaller than the frame itself leaves a one-pixel picture.
  aw = std::clamp<int64_t>(aw, 1, w);
  ah = std::clamp<int64_t>(ah, 1, h);
  return toWindow(Size{static_cast<int32_t>(aw), static_cast<int32_t>(ah) + barHeight});
}

Point PlacementOrigin(const Rect& work, int32_t windowWidth, int32_t windowHeight) {
  const int32_t x =
      static_cast<int32_t>(std::trunc((work.left + work.right) / 2 - (windowWidth * 0.5 + 0.5)));
  const int32_t y = (work.top + work.bottom) / 2 - static_cast<int32_t>(std::trunc(windowHeight * 0.5 + 0.5));
  return Point{x, std::max(y, work.top)};
}

}  // namespace app
