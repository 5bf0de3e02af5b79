#include "input/decimal_setting.h"

#include <charconv>
#include <cmath>
#include <string>

namespace input {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

}  // namespace

double ParseDecimalDouble(std::wstring_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  // Only the decimal form is copied, so the conversion below cannot see
  // "inf", "nan" or "0x" and does not depend on the locale's decimal point.
  std::string number;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    if (text[i] == L'-') number.push_back('-');
    ++i;
  }
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) number.push_back(static_cast<char>(text[i++])), ++digits;
  if (i < text.size() && text[i] == L'.') {
    number.push_back('.');
    ++i;
    while (i < text.size() && IsDigit(text[i])) number.push_back(static_cast<char>(text[i++])), ++digits;
  }
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == L'+' || text[j] == L'-'))
      exponent.push_back(static_cast<char>(text[j++]));
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) exponent.push_back(static_cast<char>(text[j++]));
      number += exponent;
    }
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value)) return 0.0;
  return value;
}

}  // namespace input
