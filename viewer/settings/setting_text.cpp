#include "settings/setting_text.h"

#include <stdexcept>

namespace settings {

std::wstring DecimalText(long long value) {
  // Work on the negative side so that the smallest value needs no special case.
  const bool negative = value < 0;
  long long rest = negative ? value : -value;
  wchar_t digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<wchar_t>(L'0' - rest % 10);
    rest /= 10;
  } while (rest != 0);
  std::wstring text;
  text.reserve(static_cast<size_t>(count) + 1);
  if (negative) text.push_back(L'-');
  while (count > 0) text.push_back(digits[--count]);
  return text;
}

namespace {

template <typename Convert>
auto ConvertOrZero(Convert convert) -> decltype(convert()) {
  try {
    return convert();
  } catch (const std::invalid_argument&) {
    return 0;
  } catch (const std::out_of_range&) {
    return 0;
  }
}

}  // namespace

int TextToInt(const std::wstring& text) {
  return ConvertOrZero([&] { return std::stoi(text); });
}

long TextToLong(const std::wstring& text) {
  // long is 64 bits on some hosts; keep the 32-bit range of the target.
  return ConvertOrZero([&]() -> long {
    const long value = std::stol(text);
    if (value < -2147483647L - 1 || value > 2147483647L) throw std::out_of_range("long");
    return value;
  });
}

double TextToDouble(const std::wstring& text) {
  return ConvertOrZero([&] { return std::stod(text); });
}

}  // namespace settings
