#include "app/bindings/built_in_display.h"

#include "environment/display_probe.h"

namespace app {
namespace {

Rect ToRect(const environment::DisplayRect& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

BuiltInDisplay::BuiltInDisplay() { environment::FindInternalDisplayName(name_); }

bool BuiltInDisplay::Probe(DisplayState& display) const {
  bool all = true;
  environment::DisplayRect rect;
  if (environment::GetWorkArea(name_, rect)) {
    display.workArea = ToRect(rect);
  } else {
    all = false;
  }
  if (environment::GetMonitorRect(name_, rect)) {
    display.monitor = ToRect(rect);
  } else {
    all = false;
  }
  int32_t angle = 0;
  if (environment::GetDisplayAngle(name_, angle)) {
    display.angle = angle;
  } else {
    all = false;
  }
  environment::DisplayModeSize mode;
  if (environment::GetDisplayModeSize(name_, mode)) {
    display.width = mode.width;
    display.height = mode.height;
  } else {
    all = false;
  }
  return all;
}

}  // namespace app
