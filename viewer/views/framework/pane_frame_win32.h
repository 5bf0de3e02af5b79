#pragma once
// A pane of the main window: a plain container that lays its child with the
// first-view id (0xE900) over its whole client area.  The other views of
// the pane stay hidden under other ids.

#include <windows.h>

#include "common/win32/unique_handle.h"
#include "views/framework/window_base_win32.h"

namespace views {

inline constexpr UINT kFirstViewId = 0xE900;
// Sent by a view to its pane: lay out the first view now (result 0).
inline constexpr UINT kPaneRecalcLayout = WM_APP + 0x2E9;

class CPaneFrame : public WindowBase {
 public:
  CPaneFrame();
  // A visible child of `parent` at `rect`.
  [[nodiscard]] bool Create(HWND parent, const RECT& rect, UINT id);
  // Moves the child with the first-view id over the client area.
  void RecalcLayout();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  win32::UniqueBrush background_;
};

}  // namespace views
