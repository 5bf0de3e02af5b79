#include "state_file.h"

#include <cstdio>

namespace ovxsim {

std::string FormatShownState(const ShownState& state) {
  const OvxSimPlane& p = state.plane;
  const int32_t enable = state.opened ? p.enable : 0;
  char text[512];
  std::snprintf(text, sizeof text,
                "# plane as the simulated board shows it\n"
                "open %d\n"
                "draws %u\n"
                "panel %d %d\n"
                "enable %d\n"
                "angle %d\n"
                "placement %d %d %d %d\n"
                "parts %d %d %d %d %d %d %d\n",
                state.opened ? 1 : 0, state.draw_count, state.panel.x, state.panel.y, enable, p.angle,
                p.placement.top.x, p.placement.top.y, p.placement.size.x, p.placement.size.y, p.parts_id,
                p.parts.parts.x, p.parts.parts.y, p.parts.top.x, p.parts.top.y, p.parts.size.x,
                p.parts.size.y);
  return text;
}

}  // namespace ovxsim
