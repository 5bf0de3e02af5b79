#pragma once
// What an owner-drawn bitmap button draws where: the face for its state,
// and the icon and caption rectangles of a centred icon-gap-caption group.

#include <cstdint>

#include "views/layout/display_layout.h"

namespace views {

enum class FaceRole { Normal = 0, Selected = 1, Focused = 2, Disabled = 3 };

// Owner-draw item state bits.
inline constexpr uint32_t kStateSelected = 0x1;
inline constexpr uint32_t kStateDisabled = 0x4;
inline constexpr uint32_t kStateFocus = 0x10;

// Pressed before focused before disabled; a role whose face is not loaded
// is passed over, down to the normal face.
[[nodiscard]] FaceRole ChooseFace(uint32_t itemState, bool hasSelected, bool hasFocused, bool hasDisabled);

struct ButtonContent {
  Rect icon;
  Rect text;  // drawn left-aligned, vertically centred
};

// Icon ScaleToDisplay(50) and gap ScaleToDisplay(10) by the button's own
// layout copy; `textWidth` is the caption's width in the button's font.
[[nodiscard]] ButtonContent IconAndTextRects(const Rect& item, int32_t textWidth,
                                             const DisplayLayout& layout);

}  // namespace views
