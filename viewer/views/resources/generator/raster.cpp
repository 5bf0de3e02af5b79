#include "raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace pictures {
namespace {

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

double SegmentDistance(Point p, Point a, Point b) {
  const double px = p.x - a.x, py = p.y - a.y;
  const double bx = b.x - a.x, by = b.y - a.y;
  const double len2 = bx * bx + by * by;
  const double h = len2 > 0 ? std::clamp((px * bx + py * by) / len2, 0.0, 1.0) : 0.0;
  return Length(px - bx * h, py - by * h);
}

uint8_t ToByte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); }

}  // namespace

Colour Grey(int level) { return Rgb(level, level, level); }

Colour Rgb(int r, int g, int b) { return Colour{r / 255.0, g / 255.0, b / 255.0, 1.0}; }

Shape Circle(Point centre, double radius) {
  return [=](Point p) { return Length(p.x - centre.x, p.y - centre.y) - radius; };
}

Shape RoundRect(double left, double top, double right, double bottom, double radius) {
  const double cx = (left + right) / 2, cy = (top + bottom) / 2;
  const double hx = (right - left) / 2, hy = (bottom - top) / 2;
  const double r = std::min({radius, hx, hy});
  return [=](Point p) {
    const double qx = std::abs(p.x - cx) - hx + r;
    const double qy = std::abs(p.y - cy) - hy + r;
    return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
  };
}

Shape Line(Point from, Point to, double width) {
  return [=](Point p) { return SegmentDistance(p, from, to) - width / 2; };
}

Shape Polyline(std::vector<Point> points, double width) {
  return [points = std::move(points), width](Point p) {
    double d = points.empty() ? 1e9 : Length(p.x - points[0].x, p.y - points[0].y);
    for (size_t i = 1; i < points.size(); ++i) d = std::min(d, SegmentDistance(p, points[i - 1], points[i]));
    return d - width / 2;
  };
}

Shape Polygon(std::vector<Point> v) {
  return [v = std::move(v)](Point p) {
    if (v.empty()) return 1e9;
    double d = 1e18;
    double sign = 1;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
      d = std::min(d, SegmentDistance(p, v[i], v[j]));
      const double ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
      const double wx = p.x - v[i].x, wy = p.y - v[i].y;
      const bool c1 = p.y >= v[i].y, c2 = p.y<v[j].y, c3 = ex * wy> ey * wx;
      if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * d;
  };
}

Shape Outline(Shape shape, double width) {
  return [shape = std::move(shape), width](Point p) { return std::abs(shape(p)) - width / 2; };
}

Shape Union(std::vector<Shape> shapes) {
  return [shapes = std::move(shapes)](Point p) {
    double d = 1e9;
    for (const Shape& s : shapes) d = std::min(d, s(p));
    return d;
  };
}

Shape Subtract(Shape shape, Shape cut) {
  return [shape = std::move(shape), cut = std::move(cut)](Point p) { return std::max(shape(p), -cut(p)); };
}

Shape Intersect(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](Point p) { return std::max(a(p), b(p)); };
}

Canvas::Canvas(int width, int height, double scale)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      scale_(scale),
      premultiplied_(static_cast<size_t>(width_) * static_cast<size_t>(height_), Colour{0, 0, 0, 0}) {}

void Canvas::Clear(Colour colour) {
  std::fill(premultiplied_.begin(), premultiplied_.end(),
            Colour{colour.r * colour.a, colour.g * colour.a, colour.b * colour.a, colour.a});
}

void Canvas::Fill(const Shape& shape, Colour colour) {
  Paint(shape, [colour](Point) { return colour; });
}

void Canvas::Fill(const Shape& shape, const Gradient& g) {
  Paint(shape, [g](Point p) {
    const double t = g.y1 > g.y0 ? std::clamp((p.y - g.y0) / (g.y1 - g.y0), 0.0, 1.0) : 0.0;
    auto mix = [t](double a, double b) { return a + (b - a) * t; };
    return Colour{mix(g.top.r, g.bottom.r), mix(g.top.g, g.bottom.g), mix(g.top.b, g.bottom.b),
                  mix(g.top.a, g.bottom.a)};
  });
}

// Coverage of a pixel is read from the distance at its centre: an edge
// through the centre covers half of it, and one pixel further out nothing.
void Canvas::Paint(const Shape& shape, const std::function<Colour(Point)>& paint) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const Point p{(x + 0.5) / scale_, (y + 0.5) / scale_};
      const double coverage = std::clamp(0.5 - shape(p) * scale_, 0.0, 1.0);
      if (coverage <= 0) continue;
      const Colour c = paint(p);
      const double a = c.a * coverage;
      Colour& d =
          premultiplied_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
      d = Colour{c.r * a + d.r * (1 - a), c.g * a + d.g * (1 - a), c.b * a + d.b * (1 - a),
                 a + d.a * (1 - a)};
    }
  }
}

Colour Canvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return Colour{0, 0, 0, 0};
  const Colour& c =
      premultiplied_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
  if (c.a <= 0) return Colour{0, 0, 0, 0};
  return Colour{c.r / c.a, c.g / c.a, c.b / c.a, c.a};
}

uint32_t Canvas::Argb(int x, int y) const {
  const Colour c = At(x, y);
  return (uint32_t{ToByte(c.a)} << 24) | (uint32_t{ToByte(c.r)} << 16) | (uint32_t{ToByte(c.g)} << 8) |
         uint32_t{ToByte(c.b)};
}

}  // namespace pictures
