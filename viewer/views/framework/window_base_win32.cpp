#include "views/framework/window_base_win32.h"

namespace views {

bool RegisterClassOnce(const WNDCLASSEXW& windowClass) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &existing)) return true;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

WindowBase::~WindowBase() {
  // The window may outlive nothing of ours: cut the link before it goes.
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

WNDCLASSEXW WindowBase::ClassTemplate(const wchar_t* className) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &WindowBase::Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = className;
  return wc;
}

bool WindowBase::CreateOf(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, UINT id,
                          const RECT& rect) {
  const HMENU menu = (style & WS_CHILD) != 0 ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
  HWND hwnd = CreateWindowExW(exStyle, className, L"", style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, menu, GetModuleHandleW(nullptr), this);
  // WM_NCCREATE took the window over already.
  return hwnd != nullptr && window_.get() == hwnd;
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd(), message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(hwnd);
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Destroyed from outside (with its parent): nothing left to destroy.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    (void)self->window_.release();
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

}  // namespace views
