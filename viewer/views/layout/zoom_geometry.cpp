#include "views/layout/zoom_geometry.h"

#include <algorithm>
#include <cmath>

namespace views {
namespace {

bool AllZero(const Rect& r) { return r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0; }

// Products in 64 bits: for every sane size the same as 32-bit arithmetic,
// and no overflow for absurd ones.
int32_t MulDivTrunc(int64_t a, int64_t b, int64_t c) { return static_cast<int32_t>(a * b / c); }

// A double to int32 by truncation, clamped so that it is always defined.
int32_t TruncClamped(double v) {
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (!(v < 2147483647.0)) return INT32_MAX;
  return static_cast<int32_t>(std::trunc(v));
}

}  // namespace

bool ComputeCropRect(const Rect& area, const Point& point, double zoom, SizedRect& crop) {
  if (AllZero(area) || !(zoom >= 1.0)) return false;
  const int64_t areaWidth = int64_t{area.right} - area.left;
  const int64_t areaHeight = int64_t{area.bottom} - area.top;
  if (areaWidth <= 0 || areaHeight <= 0) return false;
  const int32_t w = TruncClamped(kPictureWidth / zoom);
  const int32_t h = TruncClamped(kPictureHeight / zoom);
  const int64_t cx = int64_t{point.x} * kPictureWidth / areaWidth;
  const int64_t cy = int64_t{point.y} * kPictureHeight / areaHeight;
  int64_t x = cx - w / 2;
  int64_t y = cy - h / 2;
  if (x < 0) x = 0;
  if (x + w > kPictureWidth) x = kPictureWidth - w;
  if (y < 0) y = 0;
  if (y + h > kPictureHeight) y = kPictureHeight - h;
  crop = SizedRect{static_cast<int32_t>(x), static_cast<int32_t>(y), w, h};
  return true;
}

bool MapCropToArea(const Rect& area, const Point& point, double zoom, SizedRect& out) {
  SizedRect crop;
  if (!ComputeCropRect(area, point, zoom, crop)) return false;
  const int64_t areaWidth = int64_t{area.right} - area.left;
  const int64_t areaHeight = int64_t{area.bottom} - area.top;
  out = SizedRect{MulDivTrunc(areaWidth, crop.x, kPictureWidth) + area.left,
                  MulDivTrunc(areaHeight, crop.y, kPictureHeight) + area.top,
                  MulDivTrunc(areaWidth, crop.width, kPictureWidth),
                  MulDivTrunc(areaHeight, crop.height, kPictureHeight)};
  return true;
}

int32_t ZoomIndicatorGeometry::Margin(const DisplayLayout& layout) { return ScaleToDisplay(7, layout); }

Rect ZoomIndicatorGeometry::MapArea(const Rect& client, const DisplayLayout& layout) {
  const int32_t m = Margin(layout);
  return Rect{client.left + m, client.top + m, client.right - m, client.bottom - m};
}

int32_t ZoomIndicatorGeometry::PenWidth(const DisplayLayout& layout) { return ScaleToDisplay(3, layout); }

void ZoomIndicatorGeometry::Reset(const Rect& client, const DisplayLayout& layout) {
  const Rect area = MapArea(client, layout);
  Move(client, layout, Point{(area.left + area.right) / 2, (area.top + area.bottom) / 2}, layout.zoom);
}

void ZoomIndicatorGeometry::Move(const Rect& client, const DisplayLayout& layout, const Point& point,
                                 double zoom) {
  const int32_t m = Margin(layout);
  (void)MapCropToArea(MapArea(client, layout), Point{point.x - m, point.y - m}, zoom, indicator_);
}

void ZoomIndicatorGeometry::Update(const Rect& client, const DisplayLayout& layout) {
  const Rect& v = layout.video;
  // An empty video rectangle has no point to show; it counts as "none".
  if (AllZero(v) || v.Width() <= 0 || v.Height() <= 0) {
    Move(client, layout, Point{0, 0}, layout.zoom);
    return;
  }
  const Rect area = MapArea(client, layout);
  const int32_t px = TruncClamped(v.Width() * layout.zoomCentreX + 0.5) + v.left;
  const int32_t py = TruncClamped(v.Height() * layout.zoomCentreY + 0.5) + v.top;
  const double sx = static_cast<double>(area.Width()) / v.Width();
  const double sy = static_cast<double>(area.Height()) / v.Height();
  const Point p{TruncClamped(sx * (int64_t{px} - v.left)) + area.left,
                TruncClamped(sy * (int64_t{py} - v.top)) + area.top};
  Move(client, layout, p, layout.zoom);
}

SizedRect ZoomIndicatorGeometry::IconSquare(const SizedRect& indicator, int32_t iconWidth,
                                            const DisplayLayout& layout) {
  const int32_t s = ScaleToDisplay(std::min({iconWidth, indicator.width, indicator.height}), layout);
  return SizedRect{indicator.x + (indicator.width - s) / 2, indicator.y + (indicator.height - s) / 2, s, s};
}

}  // namespace views
