#pragma once
// What views call on the main frame.  Spelled as the rest of the program
// knows them.

#include <cstdint>

namespace views {

class ScreenModeChangeListner {
 public:
  virtual ~ScreenModeChangeListner() = default;
  // 0 normal, 1 full screen, 2 re-fit the window to the video.
  virtual void RequestScreenMode(int32_t mode) = 0;
};

}  // namespace views
