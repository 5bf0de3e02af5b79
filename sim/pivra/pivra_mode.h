#pragma once
// Start-up settings of the simulated tablet-mode library, from the
// environment:
//   PIVRA_MODE  the mode GetPivra reports at first (decimal; default 1,
//               desktop mode; 2 is tablet mode; anything unreadable gives 1)
//   PIVRA_INIT  "fail" makes InitPivra answer 0
#include <cstdint>

namespace pivra {

inline constexpr int32_t kDesktopMode = 1;
inline constexpr int32_t kTabletMode = 2;

// A decimal number (optional sign, at most 9 digits, nothing else) or the
// desktop mode.
int32_t ParseMode(const char* text);
bool InitShouldFail(const char* text);

}  // namespace pivra
