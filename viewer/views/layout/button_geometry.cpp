#include "views/layout/button_geometry.h"

namespace views {

FaceRole ChooseFace(uint32_t itemState, bool hasSelected, bool hasFocused, bool hasDisabled) {
  if ((itemState & kStateSelected) != 0 && hasSelected) return FaceRole::Selected;
  if ((itemState & kStateFocus) != 0 && hasFocused) return FaceRole::Focused;
  if ((itemState & kStateDisabled) != 0 && hasDisabled) return FaceRole::Disabled;
  return FaceRole::Normal;
}

ButtonContent IconAndTextRects(const Rect& item, int32_t textWidth, const DisplayLayout& layout) {
  const int32_t s = ScaleToDisplay(50, layout);
  const int32_t g = ScaleToDisplay(10, layout);
  const int32_t left = (item.right - item.left - textWidth - g - s) / 2;
  const int32_t top = (item.bottom - item.top - s) / 2;
  return ButtonContent{Rect{left, top, left + s, top + s},
                       Rect{left + s + g, item.top, item.right, item.bottom}};
}

}  // namespace views
