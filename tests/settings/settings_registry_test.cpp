// The settings on the real registry and the real feedback switches.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/win32/unique_handle.h"
#include "settings/machine_settings.h"
#include "settings/settings_store.h"

using namespace settings;  // the code under test

namespace {

constexpr const wchar_t* kKey = L"Software\\Velmora\\Tavrin";
constexpr const wchar_t* kMachineNames[] = {L"Detect",     L"ApiLog",  L"ExecutionInterval",
                                            L"AudioDelay", L"MaxZoom", L"DoubleClickZoom"};
constexpr const wchar_t* kUserNames[] = {L"ContactVisualization", L"GestureVisualization"};

bool ValueExists(HKEY root, const wchar_t* name) {
  return RegGetValueW(root, kKey, name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void PutRaw(HKEY root, const wchar_t* name, DWORD type, const void* data, DWORD size) {
  ASSERT_EQ(RegSetKeyValueW(root, kKey, name, type, data, size), ERROR_SUCCESS);
}

void PutDword(HKEY root, const wchar_t* name, DWORD value) {
  PutRaw(root, name, REG_DWORD, &value, sizeof(value));
}

// Removes a key this test may have created, but only when nothing is in it.
void RemoveIfEmpty(HKEY root, const wchar_t* path) {
  DWORD subkeys = 1, values = 1;
  LSTATUS status = ERROR_SUCCESS;
  {
    win32::UniqueKey key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
    status = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                              nullptr, nullptr, nullptr, nullptr);
  }
  if (status == ERROR_SUCCESS && subkeys == 0 && values == 0) RegDeleteKeyW(root, path);
}

class SettingsRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { CleanUp(); }
  void TearDown() override {
    SettingsStore::Release();
    CleanUp();
  }
  static void CleanUp() {
    for (const wchar_t* name : kMachineNames) RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kKey, name);
    for (const wchar_t* name : kUserNames) RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, name);
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      RemoveIfEmpty(root, kKey);
      RemoveIfEmpty(root, L"Software\\Velmora");
    }
  }
};

TEST_F(SettingsRegistryTest, EmptyRegistryGivesTheDefaults) {
  const auto texts = ReadMachineSettings(PlatformRegistry());
  EXPECT_EQ(texts.at(kSettingDetect), L"1");
  EXPECT_EQ(texts.at(kSettingApiLog), L"0");
  EXPECT_EQ(texts.at(kSettingExecutionInterval), L"16");
  EXPECT_EQ(texts.at(kSettingAudioDelay), L"20");
  EXPECT_EQ(texts.at(kSettingMaxZoom), L"8");
  EXPECT_EQ(texts.at(kSettingDoubleClickZoom), L"5");
  // Reading creates no value.
  for (const wchar_t* name : kMachineNames) EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, name));
}

TEST_F(SettingsRegistryTest, StoredMachineValuesAreClampedAndFormatted) {
  PutDword(HKEY_LOCAL_MACHINE, L"Detect", 0);
  PutDword(HKEY_LOCAL_MACHINE, L"ApiLog", 7);
  PutDword(HKEY_LOCAL_MACHINE, L"ExecutionInterval", 0xFFFFFFFF);
  PutDword(HKEY_LOCAL_MACHINE, L"AudioDelay", 500);
  PutDword(HKEY_LOCAL_MACHINE, L"MaxZoom", 4);
  PutDword(HKEY_LOCAL_MACHINE, L"DoubleClickZoom", 9);
  const auto texts = ReadMachineSettings(PlatformRegistry());
  EXPECT_EQ(texts.at(kSettingDetect), L"0");
  EXPECT_EQ(texts.at(kSettingApiLog), L"1");
  EXPECT_EQ(texts.at(kSettingExecutionInterval), L"-1");
  EXPECT_EQ(texts.at(kSettingAudioDelay), L"160");
  EXPECT_EQ(texts.at(kSettingMaxZoom), L"4");
  EXPECT_EQ(texts.at(kSettingDoubleClickZoom), L"4");

  PutDword(HKEY_LOCAL_MACHINE, L"AudioDelay", 0xFFFFFFFF);
  PutDword(HKEY_LOCAL_MACHINE, L"MaxZoom", 12);
  EXPECT_EQ(AudioDelaySettingData(PlatformRegistry()).Read(), 2);
  EXPECT_EQ(MaxZoomSettingData(PlatformRegistry()).Read(), 10);
}

TEST_F(SettingsRegistryTest, ValuesOfWrongTypeOrSizeGiveTheDefault) {
  const wchar_t text[] = L"9";
  PutRaw(HKEY_LOCAL_MACHINE, L"MaxZoom", REG_SZ, text, sizeof(text));
  const unsigned char twoBytes[2] = {9, 0};
  PutRaw(HKEY_LOCAL_MACHINE, L"AudioDelay", REG_BINARY, twoBytes, sizeof(twoBytes));
  PutRaw(HKEY_LOCAL_MACHINE, L"Detect", REG_DWORD, twoBytes, sizeof(twoBytes));
  const unsigned long long eightBytes = 3;
  PutRaw(HKEY_LOCAL_MACHINE, L"DoubleClickZoom", REG_QWORD, &eightBytes, sizeof(eightBytes));
  const unsigned char sixBytes[6] = {3, 0, 0, 0, 7, 7};
  PutRaw(HKEY_LOCAL_MACHINE, L"ExecutionInterval", REG_DWORD, sixBytes, sizeof(sixBytes));
  const auto texts = ReadMachineSettings(PlatformRegistry());
  EXPECT_EQ(texts.at(kSettingMaxZoom), L"8");
  EXPECT_EQ(texts.at(kSettingAudioDelay), L"20");
  EXPECT_EQ(texts.at(kSettingDetect), L"1");
  EXPECT_EQ(texts.at(kSettingDoubleClickZoom), L"5");
  EXPECT_EQ(texts.at(kSettingExecutionInterval), L"16");
}

TEST_F(SettingsRegistryTest, PerUserValuesExistOnlyWhileTheStoreLives) {
  SettingsStore& store = SettingsStore::Get(false);
  EXPECT_EQ(store.Text(kSettingMaxZoom), L"8");
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, L"ContactVisualization"));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, L"GestureVisualization"));
  store.OnSettingChange(kContactVisualisationChanged);
  SettingsStore::Release();
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, L"ContactVisualization"));
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, L"GestureVisualization"));
}

TEST_F(SettingsRegistryTest, ValueLeftByACrashIsKeptUntilTheEnd) {
  PutDword(HKEY_CURRENT_USER, L"ContactVisualization", 1);
  SettingsStore::Get(false);
  DWORD kept = 0;
  DWORD size = sizeof(kept);
  EXPECT_EQ(
      RegGetValueW(HKEY_CURRENT_USER, kKey, L"ContactVisualization", RRF_RT_REG_DWORD, nullptr, &kept, &size),
      ERROR_SUCCESS);
  EXPECT_EQ(kept, 1u);
  SettingsStore::Release();
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, L"ContactVisualization"));
}

TEST_F(SettingsRegistryTest, SecondaryModeLeavesTheUserValuesAlone) {
  PutDword(HKEY_CURRENT_USER, L"GestureVisualization", 1);
  SettingsStore::Get(true);
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, L"ContactVisualization"));
  SettingsStore::Release();
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, L"GestureVisualization"));
}

TEST(SystemVisualisation, FailedReadLeavesTheValue) {
  for (Visualisation which : {Visualisation::Contact, Visualisation::Gesture}) {
    unsigned long value = 77;
    if (!PlatformVisualisation().Get(which, value)) {
      EXPECT_EQ(value, 77ul);
    } else {
      EXPECT_LE(value, 0xFFFFFFFFul);
    }
  }
}

}  // namespace
