#include "views/layout/version_text.h"

namespace views {

std::wstring TrimProductVersion(std::wstring_view version) {
  const std::wstring_view set = version.size() > 3 ? version.substr(version.size() - 3) : version;
  const size_t first = version.find_first_not_of(set);
  if (first == std::wstring_view::npos) return {};
  const size_t last = version.find_last_not_of(set);
  return std::wstring(version.substr(first, last - first + 1));
}

std::wstring OrPlaceholder(std::wstring text, const std::wstring& placeholder) {
  return text.empty() ? placeholder : text;
}

}  // namespace views
