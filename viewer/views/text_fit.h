#pragma once
// Room for texts longer than a control's design width.  The design sizes
// were made for short captions; an English or French caption or message
// line can be wider, and a static wraps it out of sight while a button
// clips it.  Widths are in design units: a text measured with the font at
// its design height (scale 1.0) is already in design units.
#include <cstdint>
#include <span>

namespace views {

// The design width, or the widest text plus `padding` (and a twentieth of
// slack for the rounding of scaled fonts) when that is wider.  Negative
// widths count as 0.
[[nodiscard]] int32_t WidthToHold(int32_t designWidth, std::span<const int32_t> textWidths, int32_t padding);

}  // namespace views
