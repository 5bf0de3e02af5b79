#pragma once
// One registry-backed setting: a REG_DWORD below Software\Velmora\Tavrin
// (the registry access reads only REG_DWORD values of four bytes).
#include <cstdint>
#include <type_traits>

#include "settings/registry_access.h"
#include "settings/setting_states.h"

namespace settings {

inline constexpr const wchar_t* kSettingsKeyPath = L"Software\\Velmora";
inline constexpr const wchar_t* kSettingsSubkey = L"Tavrin";

template <typename T>
class AbsSettingData {
  static_assert(std::is_integral_v<T> || std::is_enum_v<T>, "settings hold 32-bit numbers");

 public:
  AbsSettingData(const AbsSettingData&) = delete;
  AbsSettingData& operator=(const AbsSettingData&) = delete;
  virtual ~AbsSettingData() = default;

  // The stored value, or the default when it cannot be read.
  virtual T Read();
  // The value to store when the registry has none.
  virtual T InitialValue() = 0;
  // Puts a value into effect.
  virtual bool Apply(T value) = 0;

  bool Exists();
  void Write(T value);
  bool Delete();

  bool IsReadOnly() const { return readOnly_ != 0; }
  T Default() const { return defaultValue_; }

 protected:
  AbsSettingData(RegistryAccess& registry, T defaultValue, RegistryRoot root, const wchar_t* valueName,
                 bool readOnly);

  // A stored DWORD taken as a signed 32-bit number (unsigned for unsigned T).
  static T FromDword(uint32_t stored);
  static uint32_t ToDword(T value);

 private:
  RegistryAccess& registry_;
  T defaultValue_;
  RegistryRoot root_;
  const wchar_t* keyPath_ = kSettingsKeyPath;
  const wchar_t* subkey_ = kSettingsSubkey;
  const wchar_t* valueName_;
  int32_t readOnly_;
};

extern template class AbsSettingData<long>;
extern template class AbsSettingData<unsigned long>;
extern template class AbsSettingData<_API_LOG_STATE>;
extern template class AbsSettingData<_DETECT_STATE>;

}  // namespace settings
