#pragma once
// The window layer's base: one object per window, found by its window
// procedure through GWLP_USERDATA (stored at WM_NCCREATE), with the
// messages routed to a virtual handler.  Window thread only.

#include <windows.h>

#include "common/win32/unique_handle.h"

namespace views {

// Registers a window class of this program's instance unless one of that
// name exists already; false only when registering failed.
[[nodiscard]] bool RegisterClassOnce(const WNDCLASSEXW& windowClass);

class WindowBase {
 public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  virtual ~WindowBase();

  [[nodiscard]] HWND hwnd() const { return window_.get(); }

 protected:
  // Creates the window of a class whose procedure is WindowBase's (see
  // ClassTemplate); false when creation failed.
  [[nodiscard]] bool CreateOf(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, UINT id,
                              const RECT& rect);
  // A class description with WindowBase's procedure and the arrow cursor.
  [[nodiscard]] static WNDCLASSEXW ClassTemplate(const wchar_t* className);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  win32::UniqueWindow window_;
};

}  // namespace views
