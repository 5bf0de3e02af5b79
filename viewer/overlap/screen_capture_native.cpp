#include "overlap/screen_capture.h"

namespace overlap {

namespace {

// No screen outside Windows: every check keeps its previous result.
class AbsentScreen final : public ScreenCapture {
 public:
  std::unique_ptr<CapturedImage> Capture(const PixelRect&) override { return nullptr; }
};

}  // namespace

ScreenCapture& PlatformScreenCapture() {
  static AbsentScreen screen;
  return screen;
}

}  // namespace overlap
