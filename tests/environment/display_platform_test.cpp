// The display probes on the real platform: they must agree with what the
// platform itself reports for its screen.
#include <gtest/gtest.h>
#include <windows.h>

#include "environment/display_probe.h"

using namespace environment;  // the code under test

namespace {

std::wstring FirstAttachedAdapter() {
  for (DWORD i = 0;; ++i) {
    DISPLAY_DEVICEW device{};
    device.cb = sizeof(device);
    if (!EnumDisplayDevicesW(nullptr, i, &device, 0)) return std::wstring();
    if (device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) return device.DeviceName;
  }
}

TEST(DisplayPlatform, MonitorQuerySucceedsAndCanBeRepeated) {
  // The second run meets a process-wide security set-up already made.
  for (int run = 0; run < 2; ++run) {
    std::wstring id = L"unset";
    EXPECT_TRUE(FindInternalMonitorId(PlatformMonitorConnections(), id)) << run;
  }
}

TEST(DisplayPlatform, FindsTheFirstAttachedDisplay) {
  std::wstring name;
  FindInternalDisplayName(name);
  ASSERT_FALSE(name.empty());
  std::wstring id;
  ASSERT_TRUE(FindInternalMonitorId(PlatformMonitorConnections(), id));
  if (id.empty()) {
    EXPECT_EQ(name, FirstAttachedAdapter());
  }
}

TEST(DisplayPlatform, ProbesMatchThePlatformsOwnAnswers) {
  std::wstring name;
  FindInternalDisplayName(name);
  ASSERT_FALSE(name.empty());

  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  ASSERT_TRUE(EnumDisplaySettingsW(name.c_str(), ENUM_CURRENT_SETTINGS, &mode));
  DisplayModeSize size;
  ASSERT_TRUE(GetDisplayModeSize(name, size));
  EXPECT_EQ(size.width, static_cast<int32_t>(mode.dmPelsWidth));
  EXPECT_EQ(size.height, static_cast<int32_t>(mode.dmPelsHeight));

  int32_t angle = -1;
  ASSERT_TRUE(GetDisplayAngle(name, angle));
  const int32_t expectedAngle[] = {0, 270, 180, 90};
  ASSERT_LT(mode.dmDisplayOrientation, 4u);
  EXPECT_EQ(angle, expectedAngle[mode.dmDisplayOrientation]);

  // The display's monitor, found the platform's way: by its position.
  const POINT origin{mode.dmPosition.x, mode.dmPosition.y};
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(origin, MONITOR_DEFAULTTONULL), &info));
  DisplayRect rect;
  ASSERT_TRUE(GetMonitorRect(name, rect));
  EXPECT_EQ(rect, (DisplayRect{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                               info.rcMonitor.bottom}));
  EXPECT_EQ(rect.right - rect.left, size.width);
  EXPECT_EQ(rect.bottom - rect.top, size.height);
  ASSERT_TRUE(GetWorkArea(name, rect));
  EXPECT_EQ(rect, (DisplayRect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom}));

  if (info.dwFlags & MONITORINFOF_PRIMARY) {
    EXPECT_EQ(size.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(size.height, GetSystemMetrics(SM_CYSCREEN));
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(rect, (DisplayRect{work.left, work.top, work.right, work.bottom}));
  }
}

TEST(DisplayPlatform, UnknownDisplayFails) {
  DisplayRect rect{1, 2, 3, 4};
  DisplayModeSize size{5, 6};
  int32_t angle = 7;
  const std::wstring unknown = L"\\\\.\\NODISPLAY";
  EXPECT_FALSE(GetMonitorRect(unknown, rect));
  EXPECT_FALSE(GetWorkArea(unknown, rect));
  EXPECT_FALSE(GetDisplayModeSize(unknown, size));
  EXPECT_FALSE(GetDisplayAngle(unknown, angle));
  EXPECT_EQ(rect, (DisplayRect{1, 2, 3, 4}));
  EXPECT_EQ(size.width, 5);
  EXPECT_EQ(angle, 7);
  EXPECT_FALSE(GetDisplayModeSize(L"", size));
}

}  // namespace
