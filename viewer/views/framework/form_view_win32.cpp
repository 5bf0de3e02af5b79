#include "views/framework/form_view_win32.h"

namespace views {

CFormView::~CFormView() {
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

bool CFormView::CreateFromTemplate(UINT templateId, HWND pane, UINT id) {
  HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), pane,
                                 &CFormView::DialogProcedure, reinterpret_cast<LPARAM>(this));
  if (hwnd == nullptr) return false;
  window_.reset(hwnd);
  SetWindowLongPtrW(hwnd, GWLP_ID, static_cast<LONG_PTR>(id));
  // Views have no sunken edge.
  const LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  if ((exStyle & WS_EX_CLIENTEDGE) != 0) {
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  OnWindowCreated();
  return true;
}

bool CFormView::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlType == ODT_BUTTON && item->hwndItem != nullptr) {
      SendMessageW(item->hwndItem, kReflectedDrawItem, 0, lParam);
      result = TRUE;
      return true;
    }
  }
  return false;
}

INT_PTR CALLBACK CFormView::DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
    return FALSE;  // no focus given to a control of a hidden view
  }
  auto* self = reinterpret_cast<CFormView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    (void)self->window_.release();
    return FALSE;
  }
  LRESULT result = 0;
  if (!self->OnMessage(message, wParam, lParam, result)) return FALSE;
  switch (message) {
    // These answer through the procedure's own return value.
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORMSGBOX:
      return static_cast<INT_PTR>(result);
    default:
      SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
      return TRUE;
  }
}

}  // namespace views
