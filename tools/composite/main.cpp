// plane_composite: lays the simulated board's picture over a screenshot.
//
//   plane_composite SCREEN.ppm STATE.txt SOURCE.ppm OUT.ppm [X Y W H]
//
// STATE.txt is the board's state file (OVXSIM_STATE_FILE); SOURCE.ppm the
// input picture; X Y W H the monitor's area on the screen (default: all of
// it).  Prints "painted N" on success; exit code 1 with a reason otherwise.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "plane_composite.h"

namespace {

bool ReadFile(const char* path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "plane_composite: %s\n", why.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && argc != 9)
    return Fail("usage: plane_composite SCREEN.ppm STATE.txt SOURCE.ppm OUT.ppm [X Y W H]");
  std::string bytes, error;
  if (!ReadFile(argv[1], bytes)) return Fail(std::string(argv[1]) + ": cannot be read");
  auto screen = composite::ParsePpm(bytes, error);
  if (!screen) return Fail(std::string(argv[1]) + ": " + error);
  if (!ReadFile(argv[2], bytes)) return Fail(std::string(argv[2]) + ": cannot be read");
  const auto plane = composite::ParseShownPlane(bytes, error);
  if (!plane) return Fail(std::string(argv[2]) + ": " + error);
  if (!ReadFile(argv[3], bytes)) return Fail(std::string(argv[3]) + ": cannot be read");
  const auto source = composite::ParsePpm(bytes, error);
  if (!source) return Fail(std::string(argv[3]) + ": " + error);
  composite::Rect monitor{0, 0, screen->width, screen->height};
  if (argc == 9) {
    monitor = {std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]), std::atoi(argv[8])};
    if (monitor.width <= 0 || monitor.height <= 0) return Fail("the monitor's size must be positive");
  }
  const int painted = composite::CompositePlane(*screen, monitor, *plane, *source);
  std::ofstream out(argv[4], std::ios::binary);
  out << composite::FormatPpm(*screen);
  if (!out.flush()) return Fail(std::string(argv[4]) + ": cannot be written");
  std::printf("painted %d\n", painted);
  return 0;
}
