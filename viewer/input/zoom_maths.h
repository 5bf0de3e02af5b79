#pragma once
// The maths of pan and zoom shared by touch, mouse and keyboard.  Positions
// are fractions of the video rectangle, centres fractions of the picture
// (the picture point shown in the middle of the video rectangle).
namespace input {

// The centre kept where the shown part stays inside the picture:
// [0.5 / zoom, 1 - 0.5 / zoom].
[[nodiscard]] double ClampCentre(double centre, double zoom);

// 1.0 .. maximum; a maximum below 1.0 keeps the zoom at 1.0.
[[nodiscard]] double ClampZoom(double zoom, double maximum);

// The layout's zoom and centre as the maths may use them: a zoom that is not
// a finite value of at least 1.0 counts as the whole picture, a centre that
// is not finite as the middle.
[[nodiscard]] double UsableZoom(double zoom);
[[nodiscard]] double UsableCentre(double centre);

// The centre after a finger moved from `last` to `now` (one axis).
[[nodiscard]] double PanCentre(double centre, double zoom, double last, double now);

// The picture point under a position (one axis) and the position's offset
// from it, when the zoom changes about that position.
struct ZoomAnchor {
  double anchor = 0.0;
  double offset = 0.0;
};
[[nodiscard]] ZoomAnchor AnchorAt(double position, double zoom, double centre);

// One axis of a zoom to `zoom` about an anchor, the fingers having moved by
// `moved` (last position minus the new one): the new centre, clamped, and
// the anchor's new offset.
struct ZoomStep {
  double centre = 0.5;
  double offset = 0.0;
};
[[nodiscard]] ZoomStep ZoomAbout(const ZoomAnchor& anchor, double moved, double zoom);

}  // namespace input
