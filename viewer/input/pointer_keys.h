#pragma once
// Mouse and keyboard on the play view, for the tablet used with a touchpad
// and a keyboard cover.  They change nothing that touch does: the wheel zooms
// like a pinch about the pointer, a left-button drag pans like a slide, and
// the keys do what the controller's buttons do.
#include <cstdint>

#include "input/play_zoom_logic.h"

namespace input {

// The zoom factor of one wheel notch or one zoom key.
inline constexpr double kZoomStep = 1.25;

struct KeyModifiers {
  bool ctrl = false;
  bool alt = false;
  bool shift = false;
};

enum class KeyCommand {
  kNone,
  kToggleFullScreen,
  kLeaveFullScreen,
  kZoomIn,
  kZoomOut,
  kWholePicture,
};

// F11 toggles full screen (not on auto-repeat), Esc leaves it, Ctrl with
// plus, minus or 0 zooms in, out or back to the whole picture.  Anything with
// Alt is left alone: the keyboard does not reach the system menu.
[[nodiscard]] KeyCommand DecideKey(uint32_t key, KeyModifiers modifiers, bool repeat, bool fullScreen);

class PointerKeys {
 public:
  explicit PointerKeys(PlayZoomLogic& logic) : logic_(logic) {}

  // A wheel turn at a screen point; false when it is not over the video.
  bool OnWheel(int32_t x, int32_t y, int32_t delta);
  // Left button at a screen point; true when a drag may follow (the view
  // then captures the mouse).
  bool OnLeftDown(int32_t x, int32_t y);
  void OnMouseMove(int32_t x, int32_t y);
  void OnLeftUp(int32_t x, int32_t y);
  // The capture went elsewhere: the drag ends where it is.
  void OnCaptureLost();
  // A key press; true when it was used.
  bool OnKey(uint32_t key, KeyModifiers modifiers, bool repeat);

  [[nodiscard]] bool Dragging() const { return dragging_; }

 private:
  void EndDrag();

  PlayZoomLogic& logic_;
  bool dragging_ = false;
  bool moved_ = false;
  int32_t lastX_ = 0;
  int32_t lastY_ = 0;
};

}  // namespace input
