#pragma once
// The About box's texts before they are shown.

#include <string>
#include <string_view>

namespace views {

// The product version without its trailing build mark: every leading and
// trailing character that occurs among the last three is removed (a set,
// not a position), so "V1.00L11 M05" gives "V1.00L11 ".
[[nodiscard]] std::wstring TrimProductVersion(std::wstring_view version);

// `text`, or `placeholder` when it is empty.
[[nodiscard]] std::wstring OrPlaceholder(std::wstring text, const std::wstring& placeholder);

}  // namespace views
