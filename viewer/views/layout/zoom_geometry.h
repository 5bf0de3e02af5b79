#pragma once
// The crop of the 3840 x 2160 picture for a zoom about a point, and the
// zoom indicator's rectangle on its map: the indicator uses the same crop
// as the video plane, so it always matches the picture.

#include <cstdint>

#include "views/layout/display_layout.h"

namespace views {

inline constexpr int32_t kPictureWidth = 3840;
inline constexpr int32_t kPictureHeight = 2160;

// The crop for zoom z about `point` (relative to the area's top-left).
// False, with `crop` untouched, for an all-zero or empty area or z below
// 1.0 (or not a number).
[[nodiscard]] bool ComputeCropRect(const Rect& area, const Point& point, double zoom, SizedRect& crop);

// That crop mapped from the picture into `area`; false leaves `out` alone.
[[nodiscard]] bool MapCropToArea(const Rect& area, const Point& point, double zoom, SizedRect& out);

// The marked rectangle of the zoom indicator, in client pixels of the control.
class ZoomIndicatorGeometry {
 public:
  // The white margin round the map: ScaleToDisplay(7).
  [[nodiscard]] static int32_t Margin(const DisplayLayout& layout);
  // The client rectangle shrunk by the margin.
  [[nodiscard]] static Rect MapArea(const Rect& client, const DisplayLayout& layout);
  // Outline width: ScaleToDisplay(3).
  [[nodiscard]] static int32_t PenWidth(const DisplayLayout& layout);

  // Centre of the map at the layout's zoom.
  void Reset(const Rect& client, const DisplayLayout& layout);
  // For a centre point in client pixels and a zoom; a zoom below 1.0 keeps it.
  void Move(const Rect& client, const DisplayLayout& layout, const Point& point, double zoom);
  // From the layout's video rectangle, zoom centre and zoom.
  void Update(const Rect& client, const DisplayLayout& layout);

  [[nodiscard]] const SizedRect& Indicator() const { return indicator_; }

  // The magnifier's square inside the indicator, drawn only when zoomed.
  [[nodiscard]] static SizedRect IconSquare(const SizedRect& indicator, int32_t iconWidth,
                                            const DisplayLayout& layout);

 private:
  SizedRect indicator_;
};

}  // namespace views
