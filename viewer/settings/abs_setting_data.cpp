#include "settings/abs_setting_data.h"

namespace settings {

template <typename T>
AbsSettingData<T>::AbsSettingData(RegistryAccess& registry, T defaultValue, RegistryRoot root,
                                  const wchar_t* valueName, bool readOnly)
    : registry_(registry),
      defaultValue_(defaultValue),
      root_(root),
      valueName_(valueName),
      readOnly_(readOnly ? 1 : 0) {}

template <typename T>
T AbsSettingData<T>::FromDword(uint32_t stored) {
  if constexpr (std::is_enum_v<T>) {
    return static_cast<T>(static_cast<int32_t>(stored));
  } else if constexpr (std::is_signed_v<T>) {
    return static_cast<T>(static_cast<int32_t>(stored));
  } else {
    return static_cast<T>(stored);
  }
}

template <typename T>
uint32_t AbsSettingData<T>::ToDword(T value) {
  return static_cast<uint32_t>(value);
}

template <typename T>
T AbsSettingData<T>::Read() {
  uint32_t stored = ToDword(defaultValue_);
  registry_.ReadDword(root_, keyPath_, subkey_, valueName_, IsReadOnly(), stored);
  return FromDword(stored);
}

template <typename T>
bool AbsSettingData<T>::Exists() {
  return registry_.DwordExists(root_, keyPath_, subkey_, valueName_, IsReadOnly());
}

template <typename T>
void AbsSettingData<T>::Write(T value) {
  if (IsReadOnly()) return;
  registry_.WriteDword(root_, keyPath_, subkey_, valueName_, ToDword(value));
}

template <typename T>
bool AbsSettingData<T>::Delete() {
  if (IsReadOnly()) return true;
  return registry_.DeleteValue(root_, keyPath_, subkey_, valueName_);
}

template class AbsSettingData<long>;
template class AbsSettingData<unsigned long>;
template class AbsSettingData<_API_LOG_STATE>;
template class AbsSettingData<_DETECT_STATE>;

}  // namespace settings
