#pragma once
// The process-wide settings: the two per-user feedback settings, kept alive
// while the program runs, and the six machine settings as decimal texts.
#include <cstdint>
#include <map>
#include <string>

#include "settings/registry_access.h"
#include "settings/system_visualisation.h"
#include "settings/visualisation_settings.h"

namespace settings {

// Keys of the settings map.
enum SettingKey : int32_t {
  kSettingDetect = 0,
  kSettingApiLog = 1,
  kSettingExecutionInterval = 2,
  kSettingAudioDelay = 3,
  kSettingMaxZoom = 4,
  kSettingDoubleClickZoom = 5,
};

// Setting-change actions that concern the per-user settings.
inline constexpr uint32_t kContactVisualisationChanged = 8217;
inline constexpr uint32_t kGestureVisualisationChanged = 8219;

class SettingsStore {
 public:
  // The existing store, else a new one on the platform's registry and
  // feedback switches. readOnly (secondary instance) leaves the per-user
  // feedback alone; it only matters when the store is built.
  static SettingsStore& Get(bool readOnly);
  // The same on the given registry and switches (used when building).
  static SettingsStore& Get(bool readOnly, RegistryAccess& registry, SystemVisualisation& system);
  // Restores the per-user feedback and frees the store (no-op without one).
  static void Release();
  static bool Exists();

  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;
  ~SettingsStore();

  // A copy of the map entry; empty for a missing key.
  std::wstring Text(int32_t key) const;
  // The whole map, as the views are given it.
  const std::map<int32_t, std::wstring>& Texts() const { return texts_; }
  // A system setting changed (action of the change notification).
  void OnSettingChange(uint32_t action);

  SettingsStore(bool readOnly, RegistryAccess& registry, SystemVisualisation& system);

 private:
  GestureSettingData gesture_;
  ContactSettingData contact_;
  std::map<int32_t, std::wstring> texts_;
};

// The six machine settings as map texts, read from registry once.
std::map<int32_t, std::wstring> ReadMachineSettings(RegistryAccess& registry);

}  // namespace settings
