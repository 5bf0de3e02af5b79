#pragma once
// What the views ask of the main frame: a screen mode, a new video area, a
// zoom.  The frame implements both; the views hold them without owning them.
#include <cstdint>

#include "app/frame_ports.h"

namespace app {

// Mode requests: 0 normal, 1 full screen, 2 re-fit the window to the video.
inline constexpr int32_t kScreenModeNormal = 0;
inline constexpr int32_t kScreenModeFull = 1;
inline constexpr int32_t kScreenModeRefit = 2;

class ScreenModeChangeListner {
 public:
  virtual ~ScreenModeChangeListner() = default;
  virtual void RequestScreenMode(int32_t mode) = 0;
};

// A zoom centre: fractions of the whole picture, (0.5, 0.5) its middle.
struct ZoomCentre {
  double x = 0.5;
  double y = 0.5;
  friend bool operator==(const ZoomCentre&, const ZoomCentre&) = default;
};

class IVideoPlayListner {
 public:
  virtual ~IVideoPlayListner() = default;
  virtual void OnVideoAreaChanged() = 0;
  // area (left and top 0) and centre may be null: then the whole picture.
  virtual void OnZoomChanged(const Rect* area, const ZoomCentre* centre, double zoom) = 0;
};

// A mode change by the user (a button or a key): every mode change returns
// to the whole picture.  Either listener may be null.
inline void RequestScreenModeAndWholePicture(ScreenModeChangeListner* screen, IVideoPlayListner* play,
                                             int32_t mode) {
  if (screen != nullptr) screen->RequestScreenMode(mode);
  if (play != nullptr) play->OnZoomChanged(nullptr, nullptr, 1.0);
}

}  // namespace app
