#include "app/shell/built_in_display.h"

#include "environment/display_probe.h"

namespace shell {
namespace {

app::Rect ToRect(const DisplayRect& r) { return app::Rect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

BuiltInDisplay::BuiltInDisplay() { FindInternalDisplayName(name_); }

bool BuiltInDisplay::Probe(app::DisplayState& display) const {
  bool all = true;
  DisplayRect rect;
  if (GetWorkArea(name_, rect)) {
    display.workArea = ToRect(rect);
  } else {
    all = false;
  }
  if (GetMonitorRect(name_, rect)) {
    display.monitor = ToRect(rect);
  } else {
    all = false;
  }
  int32_t angle = 0;
  if (GetDisplayAngle(name_, angle)) {
    display.angle = angle;
  } else {
    all = false;
  }
  DisplayModeSize mode;
  if (GetDisplayModeSize(name_, mode)) {
    display.width = mode.width;
    display.height = mode.height;
  } else {
    all = false;
  }
  return all;
}

}  // namespace shell
