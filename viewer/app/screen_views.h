#pragma once
// The frame's screens as its logic sees them: the splitter with its view
// sets.  Kept apart from frame_ports.h because it speaks DisplayLayout.

#include "app/frame_ports.h"
#include "app/screen_decision.h"
#include "views/layout/display_layout.h"

namespace app {

class ScreenViews {
 public:
  virtual ~ScreenViews() = default;
  // Show the views of this screen.
  virtual void SwitchTo(ScreenKind kind) = 0;
  // Hand the layout to the views.
  virtual void Relayout(const views::DisplayLayout& layout) = 0;
  // Screen rectangle of the shown display view's client area.
  [[nodiscard]] virtual Rect DisplayArea() const = 0;
};

}  // namespace app
