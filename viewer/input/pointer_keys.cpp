#include "input/pointer_keys.h"

#include <cmath>

#include "input/key_codes.h"
#include "input/touch_message.h"
#include "input/zoom_maths.h"

namespace input {

KeyCommand DecideKey(uint32_t key, KeyModifiers modifiers, bool repeat, bool fullScreen) {
  if (modifiers.alt) return KeyCommand::kNone;
  if (!modifiers.ctrl) {
    if (key == kKeyF11 && !repeat && !modifiers.shift) return KeyCommand::kToggleFullScreen;
    if (key == kKeyEscape && fullScreen && !modifiers.shift) return KeyCommand::kLeaveFullScreen;
    return KeyCommand::kNone;
  }
  switch (key) {
    case kKeyOemPlus:
    case kKeyAdd:
      return KeyCommand::kZoomIn;
    case kKeyOemMinus:
    case kKeySubtract:
      return KeyCommand::kZoomOut;
    case kKey0:
    case kKeyNumpad0:
      return modifiers.shift ? KeyCommand::kNone : KeyCommand::kWholePicture;
    default:
      return KeyCommand::kNone;
  }
}

bool PointerKeys::OnWheel(int32_t x, int32_t y, int32_t delta) {
  if (!IsStrictlyInside(logic_.Layout().video, x, y)) return false;
  if (delta != 0) logic_.ZoomAboutPoint(x, y, std::pow(kZoomStep, static_cast<double>(delta) / kWheelDelta));
  return true;
}

bool PointerKeys::OnLeftDown(int32_t x, int32_t y) {
  EndDrag();
  const ZoomLayout& layout = logic_.Layout();
  if (!IsStrictlyInside(layout.video, x, y) || UsableZoom(layout.zoom) == 1.0) return false;
  dragging_ = true;
  lastX_ = x;
  lastY_ = y;
  return true;
}

void PointerKeys::OnMouseMove(int32_t x, int32_t y) {
  if (!dragging_ || (x == lastX_ && y == lastY_)) return;
  if (!moved_) logic_.SetPointerGesture(true);
  moved_ = true;
  logic_.PanBetween(lastX_, lastY_, x, y);
  lastX_ = x;
  lastY_ = y;
}

void PointerKeys::OnLeftUp(int32_t x, int32_t y) {
  OnMouseMove(x, y);
  EndDrag();
}

void PointerKeys::OnCaptureLost() { EndDrag(); }

void PointerKeys::EndDrag() {
  if (moved_) logic_.SetPointerGesture(false);
  dragging_ = false;
  moved_ = false;
}

bool PointerKeys::OnKey(uint32_t key, KeyModifiers modifiers, bool repeat) {
  switch (DecideKey(key, modifiers, repeat, logic_.Layout().fullScreen)) {
    case KeyCommand::kToggleFullScreen:
      logic_.RequestScreenMode(logic_.Layout().fullScreen ? app::kScreenModeNormal : app::kScreenModeFull);
      return true;
    case KeyCommand::kLeaveFullScreen:
      logic_.RequestScreenMode(app::kScreenModeNormal);
      return true;
    case KeyCommand::kZoomIn:
      logic_.ZoomAboutMiddle(kZoomStep);
      return true;
    case KeyCommand::kZoomOut:
      logic_.ZoomAboutMiddle(1.0 / kZoomStep);
      return true;
    case KeyCommand::kWholePicture:
      logic_.WholePicture();
      return true;
    case KeyCommand::kNone:
      break;
  }
  return false;
}

}  // namespace input
