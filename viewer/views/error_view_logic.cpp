#include "views/error_view_logic.h"

#include <algorithm>

namespace views {

ErrorViewContent ErrorContentOf(uint32_t kind) {
  using A = ErrorButtonAction;
  switch (kind) {
    case 4:
      return {{161, 162, 163, 164}, kIdsContinue, A::kResume, 0, true};
    case 5:
      return {{149, 165, 166, 167}, 0, A::kNone, 2, true};
    case 6:
      return {{132, 133, 134, 135}, 0, A::kNone, 0, true};
    case 7:
      return {{136, 137, 138, 139}, 0, A::kNone, 1, true};
    case 8:
      return {{140, 141, 142, 143}, kIdsOk, A::kClose, 0, true};
    case 9:
      return {{144, 145, 146, 147}, kIdsOk, A::kClose, 0, true};
    case 10:
      return {{157, 158, 159, 160}, kIdsOk, A::kClose, 0, true};
    default:
      return {};
  }
}

FullScreenControls DecideErrorFullScreenControls(bool fullScreen, bool tabletMode) {
  FullScreenControls c;
  c.zoomControlsShown = fullScreen;
  c.fullScreenEnabled = fullScreen && !tabletMode;
  c.fullScreenIcon = fullScreen ? kIconLeaveFullScreen : kIconEnterFullScreenGrey;
  c.fullScreenCaption = fullScreen ? kIdsNormalScreen : kIdsFullScreen;
  return c;
}

Rect ExclusionOf(std::span<const Rect> lines, const Rect* button) {
  Rect u;
  bool any = false;
  auto add = [&](const Rect& r) {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    if (!any) {
      u = r;
      any = true;
      return;
    }
    u = Rect{std::min(u.left, r.left), std::min(u.top, r.top), std::max(u.right, r.right),
             std::max(u.bottom, r.bottom)};
  };
  for (const Rect& r : lines) add(r);
  if (button != nullptr) add(*button);
  return u;
}

}  // namespace views
