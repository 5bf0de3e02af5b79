#include "settings/registry_access.h"

#include <windows.h>

#include "common/win32/unique_handle.h"

namespace settings {

namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

bool OpenOrCreate(RegistryRoot root, const wchar_t* keyPath, bool readOnly, win32::UniqueKey& key) {
  const REGSAM access = readOnly ? KEY_READ : KEY_ALL_ACCESS;
  return RegCreateKeyExW(RootKey(root), keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                         key.put(), nullptr) == ERROR_SUCCESS;
}

class Win32Registry final : public RegistryAccess {
 public:
  bool ReadDword(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey, const wchar_t* valueName,
                 bool readOnly, uint32_t& value) override {
    win32::UniqueKey key;
    if (!OpenOrCreate(root, keyPath, readOnly, key)) return false;
    DWORD data = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof(data);
    const LSTATUS status = RegGetValueW(key.get(), subkey, valueName, RRF_RT_REG_DWORD, &type, &data, &size);
    // Only a complete DWORD counts; anything else keeps the caller's default.
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(data)) return false;
    value = data;
    return true;
  }

  bool DwordExists(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey, const wchar_t* valueName,
                   bool readOnly) override {
    win32::UniqueKey key;
    if (!OpenOrCreate(root, keyPath, readOnly, key)) return false;
    return RegGetValueW(key.get(), subkey, valueName, RRF_RT_REG_DWORD, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  }

  bool WriteDword(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey, const wchar_t* valueName,
                  uint32_t value) override {
    win32::UniqueKey key;
    if (!OpenOrCreate(root, keyPath, false, key)) return false;
    const DWORD data = value;
    return RegSetKeyValueW(key.get(), subkey, valueName, REG_DWORD, &data, sizeof(data)) == ERROR_SUCCESS;
  }

  bool DeleteValue(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey,
                   const wchar_t* valueName) override {
    win32::UniqueKey key;
    if (!OpenOrCreate(root, keyPath, false, key)) return false;
    return RegDeleteKeyValueW(key.get(), subkey, valueName) == ERROR_SUCCESS;
  }
};

}  // namespace

RegistryAccess& PlatformRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace settings
