#pragma once
// The display queries of the platform: adapters and monitors, the monitors
// of the desktop, and the current mode of a display.
#include <vector>

#include "environment/display_types.h"

namespace environment {

class DisplayPlatform {
 public:
  virtual ~DisplayPlatform() = default;
  // Entry index of the adapters (adapter null) or of one adapter's
  // monitors; false when there is no such entry.
  virtual bool DisplayDevice(const std::wstring* adapter, uint32_t index, DisplayDeviceEntry& entry) = 0;
  // All monitors of the desktop whose information could be read.
  virtual std::vector<MonitorEntry> Monitors() = 0;
  // The current mode of the named display.
  virtual bool CurrentMode(const std::wstring& displayName, DisplayModeEntry& mode) = 0;
};

// The platform's displays. A native build has none (every query fails).
DisplayPlatform& PlatformDisplays();

}  // namespace environment
