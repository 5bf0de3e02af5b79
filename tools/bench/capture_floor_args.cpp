#include "capture_floor_args.h"

#include <charconv>

#include "overlap/screen_capture.h"

namespace bench {

namespace {

// A whole decimal number, all of the text, within [low, high].
std::optional<int64_t> Number(std::string_view text, int64_t low, int64_t high) {
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || stop != end || value < low || value > high) return std::nullopt;
  return value;
}

CaptureFloorArgs Fail(std::string why) { return CaptureFloorArgs{std::nullopt, std::move(why)}; }

}  // namespace

CaptureFloorArgs ParseCaptureFloorArgs(std::span<const std::string_view> args) {
  if (args.size() != 5) return Fail("expected LEFT TOP WIDTH HEIGHT SECONDS");
  constexpr int64_t kCoordinate = int64_t{1} << 30;  // far off any screen, no overflow in left + width
  const auto left = Number(args[0], -kCoordinate, kCoordinate);
  const auto top = Number(args[1], -kCoordinate, kCoordinate);
  if (!left || !top) return Fail("LEFT and TOP must be whole numbers");
  const auto width = Number(args[2], 1, overlap::kMaxCaptureSide);
  const auto height = Number(args[3], 1, overlap::kMaxCaptureSide);
  if (!width || !height) return Fail("WIDTH and HEIGHT must be whole numbers from 1 to 32768");
  const auto seconds = Number(args[4], 1, kMaxFloorSeconds);
  if (!seconds) return Fail("SECONDS must be a whole number from 1 to 86400");
  const overlap::PixelRect area{static_cast<int32_t>(*left), static_cast<int32_t>(*top),
                                static_cast<int32_t>(*left + *width), static_cast<int32_t>(*top + *height)};
  if (!overlap::CaptureAreaUsable(area)) return Fail("the area is too large for one capture");
  return CaptureFloorArgs{CaptureFloorOptions{area, static_cast<int32_t>(*seconds)}, {}};
}

}  // namespace bench
