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

  // The shown display view's overlap checks: state 0 none, 1 by the
  // frame's timer, 2 one check that waits for its own result.
  [[nodiscard]] virtual uint32_t CheckState() const = 0;
  // While the user drags or sizes the window: state 0, then back.
  virtual void PauseChecks() = 0;
  virtual void ResumeChecks() = 0;
  // One check of the shown display view (an overlap result).
  [[nodiscard]] virtual uint32_t CheckOverlap() = 0;
  // Tells the overlap watch whether the plane shows.
  virtual void SetPlaneShown(bool shown) = 0;
};

}  // namespace app
