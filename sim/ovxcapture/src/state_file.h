// What the panel shows, as a small text file for programs outside the
// process (the screenshot compositor): rewritten whole after every draw and
// at close, so a reader never sees half a file.
#ifndef OVXSIM_STATE_FILE_H
#define OVXSIM_STATE_FILE_H

#include <cstdint>
#include <string>

#include "ovxcapture_sim.h"

namespace ovxsim {

struct ShownState {
  bool opened = false;
  uint32_t draw_count = 0;
  OvxSize panel{};  // the plane's coordinate space (device property 4)
  OvxSimPlane plane{};
};

// Lines "key value ...", one per field; a closed device shows nothing (enable 0).
[[nodiscard]] std::string FormatShownState(const ShownState& state);

// Writes `text` to `path` + ".tmp" and renames it over `path`; false on any failure.
[[nodiscard]] bool ReplaceWholeFile(const std::string& path, const std::string& text);

// The platform's rename that replaces an existing target.
[[nodiscard]] bool MoveOver(const std::string& from, const std::string& to);

}  // namespace ovxsim

#endif
