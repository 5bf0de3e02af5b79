#include "views/controls/view_fonts_win32.h"

namespace views {

win32::UniqueFont CreateViewFont(int height) {
  return win32::UniqueFont(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0,
                                       0, CLEARTYPE_QUALITY, 0, L"Meiryo"));
}

void ApplyTextFont(HWND control, win32::UniqueFont& font) {
  if (control == nullptr) return;
  font = CreateViewFont(40);
  if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
}

}  // namespace views
