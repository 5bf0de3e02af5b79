#include "views/text_fit.h"

#include <algorithm>

namespace views {

int32_t WidthToHold(int32_t designWidth, std::span<const int32_t> textWidths, int32_t padding) {
  int32_t widest = 0;
  for (int32_t w : textWidths) widest = std::max(widest, w);
  if (widest == 0) return designWidth;
  const int64_t needed = static_cast<int64_t>(widest) + widest / 20 + std::max(padding, 0);
  return static_cast<int32_t>(std::clamp<int64_t>(needed, designWidth, INT32_MAX / 2));
}

}  // namespace views
