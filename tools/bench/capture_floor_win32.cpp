// The cost floor of the viewer's overlap check: the same screen capture as the
// viewer's, of the same area, once a second, and nothing else.
//
//   capture_floor LEFT TOP WIDTH HEIGHT SECONDS
//
// Prints "captures N failed M" at the end, after SECONDS seconds. Exit code 0
// when every capture gave an image, 1 when one did not, 2 on a bad command line.
#include <windows.h>

#include <cstdio>
#include <string_view>
#include <vector>

#include "capture_floor_args.h"
#include "overlap/screen_capture.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const bench::CaptureFloorArgs parsed = bench::ParseCaptureFloorArgs(args);
  if (!parsed.options) {
    std::fprintf(stderr, "capture_floor: %s\nusage: capture_floor LEFT TOP WIDTH HEIGHT SECONDS\n",
                 parsed.error.c_str());
    return 2;
  }
  const bench::CaptureFloorOptions& options = *parsed.options;
  overlap::ScreenCapture& screen = overlap::PlatformScreenCapture();
  // Due times count from the start, so a slow capture does not shift the next one.
  const ULONGLONG start = GetTickCount64();
  const auto sleepUntil = [start](int32_t second) {
    const ULONGLONG due = start + 1000ULL * static_cast<ULONGLONG>(second);
    const ULONGLONG now = GetTickCount64();
    if (due > now) Sleep(static_cast<DWORD>(due - now));
  };
  unsigned long long captures = 0;
  unsigned long long failed = 0;
  for (int32_t second = 0; second < options.seconds; ++second) {
    sleepUntil(second);
    if (screen.Capture(options.area) != nullptr) {
      ++captures;
    } else {
      ++failed;
    }
  }
  sleepUntil(options.seconds);
  std::printf("captures %llu failed %llu\n", captures, failed);
  return failed == 0 ? 0 : 1;
}
