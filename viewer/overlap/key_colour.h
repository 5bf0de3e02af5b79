#pragma once
// The colour every view paints its background with, RGB(0, 3, 0); the
// overlap check requires it in every captured pixel.
#include <cstdint>

namespace overlap {

inline constexpr uint32_t KeyColour = 0x00000300;  // colour reference, red in the lowest byte
inline constexpr uint8_t kKeyBlue = 0;
inline constexpr uint8_t kKeyGreen = 3;
inline constexpr uint8_t kKeyRed = 0;

}  // namespace overlap
