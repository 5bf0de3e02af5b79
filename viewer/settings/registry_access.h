#pragma once
// The registry as the settings see it: DWORD values below a key that is
// opened (or created) under one of two roots.
#include <cstdint>

namespace settings {

enum class RegistryRoot { LocalMachine, CurrentUser };

class RegistryAccess {
 public:
  virtual ~RegistryAccess() = default;

  // Opens or creates keyPath under root (read access when readOnly), then
  // reads subkey\valueName restricted to REG_DWORD. Writes value only when
  // a whole 4-byte DWORD was read; otherwise value is left untouched.
  virtual bool ReadDword(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey,
                         const wchar_t* valueName, bool readOnly, uint32_t& value) = 0;
  // Same opening; true when a REG_DWORD value of that name can be read.
  virtual bool DwordExists(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey,
                           const wchar_t* valueName, bool readOnly) = 0;
  // Opens or creates keyPath with full access and stores a REG_DWORD.
  virtual bool WriteDword(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey,
                          const wchar_t* valueName, uint32_t value) = 0;
  // Opens or creates keyPath with full access and removes the value.
  virtual bool DeleteValue(RegistryRoot root, const wchar_t* keyPath, const wchar_t* subkey,
                           const wchar_t* valueName) = 0;
};

// The registry of the running system. A native build has none: every call
// fails there, so every setting takes its default.
RegistryAccess& PlatformRegistry();

}  // namespace settings
