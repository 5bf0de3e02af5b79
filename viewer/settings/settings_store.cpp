#include "settings/settings_store.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "settings/machine_settings.h"
#include "settings/setting_text.h"

namespace settings {

namespace {

// Reads one machine setting the way the store does: a missing value would
// be given its initial value, which the read-only setting never writes.
template <typename Setting>
auto ReadSetting(RegistryAccess& registry) {
  Setting setting(registry);
  if (!setting.Exists()) setting.Write(setting.InitialValue());
  return setting.Read();
}

struct StoreSlot {
  std::mutex lock;
  std::unique_ptr<SettingsStore> store;
};

StoreSlot& Slot() {
  static StoreSlot slot;
  return slot;
}

}  // namespace

std::map<int32_t, std::wstring> ReadMachineSettings(RegistryAccess& registry) {
  std::map<int32_t, std::wstring> texts;
  const _DETECT_STATE detect = ReadSetting<DetectSettingData>(registry);
  texts[kSettingDetect] = DecimalText(detect != 0 ? 1 : 0);
  const _API_LOG_STATE apiLog = ReadSetting<ApiLogSettingData>(registry);
  texts[kSettingApiLog] = DecimalText(apiLog != 0 ? 1 : 0);
  texts[kSettingExecutionInterval] = DecimalText(ReadSetting<ExecutionIntervalSettingData>(registry));
  texts[kSettingAudioDelay] = DecimalText(ReadSetting<AudioDelaySettingData>(registry));
  const long maxZoom = ReadSetting<MaxZoomSettingData>(registry);
  texts[kSettingMaxZoom] = DecimalText(maxZoom);
  const long doubleClickZoom = ReadSetting<DoubleClickZoomSettingData>(registry);
  texts[kSettingDoubleClickZoom] = DecimalText(std::min(doubleClickZoom, maxZoom));
  return texts;
}

SettingsStore::SettingsStore(bool readOnly, RegistryAccess& registry, SystemVisualisation& system)
    : gesture_(registry, system, readOnly),
      contact_(registry, system, readOnly),
      texts_(ReadMachineSettings(registry)) {}

// Members go in reverse order: the map, the contact and then the gesture
// setting, whose destructors restore the user's feedback.
SettingsStore::~SettingsStore() = default;

SettingsStore& SettingsStore::Get(bool readOnly) {
  return Get(readOnly, PlatformRegistry(), PlatformVisualisation());
}

SettingsStore& SettingsStore::Get(bool readOnly, RegistryAccess& registry, SystemVisualisation& system) {
  StoreSlot& slot = Slot();
  std::lock_guard<std::mutex> guard(slot.lock);
  if (!slot.store) slot.store = std::make_unique<SettingsStore>(readOnly, registry, system);
  return *slot.store;
}

void SettingsStore::Release() {
  std::unique_ptr<SettingsStore> released;
  {
    StoreSlot& slot = Slot();
    std::lock_guard<std::mutex> guard(slot.lock);
    released = std::move(slot.store);
  }
}

bool SettingsStore::Exists() {
  StoreSlot& slot = Slot();
  std::lock_guard<std::mutex> guard(slot.lock);
  return slot.store != nullptr;
}

std::wstring SettingsStore::Text(int32_t key) const {
  const auto entry = texts_.find(key);
  return entry == texts_.end() ? std::wstring() : entry->second;
}

void SettingsStore::OnSettingChange(uint32_t action) {
  if (action == kContactVisualisationChanged) {
    contact_.OnSystemChange();
  } else if (action == kGestureVisualisationChanged) {
    gesture_.OnSystemChange();
  }
}

}  // namespace settings
