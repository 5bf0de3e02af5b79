#include <windows.h>

#include "common/win32/unique_handle.h"
#include "no_destructor.h"
#include "win32_seams.h"

namespace ovx::win32 {
namespace {

class Win32Registry final : public IRegistry {
 public:
  std::uint32_t OpenKey(const std::wstring& subKey, RegAccess access, RegKey* key) override {
    ::win32::UniqueKey h;
    const REGSAM sam = access == RegAccess::AllAccess ? KEY_ALL_ACCESS : KEY_ENUMERATE_SUB_KEYS;
    const LSTATUS r = RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, sam, h.put());
    key->reset(r == ERROR_SUCCESS ? reinterpret_cast<RegKeyHandle>(h.release()) : 0);
    return static_cast<std::uint32_t>(r);
  }
  std::uint32_t QueryValue(RegKeyHandle key, const std::wstring& name, std::uint8_t* data,
                           std::uint32_t* size) override {
    DWORD type = 0;
    DWORD bytes = *size;
    const LSTATUS r =
        RegQueryValueExW(reinterpret_cast<HKEY>(key), name.c_str(), nullptr, &type, data, &bytes);
    *size = bytes;
    return static_cast<std::uint32_t>(r);
  }
  std::uint32_t EnumSubKey(RegKeyHandle key, std::uint32_t index, std::wstring* name) override {
    wchar_t buffer[260];
    DWORD chars = 260;
    const LSTATUS r =
        RegEnumKeyExW(reinterpret_cast<HKEY>(key), index, buffer, &chars, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_SUCCESS) name->assign(buffer, chars);
    return static_cast<std::uint32_t>(r);
  }
  void CloseKey(RegKeyHandle key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

}  // namespace

IRegistry& Registry() {
  static NoDestructor<Win32Registry> r;
  return r.get();
}

}  // namespace ovx::win32
