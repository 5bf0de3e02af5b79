#include "views/play_controller_logic.h"

namespace views {

FullScreenControls DecideFullScreenControls(bool fullScreen, bool tabletMode) {
  FullScreenControls c;
  c.zoomControlsShown = fullScreen;
  // The tablet's own mode decides the window mode there.
  c.fullScreenEnabled = !tabletMode;
  c.fullScreenIcon = fullScreen   ? kIconLeaveFullScreen
                     : tabletMode ? kIconEnterFullScreenGrey
                                  : kIconEnterFullScreen;
  c.fullScreenCaption = fullScreen ? kIdsNormalScreen : kIdsFullScreen;
  return c;
}

ZoomOutControl DecideZoomOutControl(double zoom) {
  const bool zoomed = zoom != 1.0;
  return {zoomed, zoomed ? kIconZoomOut : kIconZoomOutGrey};
}

bool PlayControllerLogic::SetLayout(bool fullScreen, bool tabletMode) {
  const bool changed = fullScreen != fullScreen_ || tabletMode != tabletMode_;
  fullScreen_ = fullScreen;
  tabletMode_ = tabletMode;
  return changed;
}

void PlayControllerLogic::OnFullScreenClicked() {
  app::RequestScreenModeAndWholePicture(screen_, play_,
                                        fullScreen_ ? app::kScreenModeNormal : app::kScreenModeFull);
}

void PlayControllerLogic::OnZoomOutClicked() {
  if (play_ != nullptr) play_->OnZoomChanged(nullptr, nullptr, 1.0);
}

}  // namespace views
