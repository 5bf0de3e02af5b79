#include <gtest/gtest.h>

#include "fake_settings_platform.h"
#include "settings/machine_settings.h"
#include "settings/settings_store.h"

using namespace settings;  // the code under test

namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  void TearDown() override { SettingsStore::Release(); }

  SettingsStore& Build(bool readOnly = false) { return SettingsStore::Get(readOnly, registry, system); }

  FakeRegistry registry;
  FakeVisualisation system;
};

TEST_F(SettingsStoreTest, EmptyRegistryGivesTheDefaults) {
  const SettingsStore& store = Build();
  EXPECT_EQ(store.Text(kSettingDetect), L"1");
  EXPECT_EQ(store.Text(kSettingApiLog), L"0");
  EXPECT_EQ(store.Text(kSettingExecutionInterval), L"16");
  EXPECT_EQ(store.Text(kSettingAudioDelay), L"20");
  EXPECT_EQ(store.Text(kSettingMaxZoom), L"8");
  EXPECT_EQ(store.Text(kSettingDoubleClickZoom), L"5");
  EXPECT_EQ(store.Text(6), L"");
  EXPECT_EQ(store.Text(-1), L"");
}

struct StoredCase {  // one stored machine value and the text it gives
  const wchar_t* name;
  uint32_t stored;
  int32_t key;
  const wchar_t* text;
};

void PrintTo(const StoredCase& c, std::ostream* out) { *out << c.stored; }

class MachineValueTest : public ::testing::TestWithParam<StoredCase> {};

TEST_P(MachineValueTest, StoredValueIsClampedAndFormatted) {
  FakeRegistry registry;
  registry.Put(FakeRegistry::Machine(GetParam().name), GetParam().stored);
  EXPECT_EQ(ReadMachineSettings(registry).at(GetParam().key), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MachineValueTest,
    ::testing::Values(StoredCase{L"AudioDelay", 0, kSettingAudioDelay, L"2"},
                      StoredCase{L"AudioDelay", 500, kSettingAudioDelay, L"160"},
                      StoredCase{L"AudioDelay", 0xFFFFFFFF, kSettingAudioDelay, L"2"},
                      StoredCase{L"AudioDelay", 77, kSettingAudioDelay, L"77"},
                      StoredCase{L"MaxZoom", 0, kSettingMaxZoom, L"1"},
                      StoredCase{L"MaxZoom", 12, kSettingMaxZoom, L"10"},
                      StoredCase{L"MaxZoom", 0xFFFFFFFF, kSettingMaxZoom, L"1"},
                      StoredCase{L"DoubleClickZoom", 0, kSettingDoubleClickZoom, L"1"},
                      StoredCase{L"DoubleClickZoom", 3, kSettingDoubleClickZoom, L"3"},
                      StoredCase{L"ExecutionInterval", 0xFFFFFFFF, kSettingExecutionInterval, L"-1"},
                      StoredCase{L"ExecutionInterval", 0, kSettingExecutionInterval, L"0"},
                      StoredCase{L"ExecutionInterval", 0x80000000, kSettingExecutionInterval, L"-2147483648"},
                      StoredCase{L"ApiLog", 7, kSettingApiLog, L"1"},
                      StoredCase{L"ApiLog", 0xFFFFFFFF, kSettingApiLog, L"1"},
                      StoredCase{L"Detect", 0, kSettingDetect, L"0"},
                      StoredCase{L"Detect", 2, kSettingDetect, L"1"}),
    [](const ::testing::TestParamInfo<StoredCase>& info) {
      std::string name;
      for (const wchar_t* c = info.param.name; *c != 0; ++c) name.push_back(static_cast<char>(*c));
      return name + "_" + std::to_string(info.param.stored);
    });

TEST(MachineSettings, DoubleClickZoomNeverExceedsMaxZoom) {
  FakeRegistry registry;
  registry.Put(FakeRegistry::Machine(L"DoubleClickZoom"), 9);
  registry.Put(FakeRegistry::Machine(L"MaxZoom"), 4);
  EXPECT_EQ(ReadMachineSettings(registry).at(kSettingDoubleClickZoom), L"4");
  // Both clamped before the minimum is taken.
  registry.Put(FakeRegistry::Machine(L"DoubleClickZoom"), 50);
  registry.Put(FakeRegistry::Machine(L"MaxZoom"), 50);
  EXPECT_EQ(ReadMachineSettings(registry).at(kSettingDoubleClickZoom), L"10");
}

TEST(MachineSettings, AreNeverWrittenAndOpenedOnlyForReading) {
  FakeRegistry registry;
  ReadMachineSettings(registry);
  EXPECT_TRUE(registry.writes.empty());
  EXPECT_EQ(registry.machineOpensForWriting, 0);

  MaxZoomSettingData zoom(registry);
  EXPECT_TRUE(zoom.IsReadOnly());
  zoom.Write(3);
  EXPECT_TRUE(zoom.Delete());  // read-only: nothing to do, reported done
  EXPECT_TRUE(registry.writes.empty());
  EXPECT_TRUE(registry.deletes.empty());
}

TEST(MachineSettings, ValueOfAnotherTypeGivesTheDefault) {
  FakeRegistry registry;
  registry.PutText(FakeRegistry::Machine(L"MaxZoom"));
  registry.PutText(FakeRegistry::Machine(L"Detect"));
  const auto texts = ReadMachineSettings(registry);
  EXPECT_EQ(texts.at(kSettingMaxZoom), L"8");
  EXPECT_EQ(texts.at(kSettingDetect), L"1");
}

TEST_F(SettingsStoreTest, PerUserFeedbackIsSavedSwitchedOffAndRestored) {
  system.contact = 1;
  system.gesture = 2;
  Build();
  EXPECT_EQ(registry.Value(FakeRegistry::User(L"ContactVisualization")), 1u);
  EXPECT_EQ(registry.Value(FakeRegistry::User(L"GestureVisualization")), 2u);
  EXPECT_EQ(system.contact, 0u);
  EXPECT_EQ(system.gesture, 0u);

  SettingsStore::Release();
  EXPECT_FALSE(SettingsStore::Exists());
  EXPECT_EQ(system.contact, 1u);
  EXPECT_EQ(system.gesture, 2u);
  EXPECT_FALSE(registry.Value(FakeRegistry::User(L"ContactVisualization")));
  EXPECT_FALSE(registry.Value(FakeRegistry::User(L"GestureVisualization")));
}

TEST_F(SettingsStoreTest, ValueLeftByACrashIsKeptAndRestoredAtTheEnd) {
  // The crashed run had switched the feedback off after saving 1.
  registry.Put(FakeRegistry::User(L"ContactVisualization"), 1);
  system.contact = 0;
  Build();
  EXPECT_EQ(registry.Value(FakeRegistry::User(L"ContactVisualization")), 1u);
  SettingsStore::Release();
  EXPECT_EQ(system.contact, 1u);
  EXPECT_FALSE(registry.Value(FakeRegistry::User(L"ContactVisualization")));
}

TEST_F(SettingsStoreTest, SecondaryModeChangesAndRestoresNothing) {
  system.contact = 1;
  system.gesture = 1;
  registry.Put(FakeRegistry::User(L"GestureVisualization"), 1);  // the other instance's
  const SettingsStore& store = Build(true);
  EXPECT_EQ(store.Text(kSettingMaxZoom), L"8");
  SettingsStore::Get(true, registry, system).OnSettingChange(kContactVisualisationChanged);
  SettingsStore::Release();
  EXPECT_EQ(system.sets, 0);
  EXPECT_EQ(system.contact, 1u);
  EXPECT_TRUE(registry.writes.empty());
  EXPECT_TRUE(registry.deletes.empty());
  EXPECT_EQ(registry.Value(FakeRegistry::User(L"GestureVisualization")), 1u);
  EXPECT_FALSE(registry.Value(FakeRegistry::User(L"ContactVisualization")));
}

TEST_F(SettingsStoreTest, SystemChangeToNonzeroIsSavedAndSwitchedOffAgain) {
  system.contact = 1;
  SettingsStore& store = Build();
  system.contact = 3;  // the user turned the feedback on meanwhile
  store.OnSettingChange(kContactVisualisationChanged);
  EXPECT_EQ(registry.Value(FakeRegistry::User(L"ContactVisualization")), 3u);
  EXPECT_EQ(system.contact, 0u);

  // Off again, or another action, or the other setting: nothing is saved.
  const int setsBefore = system.sets;
  store.OnSettingChange(kContactVisualisationChanged);
  store.OnSettingChange(kGestureVisualisationChanged);
  system.contact = 4;
  store.OnSettingChange(8216);
  store.OnSettingChange(kGestureVisualisationChanged);
  EXPECT_EQ(system.sets, setsBefore);
  EXPECT_EQ(registry.Value(FakeRegistry::User(L"ContactVisualization")), 3u);

  SettingsStore::Release();
  EXPECT_EQ(system.contact, 3u);
}

TEST_F(SettingsStoreTest, GestureChangeConcernsOnlyTheGestureSetting) {
  SettingsStore& store = Build();
  system.gesture = 5;
  system.contact = 6;
  store.OnSettingChange(kGestureVisualisationChanged);
  EXPECT_EQ(registry.Value(FakeRegistry::User(L"GestureVisualization")), 5u);
  EXPECT_EQ(registry.Value(FakeRegistry::User(L"ContactVisualization")), 0u);
  EXPECT_EQ(system.gesture, 0u);
  EXPECT_EQ(system.contact, 6u);
}

TEST_F(SettingsStoreTest, UnavailableFeedbackSavesZeroAndStillCleansUp) {
  system.available = false;  // what Wine answers for these actions
  Build();
  EXPECT_EQ(registry.Value(FakeRegistry::User(L"ContactVisualization")), 0u);
  SettingsStore::Release();
  EXPECT_FALSE(registry.Value(FakeRegistry::User(L"ContactVisualization")));
  EXPECT_FALSE(registry.Value(FakeRegistry::User(L"GestureVisualization")));
}

TEST_F(SettingsStoreTest, GetReturnsTheExistingStore) {
  system.contact = 1;
  SettingsStore& first = Build();
  FakeRegistry other;
  other.Put(FakeRegistry::Machine(L"MaxZoom"), 2);
  SettingsStore& second = SettingsStore::Get(true, other, system);
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(second.Text(kSettingMaxZoom), L"8");  // read once, not again
  EXPECT_TRUE(other.writes.empty());
}

TEST_F(SettingsStoreTest, ReleaseWithoutStoreDoesNothing) {
  SettingsStore::Release();
  SettingsStore::Release();
  EXPECT_FALSE(SettingsStore::Exists());
}

TEST(UserSetting, UnsignedValueKeepsAllThirtyTwoBits) {
  FakeRegistry registry;
  FakeVisualisation system;
  registry.Put(FakeRegistry::User(L"GestureVisualization"), 0xFFFFFFFF);
  GestureSettingData gesture(registry, system, true);
  EXPECT_EQ(gesture.Read(), 0xFFFFFFFFul);
}

}  // namespace
