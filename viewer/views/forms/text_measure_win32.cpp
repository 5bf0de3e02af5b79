#include "views/forms/text_measure_win32.h"

#include <windows.h>

#include "common/win32/unique_handle.h"
#include "views/controls/view_fonts_win32.h"

namespace views {

std::vector<int32_t> MeasureTexts(const std::vector<std::wstring>& texts, int height) {
  std::vector<int32_t> widths(texts.size(), 0);
  win32::UniqueWindowDc screen = win32::GetWindowDc(nullptr);
  win32::UniqueFont font = CreateViewFont(height);
  if (screen.get().dc == nullptr || !font) return widths;
  win32::UniqueSelection selected = win32::Select(screen.get().dc, font.get());
  for (size_t i = 0; i < texts.size(); ++i) {
    SIZE size{};
    if (GetTextExtentPoint32W(screen.get().dc, texts[i].c_str(), static_cast<int>(texts[i].size()), &size))
      widths[i] = size.cx;
  }
  return widths;
}

}  // namespace views
