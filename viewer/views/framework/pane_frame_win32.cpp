#include "views/framework/pane_frame_win32.h"

#include "overlap/key_colour.h"

namespace views {
namespace {
constexpr wchar_t kPaneClass[] = L"TavrinPaneFrame";
}

CPaneFrame::CPaneFrame() : background_(CreateSolidBrush(overlap::KeyColour)) {}

bool CPaneFrame::Create(HWND parent, const RECT& rect, UINT id) {
  WNDCLASSEXW wc = ClassTemplate(kPaneClass);
  if (!RegisterClassOnce(wc)) return false;
  return CreateOf(kPaneClass, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, parent, id, rect);
}

void CPaneFrame::RecalcLayout() {
  HWND view = GetDlgItem(hwnd(), kFirstViewId);
  if (view == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  MoveWindow(view, 0, 0, client.right, client.bottom, TRUE);
}

LRESULT CPaneFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      RecalcLayout();
      return 0;
    case kPaneRecalcLayout:
      RecalcLayout();
      return 0;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(hwnd(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
      return 1;
    }
    default:
      return WindowBase::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace views
