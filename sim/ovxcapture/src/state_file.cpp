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

bool ReplaceWholeFile(const std::string& path, const std::string& text) {
  const std::string temp = path + ".tmp";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    std::remove(temp.c_str());
    return false;
  }
  return MoveOver(temp, path);
}

}  // namespace ovxsim
