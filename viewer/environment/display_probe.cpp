#include "environment/display_probe.h"

#include <vector>

namespace environment {

namespace {

constexpr uint32_t kInternalConnection = 0x80000000u;
constexpr uint32_t kMaxAdapters = 16;

// The piece after the first backslash, up to the next one; empty without one.
std::wstring SecondPiece(const std::wstring& instanceName) {
  const size_t first = instanceName.find(L'\\');
  if (first == std::wstring::npos) return std::wstring();
  const size_t second = instanceName.find(L'\\', first + 1);
  return instanceName.substr(first + 1,
                             second == std::wstring::npos ? std::wstring::npos : second - first - 1);
}

// The monitor whose device name occurs within the display name; an exact
// match wins, so that "\\.\DISPLAY1" is not taken for "\\.\DISPLAY10".
const MonitorEntry* MatchingMonitor(const std::vector<MonitorEntry>& monitors, const std::wstring& name) {
  for (const MonitorEntry& monitor : monitors) {
    if (monitor.deviceName == name) return &monitor;
  }
  for (const MonitorEntry& monitor : monitors) {
    if (name.find(monitor.deviceName) != std::wstring::npos) return &monitor;
  }
  return nullptr;
}

bool CurrentMode(DisplayPlatform& displays, const std::wstring& name, DisplayModeEntry& mode) {
  // An empty name would select the primary display: it means no display.
  return !name.empty() && displays.CurrentMode(name, mode);
}

}  // namespace

bool FindInternalMonitorId(MonitorConnectionSource& source, std::wstring& id) {
  std::vector<MonitorConnectionEntry> connections;
  if (!source.Query(connections)) return false;
  std::wstring found;
  for (const MonitorConnectionEntry& connection : connections) {
    if (!connection.hasVideoOutputTechnology ||
        (connection.videoOutputTechnology & kInternalConnection) == 0) {
      continue;
    }
    found = SecondPiece(connection.hasInstanceName ? connection.instanceName : std::wstring());
  }
  id = found;
  return true;
}

bool FindDisplayForMonitor(DisplayPlatform& displays, const std::wstring& id, std::wstring& name) {
  for (uint32_t adapterIndex = 0; adapterIndex < kMaxAdapters; ++adapterIndex) {
    DisplayDeviceEntry adapter;
    if (!displays.DisplayDevice(nullptr, adapterIndex, adapter)) return false;
    if ((adapter.stateFlags & kDisplayAttachedToDesktop) == 0) continue;
    DisplayDeviceEntry monitor;
    for (uint32_t monitorIndex = 0; displays.DisplayDevice(&adapter.deviceName, monitorIndex, monitor);
         ++monitorIndex) {
      if (monitor.deviceId.find(id) != std::wstring::npos) {
        name = adapter.deviceName;
        return true;
      }
    }
  }
  return false;
}

void FindInternalDisplayName(MonitorConnectionSource& source, DisplayPlatform& displays, std::wstring& name) {
  name.clear();
  std::wstring id;
  // Without an answer from the service, take the first attached display
  // as for an answer without an internal monitor, instead of none at all.
  if (!FindInternalMonitorId(source, id)) id.clear();
  std::wstring found;
  if (FindDisplayForMonitor(displays, id, found)) name = found;
}

bool GetMonitorRect(DisplayPlatform& displays, const std::wstring& name, DisplayRect& rect) {
  if (name.empty()) return false;
  const std::vector<MonitorEntry> monitors = displays.Monitors();
  const MonitorEntry* monitor = MatchingMonitor(monitors, name);
  if (monitor == nullptr) return false;
  rect = monitor->monitor;
  return true;
}

bool GetWorkArea(DisplayPlatform& displays, const std::wstring& name, DisplayRect& rect) {
  if (name.empty()) return false;
  const std::vector<MonitorEntry> monitors = displays.Monitors();
  const MonitorEntry* monitor = MatchingMonitor(monitors, name);
  if (monitor == nullptr) return false;
  rect = monitor->workArea;
  return true;
}

bool GetDisplayAngle(DisplayPlatform& displays, const std::wstring& name, int32_t& angle) {
  DisplayModeEntry mode;
  if (!CurrentMode(displays, name, mode)) return false;
  switch (mode.orientation) {
    case 0:
      angle = 0;
      return true;
    case 1:
      angle = 270;
      return true;
    case 2:
      angle = 180;
      return true;
    case 3:
      angle = 90;
      return true;
    default:
      return false;
  }
}

bool GetDisplayModeSize(DisplayPlatform& displays, const std::wstring& name, DisplayModeSize& size) {
  DisplayModeEntry mode;
  if (!CurrentMode(displays, name, mode)) return false;
  size.width = static_cast<int32_t>(mode.width);
  size.height = static_cast<int32_t>(mode.height);
  return true;
}

void FindInternalDisplayName(std::wstring& name) {
  FindInternalDisplayName(PlatformMonitorConnections(), PlatformDisplays(), name);
}

bool GetMonitorRect(const std::wstring& name, DisplayRect& rect) {
  return GetMonitorRect(PlatformDisplays(), name, rect);
}

bool GetWorkArea(const std::wstring& name, DisplayRect& rect) {
  return GetWorkArea(PlatformDisplays(), name, rect);
}

bool GetDisplayAngle(const std::wstring& name, int32_t& angle) {
  return GetDisplayAngle(PlatformDisplays(), name, angle);
}

bool GetDisplayModeSize(const std::wstring& name, DisplayModeSize& size) {
  return GetDisplayModeSize(PlatformDisplays(), name, size);
}

}  // namespace environment
