#pragma once
// Where a dialog box opens.

#include <cstdint>

#include "views/layout/display_layout.h"

namespace views {

// The top-left corner of a `width` x `height` dialog centred over its
// owner's window rectangle, or over the work area when there is no owner to
// centre on (an empty rectangle: none, or minimised).  Moved back inside the
// work area where centring would put part of it outside; a dialog larger
// than the work area keeps its top-left corner in it.
[[nodiscard]] Point CentredDialogOrigin(const Rect& owner, int32_t width, int32_t height,
                                        const Rect& workArea);

}  // namespace views
