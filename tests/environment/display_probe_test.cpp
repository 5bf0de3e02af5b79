#include <gtest/gtest.h>

#include <map>

#include "environment/display_probe.h"

using namespace environment;  // the code under test

namespace {

struct FakeAdapter {
  DisplayDeviceEntry adapter;
  std::vector<DisplayDeviceEntry> monitors;
};

class FakeDisplays final : public DisplayPlatform {
 public:
  bool DisplayDevice(const std::wstring* adapter, uint32_t index, DisplayDeviceEntry& entry) override {
    ++deviceCalls;
    if (adapter == nullptr) {
      if (index >= adapters.size()) return false;
      entry = adapters[index].adapter;
      return true;
    }
    for (const FakeAdapter& a : adapters) {
      if (a.adapter.deviceName != *adapter) continue;
      if (index >= a.monitors.size()) return false;
      entry = a.monitors[index];
      return true;
    }
    return false;
  }
  std::vector<MonitorEntry> Monitors() override { return monitors; }
  bool CurrentMode(const std::wstring& name, DisplayModeEntry& mode) override {
    const auto it = modes.find(name);
    if (it == modes.end()) return false;
    mode = it->second;
    return true;
  }

  FakeAdapter& AddAdapter(const std::wstring& name, uint32_t flags) {
    adapters.push_back(FakeAdapter{DisplayDeviceEntry{name, L"PCI\\VEN_0000", flags}, {}});
    return adapters.back();
  }
  static void AddMonitor(FakeAdapter& adapter, const std::wstring& deviceId) {
    adapter.monitors.push_back(DisplayDeviceEntry{adapter.adapter.deviceName + L"\\Monitor", deviceId, 3});
  }

  std::vector<FakeAdapter> adapters;
  std::vector<MonitorEntry> monitors;
  std::map<std::wstring, DisplayModeEntry> modes;
  int deviceCalls = 0;
};

class FakeConnections final : public MonitorConnectionSource {
 public:
  bool Query(std::vector<MonitorConnectionEntry>& out) override {
    if (!works) return false;
    out = entries;
    return true;
  }
  void Add(uint32_t technology, const std::wstring& instanceName) {
    entries.push_back(MonitorConnectionEntry{true, technology, true, instanceName});
  }

  bool works = true;
  std::vector<MonitorConnectionEntry> entries;
};

// Two attached adapters; the built-in panel "BOE0900" hangs on the second.
class DisplayProbeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeAdapter& first = displays.AddAdapter(L"\\\\.\\DISPLAY1", 5);
    FakeDisplays::AddMonitor(first, L"MONITOR\\DEL4123\\{4d36e96e}\\0000");
    FakeAdapter& second = displays.AddAdapter(L"\\\\.\\DISPLAY2", 1);
    FakeDisplays::AddMonitor(second, L"MONITOR\\BOE0900\\{4d36e96e}\\0001");
  }

  FakeDisplays displays;
  FakeConnections connections;
};

TEST_F(DisplayProbeTest, InternalMonitorLeadsToItsAdapter) {
  connections.Add(0x00000005, L"DISPLAY\\DEL4123\\5&1&UID4352_0");
  connections.Add(0x80000000, L"DISPLAY\\BOE0900\\4&2&UID8388688_0");
  std::wstring id;
  ASSERT_TRUE(FindInternalMonitorId(connections, id));
  EXPECT_EQ(id, L"BOE0900");
  std::wstring name = L"old";
  FindInternalDisplayName(connections, displays, name);
  EXPECT_EQ(name, L"\\\\.\\DISPLAY2");
}

TEST_F(DisplayProbeTest, LaterInternalMonitorWins) {
  connections.Add(0x80000000, L"DISPLAY\\DEL4123\\x");
  connections.Add(0x80000000, L"DISPLAY\\BOE0900\\y");
  std::wstring id;
  ASSERT_TRUE(FindInternalMonitorId(connections, id));
  EXPECT_EQ(id, L"BOE0900");
}

TEST_F(DisplayProbeTest, NoInternalMonitorTakesTheFirstAttachedAdapter) {
  connections.Add(0x0000000A, L"DISPLAY\\BOE0900\\y");
  std::wstring id = L"stale";
  ASSERT_TRUE(FindInternalMonitorId(connections, id));
  EXPECT_EQ(id, L"");
  std::wstring name;
  FindInternalDisplayName(connections, displays, name);
  EXPECT_EQ(name, L"\\\\.\\DISPLAY1");
}

TEST_F(DisplayProbeTest, InstanceNameWithoutBackslashGivesAnEmptyId) {
  connections.Add(0x80000000, L"DISPLAY\\BOE0900\\y");
  connections.Add(0x80000000, L"BOE0900");
  std::wstring id = L"stale";
  ASSERT_TRUE(FindInternalMonitorId(connections, id));
  EXPECT_EQ(id, L"");
  std::wstring name;
  FindInternalDisplayName(connections, displays, name);
  EXPECT_EQ(name, L"\\\\.\\DISPLAY1");
}

TEST_F(DisplayProbeTest, MissingPropertiesAreHandled) {
  connections.entries.push_back(MonitorConnectionEntry{false, 0, true, L"DISPLAY\\DEL4123\\x"});
  connections.entries.push_back(MonitorConnectionEntry{true, 0x80000000, false, L""});
  std::wstring id = L"stale";
  ASSERT_TRUE(FindInternalMonitorId(connections, id));
  EXPECT_EQ(id, L"");
}

TEST_F(DisplayProbeTest, FailedQueryStillFindsTheFirstAttachedDisplay) {
  connections.works = false;
  std::wstring id = L"kept";
  EXPECT_FALSE(FindInternalMonitorId(connections, id));
  EXPECT_EQ(id, L"kept");
  std::wstring name = L"old";
  FindInternalDisplayName(connections, displays, name);
  EXPECT_EQ(name, L"\\\\.\\DISPLAY1");
}

TEST_F(DisplayProbeTest, DetachedAdaptersAreSkipped) {
  displays.adapters[0].adapter.stateFlags = 0;
  std::wstring name;
  ASSERT_TRUE(FindDisplayForMonitor(displays, L"", name));
  EXPECT_EQ(name, L"\\\\.\\DISPLAY2");
  EXPECT_FALSE(FindDisplayForMonitor(displays, L"NOSUCH", name));
  EXPECT_EQ(name, L"\\\\.\\DISPLAY2");
}

TEST_F(DisplayProbeTest, NoDisplayGivesAnEmptyName) {
  FakeDisplays none;
  std::wstring name = L"old";
  FindInternalDisplayName(connections, none, name);
  EXPECT_EQ(name, L"");
}

TEST_F(DisplayProbeTest, AdapterWalkStopsAfterSixteen) {
  FakeDisplays many;
  for (int i = 0; i < 20; ++i) many.AddAdapter(L"\\\\.\\DISPLAY" + std::to_wstring(i + 1), 0);
  FakeDisplays::AddMonitor(many.adapters[17], L"x");
  many.adapters[17].adapter.stateFlags = 1;
  std::wstring name;
  EXPECT_FALSE(FindDisplayForMonitor(many, L"", name));
  EXPECT_EQ(many.deviceCalls, 16);
}

TEST(MonitorProbes, SubstringRuleForMonitorNames) {
  FakeDisplays displays;
  displays.monitors = {
      MonitorEntry{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 1, L"\\\\.\\DISPLAY1"},
      MonitorEntry{{1920, 0, 4480, 1600}, {1920, 0, 4480, 1560}, 0, L"\\\\.\\DISPLAY10"},
      MonitorEntry{{-800, 0, 0, 600}, {-800, 0, 0, 560}, 0, L"\\\\.\\DISPLAY3"},
  };
  DisplayRect rect;
  // The monitor's device name only has to occur within the display name.
  ASSERT_TRUE(GetMonitorRect(displays, L"\\\\.\\DISPLAY3\\Monitor0", rect));
  EXPECT_EQ(rect, (DisplayRect{-800, 0, 0, 600}));
  ASSERT_TRUE(GetWorkArea(displays, L"\\\\.\\DISPLAY3\\Monitor0", rect));
  EXPECT_EQ(rect, (DisplayRect{-800, 0, 0, 560}));
  // An exact name is preferred over a shorter one that also occurs in it.
  ASSERT_TRUE(GetMonitorRect(displays, L"\\\\.\\DISPLAY10", rect));
  EXPECT_EQ(rect, (DisplayRect{1920, 0, 4480, 1600}));
  ASSERT_TRUE(GetWorkArea(displays, L"\\\\.\\DISPLAY1", rect));
  EXPECT_EQ(rect, (DisplayRect{0, 0, 1920, 1040}));
  // Without a match or without a name the output stays as it was.
  const DisplayRect before = rect;
  EXPECT_FALSE(GetMonitorRect(displays, L"\\\\.\\DISPLAY2", rect));
  EXPECT_FALSE(GetWorkArea(displays, L"", rect));
  EXPECT_FALSE(GetMonitorRect(displays, L"", rect));
  EXPECT_EQ(rect, before);
}

TEST(ModeProbes, OrientationGivesTheAngle) {
  FakeDisplays displays;
  const std::wstring name = L"\\\\.\\DISPLAY1";
  const std::pair<uint32_t, int32_t> cases[] = {{0, 0}, {1, 270}, {2, 180}, {3, 90}};
  for (const auto& [orientation, expected] : cases) {
    displays.modes[name] = DisplayModeEntry{2560, 1600, orientation};
    int32_t angle = -1;
    ASSERT_TRUE(GetDisplayAngle(displays, name, angle));
    EXPECT_EQ(angle, expected) << orientation;
  }
  displays.modes[name] = DisplayModeEntry{2560, 1600, 4};
  int32_t angle = 42;
  EXPECT_FALSE(GetDisplayAngle(displays, name, angle));
  EXPECT_EQ(angle, 42);
}

TEST(ModeProbes, PortraitModeReportsSwappedSizeAndAngle270) {
  FakeDisplays displays;
  const std::wstring name = L"\\\\.\\DISPLAY1";
  displays.modes[name] = DisplayModeEntry{1600, 2560, 1};
  DisplayModeSize size;
  ASSERT_TRUE(GetDisplayModeSize(displays, name, size));
  EXPECT_EQ(size.width, 1600);
  EXPECT_EQ(size.height, 2560);
  int32_t angle = 0;
  ASSERT_TRUE(GetDisplayAngle(displays, name, angle));
  EXPECT_EQ(angle, 270);
}

TEST(ModeProbes, MissingOrEmptyNameFailsAndKeepsTheValues) {
  FakeDisplays displays;
  displays.modes[L""] = DisplayModeEntry{800, 600, 0};  // what an empty name would pick
  DisplayModeSize size{11, 22};
  int32_t angle = 90;
  EXPECT_FALSE(GetDisplayModeSize(displays, L"", size));
  EXPECT_FALSE(GetDisplayAngle(displays, L"", angle));
  EXPECT_FALSE(GetDisplayModeSize(displays, L"\\\\.\\DISPLAY9", size));
  EXPECT_EQ(size.width, 11);
  EXPECT_EQ(size.height, 22);
  EXPECT_EQ(angle, 90);
}

}  // namespace
