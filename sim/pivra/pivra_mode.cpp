#include "pivra_mode.h"

#include <cstring>

namespace pivra {

int32_t ParseMode(const char* text) {
  if (text == nullptr) return kDesktopMode;
  const char* p = text;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  int32_t value = 0;
  int digits = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (++digits > 9) return kDesktopMode;
    value = value * 10 + (*p - '0');
  }
  if (digits == 0 || *p != '\0') return kDesktopMode;
  return negative ? -value : value;
}

bool InitShouldFail(const char* text) { return text != nullptr && std::strcmp(text, "fail") == 0; }

}  // namespace pivra
