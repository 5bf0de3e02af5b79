#pragma once
// A view made from a dialog template, as a child of a pane frame.  The
// dialog procedure finds the object through GWLP_USERDATA (stored at
// WM_INITDIALOG, the first message that carries it) and routes messages to
// OnMessage.  Owner-draw requests are passed back to the control that asked
// (reflected), so a control class draws itself.

#include <windows.h>

#include "common/win32/unique_handle.h"

namespace views {

// WM_DRAWITEM as reflected to the control (wParam, lParam unchanged).
inline constexpr UINT kReflectedDrawItem = 0x2000 + WM_DRAWITEM;

class CFormView {
 public:
  CFormView() = default;
  CFormView(const CFormView&) = delete;
  CFormView& operator=(const CFormView&) = delete;
  virtual ~CFormView();

  // Creates the window from template `templateId` of this program as a
  // hidden child of `pane` with control id `id`; false when that failed.
  [[nodiscard]] bool CreateFromTemplate(UINT templateId, HWND pane, UINT id);
  // The initial update: bind controls, append layout items, lay out.
  void SendInitialUpdate() { OnInitialUpdate(); }

  [[nodiscard]] HWND hwnd() const { return window_.get(); }

 protected:
  virtual void OnInitialUpdate() {}
  // Right after the window exists (a dialog's own procedure never sees
  // WM_CREATE).
  virtual void OnWindowCreated() {}
  // True when handled; `result` is then the message's answer.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Destroys the window before members that its controls use go away.
  void DestroyWindowNow() { window_.reset(); }

 private:
  static INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  win32::UniqueWindow window_;
};

}  // namespace views
