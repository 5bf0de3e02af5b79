#pragma once
// Answers of an overlap check, as the overlap code gives them and the frame
// keeps them in its screen conditions.
#include <cstdint>

namespace overlap {

inline constexpr uint32_t kOverlapClear = 0;
inline constexpr uint32_t kOverlapCovered = 1;
inline constexpr uint32_t kOverlapNoResult = 2;  // a check is still running

}  // namespace overlap
