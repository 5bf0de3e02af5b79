#pragma once
// The caption row, shown on every screen: a bar with a close button at its
// right end that closes the application.

#include "views/controls/bitmap_button_win32.h"
#include "views/forms/base_view_win32.h"

namespace views {

class CVideoCaptionView : public CBaseCaptionView {
 public:
  CVideoCaptionView();
  void ShowCloseButton(bool show) override;

  [[nodiscard]] CBitmapButtonEx& CloseButton() { return close_; }

 protected:
  void OnInitialUpdate() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  CBitmapButtonEx close_;
};

}  // namespace views
