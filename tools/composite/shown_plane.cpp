#include "shown_plane.h"

#include <sstream>
#include <vector>

namespace composite {
namespace {

bool Numbers(std::istringstream& words, std::vector<long long>& out, size_t count) {
  out.clear();
  long long v = 0;
  while (words >> v) out.push_back(v);
  if (!words.eof()) return false;
  if (out.size() != count) return false;
  for (long long n : out)
    if (n < -2147483647LL || n > 2147483647LL) return false;
  return true;
}

}  // namespace

std::optional<ShownPlane> ParseShownPlane(const std::string& text, std::string& error) {
  ShownPlane plane;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  unsigned seen = 0;
  const auto bad = [&](const std::string& why) {
    error = "line " + std::to_string(number) + ": " + why;
    return std::nullopt;
  };
  std::vector<long long> n;
  while (std::getline(lines, line)) {
    ++number;
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string key;
    if (!(words >> key)) continue;
    const auto wants = [&](size_t count) { return Numbers(words, n, count); };
    if (key == "open" && wants(1)) {
      plane.open = n[0] != 0;
      seen |= 1;
    } else if (key == "draws" && wants(1)) {
    } else if (key == "panel" && wants(2)) {
      plane.panelWidth = static_cast<int32_t>(n[0]);
      plane.panelHeight = static_cast<int32_t>(n[1]);
      seen |= 2;
    } else if (key == "enable" && wants(1)) {
      plane.enable = n[0] == 1;
      seen |= 4;
    } else if (key == "angle" && wants(1)) {
      if (n[0] != 0 && n[0] != 90 && n[0] != 180 && n[0] != 270) return bad("angle not 0, 90, 180 or 270");
      plane.angle = static_cast<int32_t>(n[0]);
      seen |= 8;
    } else if (key == "placement" && wants(4)) {
      plane.placement = {static_cast<int32_t>(n[0]), static_cast<int32_t>(n[1]), static_cast<int32_t>(n[2]),
                         static_cast<int32_t>(n[3])};
      seen |= 16;
    } else if (key == "parts" && wants(7)) {
      plane.partsId = static_cast<int32_t>(n[0]);
      plane.gridWidth = static_cast<int32_t>(n[1]);
      plane.gridHeight = static_cast<int32_t>(n[2]);
      plane.crop = {static_cast<int32_t>(n[3]), static_cast<int32_t>(n[4]), static_cast<int32_t>(n[5]),
                    static_cast<int32_t>(n[6])};
      seen |= 32;
    } else {
      return bad("unknown key or wrong numbers: '" + key + "'");
    }
  }
  if (seen != 63) {
    number = 0;
    return bad("missing one of open, panel, enable, angle, placement, parts");
  }
  return plane;
}

}  // namespace composite
