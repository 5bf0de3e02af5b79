// Seam: read access to HKEY_LOCAL_MACHINE (RegOpenKeyExW, RegQueryValueExW,
// RegEnumKeyExW, RegCloseKey). Results are Windows error codes.
#pragma once

#include <cstdint>
#include <string>

#include "common/unique_owner.h"

namespace ovx {

using RegKeyHandle = std::uintptr_t;

// An open key, closed through the registry seam in use.
void CloseRegKey(RegKeyHandle key) noexcept;
using RegKey = common::UniqueOwner<common::ZeroIsEmpty<RegKeyHandle, &CloseRegKey>>;

enum class RegAccess { AllAccess, EnumerateSubKeys };

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  virtual std::uint32_t OpenKey(const std::wstring& subKey, RegAccess access, RegKey* key) = 0;
  // size: in the buffer's capacity, out the value's size in bytes.
  virtual std::uint32_t QueryValue(RegKeyHandle key, const std::wstring& name, std::uint8_t* data,
                                   std::uint32_t* size) = 0;
  // Sub key number index, with a name buffer of 260 characters.
  virtual std::uint32_t EnumSubKey(RegKeyHandle key, std::uint32_t index, std::wstring* name) = 0;
  // Only for RegKey: callers hold keys in their owner.
  virtual void CloseKey(RegKeyHandle key) = 0;
};

}  // namespace ovx
