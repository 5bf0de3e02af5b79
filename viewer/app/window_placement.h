#pragma once
// The window's size and place in normal mode: the client area is the input's
// size plus the bars below it, scaled down (keeping the input's aspect) when
// the window would not fit the work area, and the window is centred there.
#include <cstdint>
#include <functional>

#include "app/frame_ports.h"

namespace app {

struct Size {
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Client size to window size for the window's current styles.
using ClientToWindow = std::function<Size(Size client)>;

// Before any input size is known the picture takes half the work area's
// width at 16:9, so the first window is neither tiny nor the whole screen.
[[nodiscard]] Size PlacementWindowSize(const Rect& work, int32_t inputWidth, int32_t inputHeight,
                                       int32_t barHeight, const ClientToWindow& toWindow);

// Centred in the work area; the top edge never above it (the left may be).
[[nodiscard]] Point PlacementOrigin(const Rect& work, int32_t windowWidth, int32_t windowHeight);

}  // namespace app
