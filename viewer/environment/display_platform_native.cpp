#include "environment/display_platform.h"

namespace environment {

namespace {

// No display devices outside Windows.
class AbsentDisplays final : public DisplayPlatform {
 public:
  bool DisplayDevice(const std::wstring*, uint32_t, DisplayDeviceEntry&) override { return false; }
  std::vector<MonitorEntry> Monitors() override { return {}; }
  bool CurrentMode(const std::wstring&, DisplayModeEntry&) override { return false; }
};

}  // namespace

DisplayPlatform& PlatformDisplays() {
  static AbsentDisplays displays;
  return displays;
}

}  // namespace environment
