// Helpers of the Windows tests: the registry values the library reads, set
// and restored under a lock that all library test processes share.
#pragma once

#include <windows.h>

#include "common/win32/unique_handle.h"

#include <optional>
#include <string>

namespace ovxwin {

inline const wchar_t* kParameters = L"SYSTEM\\CurrentControlSet\\Services\\ovxdrv\\Parameters";
inline const wchar_t* kBoardParameters =
    L"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_7E21&DEV_0B58&SUBSYS_00017E21&REV_01\\4&1A2B3C4D&0&"
    L"0018\\Device "
    L"Parameters";

// Held by every test that changes or depends on those values.
class RegistryLock {
 public:
  RegistryLock() : mutex_(CreateMutexW(nullptr, FALSE, L"OvxcommonTestRegistryLock")) {
    WaitForSingleObject(mutex_.get(), INFINITE);
  }
  ~RegistryLock() { ReleaseMutex(mutex_.get()); }
  RegistryLock(const RegistryLock&) = delete;
  RegistryLock& operator=(const RegistryLock&) = delete;

 private:
  win32::UniqueKernelHandle mutex_;
};

inline std::optional<DWORD> GetDword(const wchar_t* key, const wchar_t* name) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

inline bool SetDword(const wchar_t* key, const wchar_t* name, std::optional<DWORD> value) {
  win32::UniqueKey owned;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, owned.put(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  HKEY h = owned.get();
  LSTATUS r = ERROR_SUCCESS;
  if (value) {
    r = RegSetValueExW(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value), sizeof(DWORD));
  } else {
    r = RegDeleteValueW(h, name);
    if (r == ERROR_FILE_NOT_FOUND) r = ERROR_SUCCESS;
  }
  return r == ERROR_SUCCESS;
}

// Puts a value back as it was when the scope began.
class ScopedDword {
 public:
  ScopedDword(const wchar_t* key, const wchar_t* name)
      : key_(key), name_(name), saved_(GetDword(key, name)) {}
  ~ScopedDword() { SetDword(key_, name_, saved_); }
  ScopedDword(const ScopedDword&) = delete;
  ScopedDword& operator=(const ScopedDword&) = delete;
  bool Set(std::optional<DWORD> v) { return SetDword(key_, name_, v); }

 private:
  const wchar_t* key_;
  const wchar_t* name_;
  std::optional<DWORD> saved_;
};

inline std::wstring ExeFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

}  // namespace ovxwin
