#pragma once
// Conversions between setting values and the wide decimal texts of the
// settings map.
#include <string>

namespace settings {

// Decimal text with a leading '-' for negative values ("%ld").
std::wstring DecimalText(long long value);

// Decimal conversions as the readers of the map use them (stoi, stol, stod):
// leading blanks and trailing text are accepted, anything that is not a
// number or does not fit gives 0.
int TextToInt(const std::wstring& text);
long TextToLong(const std::wstring& text);
double TextToDouble(const std::wstring& text);

}  // namespace settings
