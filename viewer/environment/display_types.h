#pragma once
// What the display probes report, in virtual-desktop pixels.
#include <cstdint>
#include <string>

namespace environment {

struct DisplayRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const DisplayRect&, const DisplayRect&) = default;
};

struct DisplayModeSize {
  int32_t width = 0;
  int32_t height = 0;
};

// One entry of the display-device walk (an adapter or one of its monitors).
struct DisplayDeviceEntry {
  std::wstring deviceName;
  std::wstring deviceId;
  uint32_t stateFlags = 0;
};

inline constexpr uint32_t kDisplayAttachedToDesktop = 0x1;

// One monitor of the desktop as the monitor walk reports it.
struct MonitorEntry {
  DisplayRect monitor;
  DisplayRect workArea;
  uint32_t flags = 0;
  std::wstring deviceName;
};

// The current mode of one display.
struct DisplayModeEntry {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t orientation = 0;  // 0 default, 1 turned 90, 2 turned 180, 3 turned 270
};

// One WmiMonitorConnectionParams object; either property may be absent.
struct MonitorConnectionEntry {
  bool hasVideoOutputTechnology = false;
  uint32_t videoOutputTechnology = 0;
  bool hasInstanceName = false;
  std::wstring instanceName;
};

}  // namespace environment
