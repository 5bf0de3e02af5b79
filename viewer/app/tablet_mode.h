#pragma once
// Where the frame learns whether the tablet is in tablet mode.
#include <cstdint>

namespace app {

inline constexpr int32_t kTabletMode = 2;

class TabletModeSource {
 public:
  virtual ~TabletModeSource() = default;
  // Binds the source to the frame's window; false when it cannot be used.
  // On success `mode` is the current mode.
  virtual bool Load(int32_t& mode) = 0;
};

}  // namespace app
