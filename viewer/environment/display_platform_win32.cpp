#include "environment/display_platform.h"

#include <windows.h>

namespace environment {

namespace {

DisplayRect FromRect(const RECT& rect) { return DisplayRect{rect.left, rect.top, rect.right, rect.bottom}; }

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
  auto& monitors = *reinterpret_cast<std::vector<MonitorEntry>*>(context);
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    monitors.push_back(MonitorEntry{FromRect(info.rcMonitor), FromRect(info.rcWork), info.dwFlags,
                                    std::wstring(info.szDevice)});
  }
  return TRUE;
}

class Win32Displays final : public DisplayPlatform {
 public:
  bool DisplayDevice(const std::wstring* adapter, uint32_t index, DisplayDeviceEntry& entry) override {
    DISPLAY_DEVICEW device{};
    device.cb = sizeof(device);
    if (!EnumDisplayDevicesW(adapter != nullptr ? adapter->c_str() : nullptr, index, &device, 0)) {
      return false;
    }
    entry.deviceName = device.DeviceName;
    entry.deviceId = device.DeviceID;
    entry.stateFlags = device.StateFlags;
    return true;
  }

  std::vector<MonitorEntry> Monitors() override {
    std::vector<MonitorEntry> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
  }

  bool CurrentMode(const std::wstring& displayName, DisplayModeEntry& mode) override {
    DEVMODEW devmode{};
    devmode.dmSize = sizeof(devmode);
    if (!EnumDisplaySettingsW(displayName.c_str(), ENUM_CURRENT_SETTINGS, &devmode)) return false;
    mode.width = devmode.dmPelsWidth;
    mode.height = devmode.dmPelsHeight;
    mode.orientation = devmode.dmDisplayOrientation;
    return true;
  }
};

}  // namespace

DisplayPlatform& PlatformDisplays() {
  static Win32Displays displays;
  return displays;
}

}  // namespace environment
