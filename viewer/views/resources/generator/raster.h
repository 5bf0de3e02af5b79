#pragma once
// A small anti-aliased rasterizer for the program's pictures: shapes are
// signed distance functions in design units, painted onto an RGBA canvas
// with coverage taken from the distance at each pixel centre.

#include <cstdint>
#include <functional>
#include <vector>

namespace pictures {

struct Point {
  double x = 0;
  double y = 0;
};

// Straight (not premultiplied) colour, channels 0..1.
struct Colour {
  double r = 0;
  double g = 0;
  double b = 0;
  double a = 1;
};

[[nodiscard]] Colour Grey(int level);  // 0..255, opaque
[[nodiscard]] Colour Rgb(int r, int g, int b);
inline constexpr Colour kBlack{0, 0, 0, 1};
inline constexpr Colour kWhite{1, 1, 1, 1};

// Signed distance in design units: negative inside, positive outside.
using Shape = std::function<double(Point)>;

[[nodiscard]] Shape Circle(Point centre, double radius);
// Rectangle [left, right] x [top, bottom] with rounded corners.
[[nodiscard]] Shape RoundRect(double left, double top, double right, double bottom, double radius);
// Segment with round caps; `width` is the full stroke width.
[[nodiscard]] Shape Line(Point from, Point to, double width);
// Several connected segments with round joins and caps.
[[nodiscard]] Shape Polyline(std::vector<Point> points, double width);
// Filled simple polygon (either winding).
[[nodiscard]] Shape Polygon(std::vector<Point> points);
// The outline of a shape: a band of `width` centred on its edge.
[[nodiscard]] Shape Outline(Shape shape, double width);
[[nodiscard]] Shape Union(std::vector<Shape> shapes);
[[nodiscard]] Shape Subtract(Shape shape, Shape cut);
[[nodiscard]] Shape Intersect(Shape a, Shape b);

// A vertical gradient from `top` (at y0) to `bottom` (at y1), design units.
struct Gradient {
  Colour top;
  Colour bottom;
  double y0 = 0;
  double y1 = 1;
};

class Canvas {
 public:
  // `scale` pixels per design unit; the canvas starts fully transparent.
  Canvas(int width, int height, double scale = 1.0);

  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }

  void Clear(Colour colour);
  void Fill(const Shape& shape, Colour colour);
  void Fill(const Shape& shape, const Gradient& gradient);

  // The pixel as straight RGBA bytes (row 0 is the top).
  [[nodiscard]] Colour At(int x, int y) const;
  [[nodiscard]] uint32_t Argb(int x, int y) const;

 private:
  void Paint(const Shape& shape, const std::function<Colour(Point)>& paint);

  int width_;
  int height_;
  double scale_;
  std::vector<Colour> premultiplied_;
};

}  // namespace pictures
