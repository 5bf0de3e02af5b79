#pragma once
// The display view of a message screen (kinds 4 to 10): up to four centred
// white lines from the string table and, for some kinds, a button that
// resumes playback or ends the application.  The content per kind is
// ErrorContentOf's (views/error_view_logic.h).

#include <windows.h>

#include <array>

#include "common/win32/unique_handle.h"
#include "views/controls/bitmap_button_win32.h"
#include "views/error_view_logic.h"
#include "views/forms/base_view_win32.h"

namespace views {

class CVideoErrorView : public CBaseDisplayView {
 public:
  CVideoErrorView();
  ~CVideoErrorView() override;

  // Set right after creation, before the initial update.
  void SetKind(uint32_t kind) override { kind_ = kind; }
  [[nodiscard]] uint32_t Kind() const { return kind_; }
  // The kind's texts, button caption and check states; true when the
  // button is to be shown.  Gives every line its own font.
  [[nodiscard]] bool ApplyKind();
  // The lines and, when shown, the button: the overlap check ignores them.
  Rect GetExclusionRect() override;

  [[nodiscard]] CBitmapButtonEx& Button() { return button_; }

 protected:
  void OnInitialUpdate() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  [[nodiscard]] bool IsLine(HWND control) const;

  std::array<win32::UniqueFont, 4> lineFonts_;
  uint32_t kind_ = 0;
  CBitmapButtonEx button_;
  win32::UniqueBrush background_;
};

}  // namespace views
