#include "views/layout/layout_item.h"

namespace views {

Rect PlaceRect(const LayoutItem& item, const Rect& client, const Rect* horizontalAnchor,
               const Rect* verticalAnchor, const DisplayLayout& layout) {
  const int32_t w = ScaleToDisplay(item.width, layout);
  const int32_t hoff = ScaleToDisplay(item.horizontalOffset, layout);
  int32_t x = 0;
  switch (item.horizontalMode) {
    case kAlignRight:
      x = horizontalAnchor != nullptr ? horizontalAnchor->right + hoff : client.right - hoff - w;
      break;
    case kAlignHCentre:
      x = (client.right - client.left - w) / 2;
      break;
    case kAlignLeft:
      x = horizontalAnchor != nullptr ? horizontalAnchor->left - hoff - w : client.left + hoff;
      break;
    default:
      break;
  }
  const int32_t h = ScaleToDisplay(item.height, layout);
  const int32_t voff = ScaleToDisplay(item.verticalOffset, layout);
  int32_t y = 0;
  switch (item.verticalMode) {
    case kAlignTop:
      y = verticalAnchor != nullptr ? verticalAnchor->top - voff - h : client.top + voff;
      break;
    case kAlignVCentre:
      y = (client.bottom - client.top - h) / 2;
      break;
    case kAlignBottom:
      y = verticalAnchor != nullptr ? verticalAnchor->bottom + voff : client.bottom - voff - h;
      break;
    default:
      break;
  }
  return Rect{x, y, x + w, y + h};
}

void PlaceControl(const LayoutItem& item, LayoutSurface& surface, const DisplayLayout& layout) {
  if (item.control == nullptr) return;
  const Rect client = surface.ClientRect();
  Rect hAnchor;
  Rect vAnchor;
  if (item.horizontalAnchor != nullptr) hAnchor = surface.ControlRect(item.horizontalAnchor);
  if (item.verticalAnchor != nullptr) vAnchor = surface.ControlRect(item.verticalAnchor);
  surface.MoveControl(item.control,
                      PlaceRect(item, client, item.horizontalAnchor != nullptr ? &hAnchor : nullptr,
                                item.verticalAnchor != nullptr ? &vAnchor : nullptr, layout));
  if (item.fontSize != 0) surface.SetControlFontHeight(item.control, ScaleToDisplay(item.fontSize, layout));
}

void Relayout(std::span<const LayoutItem> items, LayoutSurface& surface, const DisplayLayout& layout) {
  surface.FitToPaneFrame();
  for (const LayoutItem& item : items) PlaceControl(item, surface, layout);
}

}  // namespace views
