#pragma once
// What the play controller bar shows and asks for: the full-screen button's
// icon, caption and state, the zoom controls shown only in full screen, the
// zoom-out button greyed at the whole picture, and the two buttons' requests.
#include <array>
#include <cstdint>

#include "app/view_listeners.h"
#include "views/ui_strings.h"

namespace views {

// Controls of template 314.
inline constexpr uint32_t kPlayFullScreenButton = 1004;
inline constexpr uint32_t kPlayZoomIndicator = 1008;
inline constexpr uint32_t kPlayZoomOutButton = 1012;

// Bitmaps: button faces (400 x 110) and icons (75 x 75).
inline constexpr uint32_t kFaceDisabled = 320;
inline constexpr uint32_t kFaceFocused = 321;
inline constexpr uint32_t kFaceNormal = 322;
inline constexpr uint32_t kFacePressed = 323;
inline constexpr uint32_t kIconEnterFullScreen = 324;
inline constexpr uint32_t kIconLeaveFullScreen = 325;
inline constexpr uint32_t kIconEnterFullScreenGrey = 336;
inline constexpr uint32_t kIconZoomOut = 327;
inline constexpr uint32_t kIconZoomOutGrey = 328;

// Both buttons' faces, in the order the button loads them.
struct ButtonFaces {
  uint32_t normal;
  uint32_t pressed;
  uint32_t focused;
  uint32_t disabled;
};
inline constexpr ButtonFaces kPlayButtonFaces{kFaceNormal, kFacePressed, kFaceFocused, kFaceDisabled};

// Placement of the bar's controls in design units, centred vertically.
enum class ItemAnchor { kLeft, kRight, kLeftOf };
struct ControllerItem {
  uint32_t control;
  int32_t width;
  int32_t height;
  int32_t fontSize;  // 0: the control keeps its font
  ItemAnchor anchor;
  int32_t offset;
  uint32_t relativeTo;  // for kLeftOf
};
inline constexpr std::array<ControllerItem, 3> kPlayControllerItems{{
    {kPlayFullScreenButton, 280, 80, 36, ItemAnchor::kLeft, 50, 0},
    {kPlayZoomOutButton, 280, 80, 36, ItemAnchor::kRight, 50, 0},
    {kPlayZoomIndicator, 320, 170, 0, ItemAnchor::kLeftOf, 50, kPlayZoomOutButton},
}};
inline constexpr StringId kZoomOutCaption = kIdsZoomOut;

// The controls that follow the window mode.
struct FullScreenControls {
  bool zoomControlsShown = false;  // the indicator and the zoom-out button
  bool fullScreenEnabled = true;
  uint32_t fullScreenIcon = kIconEnterFullScreen;
  StringId fullScreenCaption = kIdsFullScreen;
  friend bool operator==(const FullScreenControls&, const FullScreenControls&) = default;
};
[[nodiscard]] FullScreenControls DecideFullScreenControls(bool fullScreen, bool tabletMode);

// The zoom-out button at a zoom factor.
struct ZoomOutControl {
  bool enabled = false;
  uint32_t icon = kIconZoomOutGrey;
  friend bool operator==(const ZoomOutControl&, const ZoomOutControl&) = default;
};
[[nodiscard]] ZoomOutControl DecideZoomOutControl(double zoom);

class PlayControllerLogic {
 public:
  // Either may be null: a missing listener suppresses its requests.
  void SetPlayListener(app::IVideoPlayListner* listener) { play_ = listener; }
  void SetScreenModeListener(app::ScreenModeChangeListner* listener) { screen_ = listener; }

  // The layout's flags; true when one changed, and so the controls must be
  // updated.
  [[nodiscard]] bool SetLayout(bool fullScreen, bool tabletMode);
  [[nodiscard]] FullScreenControls Controls() const {
    return DecideFullScreenControls(fullScreen_, tabletMode_);
  }

  // Full screen when windowed, windowed when full screen, then the whole picture.
  void OnFullScreenClicked();
  void OnZoomOutClicked();

 private:
  app::IVideoPlayListner* play_ = nullptr;
  app::ScreenModeChangeListner* screen_ = nullptr;
  bool fullScreen_ = false;
  bool tabletMode_ = false;
};

}  // namespace views
