#include "views/layout/dialog_placement.h"

#include <algorithm>

namespace views {
namespace {

// 64-bit: rectangles come from the platform and may be anything.
int32_t Centred(int64_t start, int64_t extent, int64_t size, int64_t low, int64_t high) {
  const int64_t wanted = start + (extent - size) / 2;
  return static_cast<int32_t>(std::max(low, std::min(wanted, high - size)));
}

}  // namespace

Point CentredDialogOrigin(const Rect& owner, int32_t width, int32_t height, const Rect& workArea) {
  const bool hasOwner = owner.right > owner.left && owner.bottom > owner.top;
  const Rect& around = hasOwner ? owner : workArea;
  return Point{
      Centred(around.left, int64_t{around.right} - around.left, width, workArea.left, workArea.right),
      Centred(around.top, int64_t{around.bottom} - around.top, height, workArea.top, workArea.bottom)};
}

}  // namespace views
