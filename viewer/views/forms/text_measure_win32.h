#pragma once
// Widths of texts in the views' font at a design height, for WidthToHold.

#include <cstdint>
#include <string>
#include <vector>

namespace views {

// Each text's width in pixels with the views' font of `height` pixels; 0
// for a text that cannot be measured.
[[nodiscard]] std::vector<int32_t> MeasureTexts(const std::vector<std::wstring>& texts, int height);

}  // namespace views
