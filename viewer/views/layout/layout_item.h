#pragma once
// Placement of a view's controls by rules in design units, and the order of
// a layout pass.  The view supplies its window through LayoutSurface.

#include <cstdint>
#include <span>

#include "views/layout/display_layout.h"

namespace views {

// A child control as the view knows it (its window handle on Windows).
using ControlRef = void*;

enum HorizontalMode : int32_t { kAlignRight = 0, kAlignHCentre = 1, kAlignLeft = 2 };
enum VerticalMode : int32_t { kAlignTop = 0, kAlignVCentre = 1, kAlignBottom = 2 };

// One placement rule; sizes and offsets in design units.  An anchor must be
// a control placed by an earlier item.
struct LayoutItem {
  ControlRef control = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t fontSize = 0;  // 0 leaves the control's font alone
  int32_t horizontalMode = kAlignLeft;
  int32_t horizontalOffset = 0;
  ControlRef horizontalAnchor = nullptr;
  int32_t verticalMode = kAlignTop;
  int32_t verticalOffset = 0;
  ControlRef verticalAnchor = nullptr;
};

// The rectangle of one item in the view's client area.  With an anchor,
// right mode puts the control right of the anchor and left mode left of
// it; top mode above it and bottom mode below it.  Any other mode gives 0
// on that axis.
[[nodiscard]] Rect PlaceRect(const LayoutItem& item, const Rect& client, const Rect* horizontalAnchor,
                             const Rect* verticalAnchor, const DisplayLayout& layout);

// What a layout pass needs of a view's window.
class LayoutSurface {
 public:
  virtual ~LayoutSurface() = default;
  // Lets the pane frame lay the view over its client area.
  virtual void FitToPaneFrame() = 0;
  virtual Rect ClientRect() const = 0;
  // The control's current rectangle in the view's client coordinates.
  virtual Rect ControlRect(ControlRef control) const = 0;
  virtual void MoveControl(ControlRef control, const Rect& rect) = 0;
  // Only called for items with a font size; a control without a font keeps none.
  virtual void SetControlFontHeight(ControlRef control, int32_t height) = 0;
};

// Applies one item: position from the current client and anchor rectangles,
// then the scaled font height.
void PlaceControl(const LayoutItem& item, LayoutSurface& surface, const DisplayLayout& layout);

// FitToPaneFrame, then every item in insertion order (so an anchor is read
// where its own item just put it).
void Relayout(std::span<const LayoutItem> items, LayoutSurface& surface, const DisplayLayout& layout);

}  // namespace views
