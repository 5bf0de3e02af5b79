#include <cstdlib>

#include "views/ui_strings.h"

namespace views {

std::wstring LoadUiString(uint32_t id) {
  const char* locale = nullptr;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    locale = std::getenv(name);
    if (locale != nullptr && *locale != '\0') break;
  }
  return TableString(LanguageOfLocale(locale != nullptr ? locale : ""), id);
}

}  // namespace views
