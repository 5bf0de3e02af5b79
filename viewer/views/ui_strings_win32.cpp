#include <windows.h>

#include "views/ui_strings.h"

namespace views {

// The loader picks the table of the thread's interface language.
std::wstring LoadUiString(uint32_t id) {
  const wchar_t* text = nullptr;
  const int n = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
  if (n <= 0 || text == nullptr) return {};
  return std::wstring(text, static_cast<size_t>(n));
}

}  // namespace views
