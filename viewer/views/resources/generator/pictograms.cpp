#include "pictograms.h"

#include <algorithm>
#include <cmath>

#include "bitmap_ids.h"

namespace pictures {
namespace {

constexpr int kFaceWidth = 400;
constexpr int kFaceHeight = 110;
constexpr double kFaceRadius = 16;
constexpr double kFaceBorder = 6;
constexpr int kCloseSize = 45;
constexpr double kCloseRadius = 6;
constexpr double kCloseBorder = 2;
constexpr int kIconSize = 75;
constexpr double kIconStroke = 5.5;
constexpr int kMapWidth = 300;
constexpr int kMapHeight = 129;

// A rounded plate filling the bitmap: `border` of `edge` around `fill`, on
// black (the corners outside the rounding).
Canvas Plate(int width, int height, double radius, double border, Colour edge, Colour fill) {
  Canvas c(width, height);
  c.Clear(kBlack);
  c.Fill(RoundRect(0, 0, width, height, radius), edge);
  c.Fill(RoundRect(border, border, width - border, height - border, radius - border), fill);
  return c;
}

// The second, thinner ring of a focused face, `gap` inside the border.
void AddFocusRing(Canvas& c, double radius, double border, double gap, double width) {
  const double inset = border + gap + width / 2;
  c.Fill(Outline(RoundRect(inset, inset, c.width() - inset, c.height() - inset, radius - inset), width),
         kWhite);
}

Canvas FaceNormal() { return Plate(kFaceWidth, kFaceHeight, kFaceRadius, kFaceBorder, kWhite, kBlack); }
Canvas FacePressed() { return Plate(kFaceWidth, kFaceHeight, kFaceRadius, kFaceBorder, kWhite, kWhite); }
Canvas FaceFocused() {
  Canvas c = FaceNormal();
  AddFocusRing(c, kFaceRadius, kFaceBorder, 6, 5);
  return c;
}
Canvas FaceDisabled() {
  return Plate(kFaceWidth, kFaceHeight, kFaceRadius, kFaceBorder, kWhite, Grey(kDisabledFaceGrey));
}

Shape Cross() {
  constexpr double a = 15.5, b = 29.5, w = 3.2;
  return Union({Line({a, a}, {b, b}, w), Line({b, a}, {a, b}, w)});
}

Canvas CloseNormal() {
  Canvas c = Plate(kCloseSize, kCloseSize, kCloseRadius, kCloseBorder, kWhite, kBlack);
  c.Fill(Cross(), kWhite);
  return c;
}
Canvas ClosePressed() {
  Canvas c = Plate(kCloseSize, kCloseSize, kCloseRadius, kCloseBorder, kWhite, kWhite);
  c.Fill(Cross(), kBlack);
  return c;
}
Canvas CloseFocused() {
  Canvas c = CloseNormal();
  AddFocusRing(c, kCloseRadius, kCloseBorder, 2, 2);
  return c;
}
Canvas CloseDisabled() {
  const Colour light = Grey(0xC0);
  Canvas c = Plate(kCloseSize, kCloseSize, kCloseRadius, kCloseBorder, light, Grey(kDisabledFaceGrey));
  c.Fill(Cross(), light);
  return c;
}

Canvas IconCanvas(Colour paper) {
  Canvas c(kIconSize, kIconSize);
  c.Clear(paper);
  return c;
}

// A window frame open at its top-right corner, where the arrow passes.
Shape OpenFrame() { return Polyline({{36, 20}, {14, 20}, {14, 61}, {55, 61}, {55, 39}}, kIconStroke); }

Canvas FullScreenIcon(Colour ink, Colour paper) {
  Canvas c = IconCanvas(paper);
  c.Fill(OpenFrame(), ink);
  c.Fill(Line({32, 43}, {60, 15}, kIconStroke), ink);
  c.Fill(Polyline({{43, 14}, {61, 14}, {61, 32}}, kIconStroke), ink);
  return c;
}

Canvas NormalScreenIcon(Colour ink) {
  Canvas c = IconCanvas(kBlack);
  c.Fill(OpenFrame(), ink);
  c.Fill(Line({61, 14}, {32, 43}, kIconStroke), ink);
  c.Fill(Polyline({{31, 27}, {31, 44}, {48, 44}}, kIconStroke), ink);
  return c;
}

Canvas MagnifierIcon(Colour ink, Colour paper, bool plus) {
  Canvas c = IconCanvas(paper);
  const Point centre{31, 31};
  c.Fill(Outline(Circle(centre, 18), kIconStroke), ink);
  c.Fill(Line({45.5, 45.5}, {61, 61}, 8), ink);
  c.Fill(Line({23, 31}, {39, 31}, 5), ink);
  if (plus) c.Fill(Line({31, 23}, {31, 39}, 5), ink);
  return c;
}

// Greyed icons sit on the disabled face, so they are drawn on its grey: on
// black they would show as a dark square on the button.
Canvas IconFullScreen() { return FullScreenIcon(kWhite, kBlack); }
Canvas IconFullScreenDisabled() { return FullScreenIcon(Grey(kGreyedIconGrey), Grey(kDisabledFaceGrey)); }
Canvas IconNormalScreen() { return NormalScreenIcon(kWhite); }
Canvas IconZoomIn() { return MagnifierIcon(kWhite, kBlack, true); }
Canvas IconZoomOut() { return MagnifierIcon(kWhite, kBlack, false); }
Canvas IconZoomOutDisabled() { return MagnifierIcon(Grey(kGreyedIconGrey), Grey(kDisabledFaceGrey), false); }

// The whole picture as a map: black, with faint thirds that help the eye
// place the indicator.
Canvas ZoomMap() {
  Canvas c(kMapWidth, kMapHeight);
  c.Clear(kBlack);
  const Colour grid = Grey(kMapGridGrey);
  for (int i = 1; i < 3; ++i) {
    const double x = kMapWidth * i / 3 + 0.5, y = kMapHeight * i / 3 + 0.5;
    c.Fill(Line({x, 0}, {x, double(kMapHeight)}, 1), grid);
    c.Fill(Line({0, y}, {double(kMapWidth), y}, 1), grid);
  }
  return c;
}

// Disabled, the map is plain black: nothing to read from it.
Canvas ZoomMapDisabled() {
  Canvas c(kMapWidth, kMapHeight);
  c.Clear(kBlack);
  return c;
}

}  // namespace

const std::vector<BitmapPicture>& Bitmaps() {
  static const std::vector<BitmapPicture> all = {
      {IDB_ZOOM_MAP, "zoom_map.bmp", kMapWidth, kMapHeight, ZoomMap},
      {IDB_ZOOM_MAP_DISABLED, "zoom_map_disabled.bmp", kMapWidth, kMapHeight, ZoomMapDisabled},
      {IDB_FACE_DISABLED, "face_disabled.bmp", kFaceWidth, kFaceHeight, FaceDisabled},
      {IDB_FACE_FOCUSED, "face_focused.bmp", kFaceWidth, kFaceHeight, FaceFocused},
      {IDB_FACE_NORMAL, "face_normal.bmp", kFaceWidth, kFaceHeight, FaceNormal},
      {IDB_FACE_PRESSED, "face_pressed.bmp", kFaceWidth, kFaceHeight, FacePressed},
      {IDB_ICON_FULL_SCREEN, "icon_full_screen.bmp", kIconSize, kIconSize, IconFullScreen},
      {IDB_ICON_NORMAL_SCREEN, "icon_normal_screen.bmp", kIconSize, kIconSize, IconNormalScreen},
      {IDB_ICON_ZOOM_IN, "icon_zoom_in.bmp", kIconSize, kIconSize, IconZoomIn},
      {IDB_ICON_ZOOM_OUT, "icon_zoom_out.bmp", kIconSize, kIconSize, IconZoomOut},
      {IDB_ICON_ZOOM_OUT_DISABLED, "icon_zoom_out_disabled.bmp", kIconSize, kIconSize, IconZoomOutDisabled},
      {IDB_CLOSE_NORMAL, "close_normal.bmp", kCloseSize, kCloseSize, CloseNormal},
      {IDB_CLOSE_PRESSED, "close_pressed.bmp", kCloseSize, kCloseSize, ClosePressed},
      {IDB_CLOSE_FOCUSED, "close_focused.bmp", kCloseSize, kCloseSize, CloseFocused},
      {IDB_CLOSE_DISABLED, "close_disabled.bmp", kCloseSize, kCloseSize, CloseDisabled},
      {IDB_ICON_FULL_SCREEN_DISABLED, "icon_full_screen_disabled.bmp", kIconSize, kIconSize,
       IconFullScreenDisabled},
  };
  return all;
}

// A dark tile with a screen playing a picture, on an HDMI plug.  Edges of
// the screen and the plug sit on whole pixels and strokes are whole pixels
// wide, so that the small sizes stay crisp.
Canvas DrawProgramIcon(int size) {
  Canvas c(size, size, size);
  const double px = 1.0 / size;
  auto snap = [size](double u) { return std::round(u * size) / size; };
  const double stroke = std::max(1.0, std::round(0.065 * size)) * px;
  const double margin = snap(0.03);
  c.Fill(RoundRect(margin, margin, 1 - margin, 1 - margin, 0.2),
         Gradient{Rgb(0x3C, 0x46, 0x54), Rgb(0x10, 0x13, 0x18), margin, 1 - margin});
  const double left = snap(0.17), top = snap(0.20), right = snap(0.83), bottom = snap(0.67);
  const double h = stroke / 2;
  c.Fill(Outline(RoundRect(left + h, top + h, right - h, bottom - h, std::max(0.07 - h, px)), stroke),
         kWhite);
  c.Fill(Polygon({{0.42, 0.31}, {0.42, 0.56}, {0.63, 0.435}}), Rgb(0x38, 0xB6, 0xFF));
  const double pl = snap(0.33), pr = snap(0.67), pt = snap(0.74), pb = snap(0.86);
  const double chamfer = std::max(1.0, std::round(0.06 * size)) * px;
  c.Fill(Polygon({{pl, pt},
                  {pr, pt},
                  {pr, pb - chamfer},
                  {pr - chamfer, pb},
                  {pl + chamfer, pb},
                  {pl, pb - chamfer}}),
         kWhite);
  return c;
}

}  // namespace pictures
