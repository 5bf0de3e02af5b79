#include "views/forms/play_view_win32.h"

#include <windowsx.h>

#include "input/key_codes.h"
#include "resource_ids.h"

namespace views {
namespace {

std::wstring SettingText(const SettingsMap& settings, int32_t id) {
  const auto found = settings.find(id);
  return found != settings.end() ? found->second : std::wstring();
}

// Mouse messages the platform makes from touch: the fingers already pan and
// zoom through WM_TOUCH.
bool FromTouch() { return input::IsMouseFromTouch(static_cast<uint64_t>(GetMessageExtraInfo())); }

}  // namespace

CVideoPlayView::CVideoPlayView() : CBaseDisplayView(IDD_VIDEO_PLAY_VIEW) {
  // No gesture runs yet.
  CBaseDisplayView::SetCheckState(1);
  SetSavedCheckState(1);
}

CVideoPlayView::~CVideoPlayView() {
  // The window's messages reach the logic until it is gone.
  DestroyWindowNow();
}

void CVideoPlayView::ApplySettings(const SettingsMap& settings) {
  logic_.ApplySettings(SettingText(settings, 4), SettingText(settings, 5));
}

void CVideoPlayView::SetLayout(const DisplayLayout& layout) {
  CBaseDisplayView::SetLayout(layout);
  logic_.SetLayout(input::ZoomLayout{layout.video, layout.zoomCentreX, layout.zoomCentreY, layout.zoom,
                                     layout.fullScreen != 0});
}

Rect CVideoPlayView::GetCaptureRect() { return logic_.CaptureRect(); }

void CVideoPlayView::OnWindowCreated() {
  // Wine has no touch input: without the registration the view still works
  // with the mouse.
  if (RegisterTouchWindow(hwnd(), TWF_WANTPALM)) touch_.reset(hwnd());
}

POINT CVideoPlayView::ToScreen(LPARAM clientPoint) const {
  POINT p{GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
  ClientToScreen(hwnd(), &p);
  return p;
}

bool CVideoPlayView::OnKey(UINT message, WPARAM key, LPARAM flags) {
  input::KeyModifiers modifiers;
  modifiers.ctrl = GetKeyState(VK_CONTROL) < 0;
  modifiers.shift = GetKeyState(VK_SHIFT) < 0;
  modifiers.alt = message == WM_SYSKEYDOWN || GetKeyState(VK_MENU) < 0;
  const bool repeat = (flags & 0x40000000) != 0;
  logic_.SetScreenModeListener(ScreenModeListener());
  return keys_.OnKey(static_cast<uint32_t>(key), modifiers, repeat);
}

bool CVideoPlayView::PreTranslateInput(const MSG& message) {
  if (hwnd() == nullptr || !IsWindowVisible(hwnd())) return false;
  switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return OnKey(message.message, message.wParam, message.lParam);
    case WM_MOUSEWHEEL:
      return keys_.OnWheel(GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam),
                           GET_WHEEL_DELTA_WPARAM(message.wParam));
    default:
      return false;
  }
}

bool CVideoPlayView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_TOUCH:
      // The points are read and the handle closed inside; the message still
      // gets default processing.
      logic_.OnTouch(*reader_, static_cast<input::TouchInputHandle>(lParam), LOWORD(wParam));
      return false;
    case WM_SIZE: {
      const bool handled = CBaseDisplayView::OnMessage(message, wParam, lParam, result);
      logic_.OnSized();
      return handled;
    }
    case WM_LBUTTONDBLCLK: {
      const POINT p = ToScreen(lParam);
      if (logic_.OnDoubleClick(p.x, p.y)) return false;
      result = 0;  // outside the video: no default processing
      return true;
    }
    case WM_LBUTTONDOWN: {
      SetFocus(hwnd());
      if (FromTouch()) return false;
      const POINT p = ToScreen(lParam);
      if (keys_.OnLeftDown(p.x, p.y)) SetCapture(hwnd());
      return false;
    }
    case WM_MOUSEMOVE:
      if (keys_.Dragging()) {
        const POINT p = ToScreen(lParam);
        keys_.OnMouseMove(p.x, p.y);
      }
      return false;
    case WM_LBUTTONUP:
      if (keys_.Dragging()) {
        const POINT p = ToScreen(lParam);
        keys_.OnLeftUp(p.x, p.y);
        ReleaseCapture();
      }
      return false;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd()) keys_.OnCaptureLost();
      return false;
    case WM_MOUSEWHEEL:
      if (FromTouch() ||
          !keys_.OnWheel(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), GET_WHEEL_DELTA_WPARAM(wParam)))
        return false;
      result = 0;
      return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!OnKey(message, wParam, lParam)) return false;
      result = 0;
      return true;
    case WM_GETDLGCODE:
      // Esc and the arrows stay with the view instead of the dialog manager.
      result = DLGC_WANTALLKEYS;
      return true;
    case WM_DESTROY:
      touch_.reset();
      return false;
    default:
      return CBaseDisplayView::OnMessage(message, wParam, lParam, result);
  }
}

}  // namespace views
