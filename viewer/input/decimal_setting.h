#pragma once
// The zoom settings' texts as numbers.
#include <string_view>

namespace input {

// A decimal floating-point number at the start of the text: leading white
// space, an optional sign, digits with an optional point and exponent;
// trailing text is ignored.  No number, a value outside the double range,
// and infinity, NaN or hexadecimal forms give 0.0.
[[nodiscard]] double ParseDecimalDouble(std::wstring_view text);

}  // namespace input
