#pragma once
// A control of a dialog template taken over by a class of ours with
// SetWindowSubclass; what the class does not handle goes on to the
// control's own window procedure.

#include <windows.h>

#include "common/win32/unique_handle.h"

namespace views {

class CSubclassedControl {
 public:
  CSubclassedControl() = default;
  CSubclassedControl(const CSubclassedControl&) = delete;
  CSubclassedControl& operator=(const CSubclassedControl&) = delete;
  virtual ~CSubclassedControl() = default;

  // Binds control `id` of `parent`; false when there is no such control or
  // subclassing failed.
  [[nodiscard]] bool SubclassDlgItem(UINT id, HWND parent);
  [[nodiscard]] HWND hwnd() const { return subclass_.get().window; }

 protected:
  // True when handled; `result` is then the message's answer.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);

  win32::UniqueSubclass subclass_;
};

}  // namespace views
