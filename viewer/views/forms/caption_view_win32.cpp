#include "views/forms/caption_view_win32.h"

#include "resource_ids.h"

namespace views {

CVideoCaptionView::CVideoCaptionView() : CBaseCaptionView(IDD_VIDEO_CAPTION_VIEW) {}

void CVideoCaptionView::OnInitialUpdate() {
  if (close_.SubclassDlgItem(IDC_CLOSE, hwnd())) (void)close_.LoadStateBitmaps();
  close_.LoadBitmaps(IDB_BUTTON_NORMAL, IDB_BUTTON_PRESSED, IDB_BUTTON_FOCUSED, IDB_BUTTON_DISABLED);
  close_.ApplyButtonFont();
  close_.LoadBitmaps(IDB_CLOSE_FACE_NORMAL, IDB_CLOSE_FACE_PRESSED, IDB_CLOSE_FACE_FOCUSED,
                     IDB_CLOSE_FACE_DISABLED);
  // No caption is drawn; the window text alone names the button for
  // assistive technology (the string table has no text for it).
  if (close_.hwnd() != nullptr)
    DefWindowProcW(close_.hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Close"));
  AddLayoutItem(LayoutItem{.control = GetDlgItem(hwnd(), IDC_CLOSE),
                           .width = 40,
                           .height = 40,
                           .fontSize = 0,
                           .horizontalMode = kAlignRight,
                           .horizontalOffset = 20,
                           .verticalMode = kAlignVCentre});
  Relayout();
}

void CVideoCaptionView::ShowCloseButton(bool show) {
  HWND button = GetDlgItem(hwnd(), IDC_CLOSE);
  if (button != nullptr) ShowWindow(button, show ? SW_SHOW : SW_HIDE);
}

bool CVideoCaptionView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_CLOSE && HIWORD(wParam) == BN_CLICKED) {
    HWND main = GetAncestor(hwnd(), GA_ROOT);
    if (main != nullptr) SendMessageW(main, WM_CLOSE, 0, 0);
    result = 0;
    return true;
  }
  return CBaseCaptionView::OnMessage(message, wParam, lParam, result);
}

}  // namespace views
