// The plane the simulated board shows, as its state file (OVXSIM_STATE_FILE)
// describes it: panel size, enable, angle, placement on the panel and crop.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace composite {

struct Rect {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

struct ShownPlane {
  bool open = false;
  int32_t panelWidth = 0, panelHeight = 0;
  bool enable = false;
  int32_t angle = 0;
  Rect placement;                               // panel coordinates
  int32_t partsId = 3;                          // 3 whole input, 5 crop
  int32_t gridWidth = 3840, gridHeight = 2160;  // the crop's source space
  Rect crop;
};

// nullopt with "line N: reason" in `error` when a line is malformed or a
// required line (open, panel, enable, angle, placement, parts) is missing.
[[nodiscard]] std::optional<ShownPlane> ParseShownPlane(const std::string& text, std::string& error);

}  // namespace composite
