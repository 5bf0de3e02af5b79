#pragma once
// The views' text fonts: face "Meiryo", weight 400, SHIFTJIS, ClearType.

#include <windows.h>

#include "common/win32/unique_handle.h"

namespace views {

[[nodiscard]] win32::UniqueFont CreateViewFont(int height);

// The error view's line font (height 40) into `font`, set on `control` with
// redraw; nothing when `control` is null.
void ApplyTextFont(HWND control, win32::UniqueFont& font);

}  // namespace views
