#pragma once
// Which display is the built-in panel, and how it is set up. A probe that
// fails leaves its output untouched.
#include <string>

#include "environment/display_platform.h"
#include "environment/wmi_monitor_connections.h"

namespace environment {

// The id (second piece of the instance name) of the last monitor connected
// internally; empty when none is. false when the query failed.
bool FindInternalMonitorId(MonitorConnectionSource& source, std::wstring& id);
// The GDI name of the first attached adapter with a monitor whose device id
// contains id.
bool FindDisplayForMonitor(DisplayPlatform& displays, const std::wstring& id, std::wstring& name);
// The GDI name of the built-in display; empty when none is found. A failed
// query counts as "no internal monitor", so the first attached display is
// taken then.
void FindInternalDisplayName(MonitorConnectionSource& source, DisplayPlatform& displays, std::wstring& name);

bool GetMonitorRect(DisplayPlatform& displays, const std::wstring& name, DisplayRect& rect);
bool GetWorkArea(DisplayPlatform& displays, const std::wstring& name, DisplayRect& rect);
// Angle by which the panel's picture is turned: 0, 90, 180 or 270.
bool GetDisplayAngle(DisplayPlatform& displays, const std::wstring& name, int32_t& angle);
bool GetDisplayModeSize(DisplayPlatform& displays, const std::wstring& name, DisplayModeSize& size);

// The same on the platform's displays and management service.
void FindInternalDisplayName(std::wstring& name);
bool GetMonitorRect(const std::wstring& name, DisplayRect& rect);
bool GetWorkArea(const std::wstring& name, DisplayRect& rect);
bool GetDisplayAngle(const std::wstring& name, int32_t& angle);
bool GetDisplayModeSize(const std::wstring& name, DisplayModeSize& size);

}  // namespace environment
