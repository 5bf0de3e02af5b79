#pragma once
// The six machine-wide settings under HKEY_LOCAL_MACHINE; always read-only.
#include "settings/abs_setting_data.h"

namespace settings {

// A machine setting: no system effect, its initial value is the default.
template <typename T>
class MachineSettingData : public AbsSettingData<T> {
 public:
  T InitialValue() override { return this->Default(); }
  bool Apply(T) override { return true; }

 protected:
  MachineSettingData(RegistryAccess& registry, T defaultValue, const wchar_t* valueName)
      : AbsSettingData<T>(registry, defaultValue, RegistryRoot::LocalMachine, valueName, true) {}
};

class DetectSettingData final : public MachineSettingData<_DETECT_STATE> {
 public:
  explicit DetectSettingData(RegistryAccess& registry) : MachineSettingData(registry, DETECT_ON, L"Detect") {}
};

class ApiLogSettingData final : public MachineSettingData<_API_LOG_STATE> {
 public:
  explicit ApiLogSettingData(RegistryAccess& registry)
      : MachineSettingData(registry, API_LOG_OFF, L"ApiLog") {}
};

class ExecutionIntervalSettingData final : public MachineSettingData<long> {
 public:
  explicit ExecutionIntervalSettingData(RegistryAccess& registry)
      : MachineSettingData(registry, 16, L"ExecutionInterval") {}
};

class AudioDelaySettingData final : public MachineSettingData<long> {
 public:
  explicit AudioDelaySettingData(RegistryAccess& registry)
      : MachineSettingData(registry, 20, L"AudioDelay") {}
  long Read() override;  // 2 to 160
};

class MaxZoomSettingData final : public MachineSettingData<long> {
 public:
  explicit MaxZoomSettingData(RegistryAccess& registry) : MachineSettingData(registry, 8, L"MaxZoom") {}
  long Read() override;  // 1 to 10
};

class DoubleClickZoomSettingData final : public MachineSettingData<long> {
 public:
  explicit DoubleClickZoomSettingData(RegistryAccess& registry)
      : MachineSettingData(registry, 5, L"DoubleClickZoom") {}
  long Read() override;  // 1 to 10
};

}  // namespace settings
