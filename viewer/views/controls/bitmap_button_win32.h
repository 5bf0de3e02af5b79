#pragma once
// The program's push button: owner-drawn, its face a bitmap stretched to
// the button, an optional icon left of a white caption.  The caption is
// also the window text, so assistive technology announces the button by it.

#include <windows.h>

#include <array>
#include <string>

#include "common/win32/unique_handle.h"
#include "views/framework/subclassed_control_win32.h"
#include "views/layout/display_layout.h"

namespace views {

class CBitmapButtonEx : public CSubclassedControl {
 public:
  // Faces from bitmap resources named by the window text t: t+"U", t+"D",
  // t+"F", t+"X"; true when the normal face was loaded.
  [[nodiscard]] bool LoadStateBitmaps();
  // Faces by resource id (0: none for that role); true when the normal face loaded.
  bool LoadBitmaps(UINT normal, UINT selected, UINT focused, UINT disabled);
  // Faces made elsewhere (normal, selected, focused, disabled).
  void SetFaceBitmaps(std::array<win32::UniqueBitmap, 4> faces);
  // "Meiryo", height 36, set with redraw.
  void ApplyButtonFont();
  // Loads the icon by resource id; the same id again does nothing.
  void SetIcon(UINT resourceId);
  // A copy for scaling the icon and gap; no repaint.
  void SetLayout(const DisplayLayout& layout) { layout_ = layout; }
  // Assigning does not repaint.
  void SetCaption(const std::wstring& caption);

  [[nodiscard]] const std::wstring& Caption() const { return caption_; }
  [[nodiscard]] UINT IconId() const { return iconId_; }

  void DrawItem(const DRAWITEMSTRUCT& item);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  std::array<win32::UniqueBitmap, 4> faces_;
  std::wstring caption_;
  win32::UniqueFont font_;
  win32::UniqueBitmap icon_;
  UINT iconId_ = 0;
  DisplayLayout layout_;
};

}  // namespace views
