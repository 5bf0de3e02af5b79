#include "views/framework/subclassed_control_win32.h"

namespace views {
namespace {
constexpr UINT_PTR kSubclassId = 0x7A56;
}

bool CSubclassedControl::SubclassDlgItem(UINT id, HWND parent) {
  HWND control = GetDlgItem(parent, static_cast<int>(id));
  if (control == nullptr) return false;
  subclass_.reset();
  if (!SetWindowSubclass(control, &CSubclassedControl::Procedure, kSubclassId,
                         reinterpret_cast<DWORD_PTR>(this)))
    return false;
  subclass_.reset(win32::policy::SubclassValue{control, &CSubclassedControl::Procedure, kSubclassId});
  return true;
}

bool CSubclassedControl::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK CSubclassedControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR, DWORD_PTR selfValue) {
  auto* self = reinterpret_cast<CSubclassedControl*>(selfValue);
  if (message == WM_NCDESTROY) {
    // The control goes before its object: the subclass goes with it.
    RemoveWindowSubclass(hwnd, &CSubclassedControl::Procedure, kSubclassId);
    (void)self->subclass_.release();
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (self->OnMessage(message, wParam, lParam, result)) return result;
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace views
