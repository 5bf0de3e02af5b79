#pragma once
// The command line of the capture floor program: the screen area it captures
// and for how long.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "overlap/pixel_rect.h"

namespace bench {

inline constexpr int32_t kMaxFloorSeconds = 86400;

struct CaptureFloorOptions {
  overlap::PixelRect area;  // screen coordinates
  int32_t seconds = 0;      // one capture a second, the first at once
};

struct CaptureFloorArgs {
  std::optional<CaptureFloorOptions> options;
  std::string error;  // why there are no options
};

// LEFT TOP WIDTH HEIGHT SECONDS, whole decimal numbers: the area must be one
// the viewer's screen capture can take, SECONDS from 1 to kMaxFloorSeconds.
[[nodiscard]] CaptureFloorArgs ParseCaptureFloorArgs(std::span<const std::string_view> args);

}  // namespace bench
