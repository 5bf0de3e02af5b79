#include "app/message_screen.h"

#include <algorithm>

namespace app {

std::optional<MessageScreen> MessageScreenOf(ScreenKind kind) {
  constexpr uint32_t kContinue = 148;
  constexpr uint32_t kOk = 156;
  switch (kind) {
    case ScreenKind::Stopped:
      return MessageScreen{{161, 162, 163, 164}, kContinue, ButtonAction::Continue};
    case ScreenKind::Waiting:
      return MessageScreen{{149, 165, 166, 167}, 0, ButtonAction::None};
    case ScreenKind::NoSignal:
      return MessageScreen{{132, 133, 134, 135}, 0, ButtonAction::None};
    case ScreenKind::Overlapped:
      return MessageScreen{{136, 137, 138, 139}, 0, ButtonAction::None};
    case ScreenKind::Abnormal:
      return MessageScreen{{140, 141, 142, 143}, kOk, ButtonAction::Close};
    case ScreenKind::UpdateRequired:
      return MessageScreen{{144, 145, 146, 147}, kOk, ButtonAction::Close};
    case ScreenKind::AlreadyRunning:
      return MessageScreen{{157, 158, 159, 160}, kOk, ButtonAction::Close};
    default:
      return std::nullopt;
  }
}

int32_t ScaleToDisplay(int32_t value, const DisplayState& display) {
  double w = display.width;
  double h = display.height;
  if (display.angle == 90 || display.angle == 270) std::swap(w, h);
  const double factor = std::max(w / 3840.0, h / 2560.0);
  if (factor <= 0.0) return 0;
  return static_cast<int32_t>(value * factor);
}

namespace {

Rect Centred(int32_t centreX, int32_t top, int32_t width, int32_t height) {
  const int32_t left = centreX - width / 2;
  return Rect{left, top, left + width, top + height};
}

}  // namespace

MessageLayout LayOutMessage(const Rect& area, const DisplayState& display) {
  const int32_t w = ScaleToDisplay(600, display);
  const int32_t h = ScaleToDisplay(60, display);
  const int32_t gap = ScaleToDisplay(5, display);
  const int32_t cx = area.left + area.Width() / 2;
  const int32_t cy = area.top + area.Height() / 2;
  MessageLayout layout;
  layout.fontHeight = ScaleToDisplay(40, display);
  layout.buttonFontHeight = ScaleToDisplay(36, display);
  layout.lines[2] = Centred(cx, cy - h / 2, w, h);
  layout.lines[1] = Centred(cx, layout.lines[2].top - gap - h, w, h);
  layout.lines[0] = Centred(cx, layout.lines[1].top - gap - h, w, h);
  layout.lines[3] = Centred(cx, layout.lines[2].bottom + gap, w, h);
  layout.button = Centred(cx, layout.lines[3].bottom + ScaleToDisplay(40, display),
                          ScaleToDisplay(160, display), ScaleToDisplay(60, display));
  return layout;
}

}  // namespace app
