#include "reg_ctrl.h"

#include <algorithm>
#include <cstring>

#include "platform.h"
#include "status.h"
#include "trace.h"

namespace ovx {
namespace {

constexpr std::uint32_t kValueBufferBytes = 200;

}  // namespace

std::uint32_t CRegCtrl::ReadRegData(const std::wstring& subKey, const std::wstring& valueName,
                                    void* destination, std::uint32_t destinationSize) {
  constexpr const wchar_t* kName = L"CRegCtrl::ReadRegData";
  TraceInfo(kName, L"RegKey Path = %s", subKey);
  TraceInfo(kName, L"EntryName = %s", valueName);
  if (destination == nullptr) {
    TraceInfo(kName, L"Invalid Parameter");
    return status::kInvalidParameter;
  }
  IRegistry& registry = platform::Registry();
  RegKey key;
  if (const std::uint32_t error = registry.OpenKey(subKey, RegAccess::AllAccess, &key); error != 0) {
    TraceInfo(kName, L"RegOpenKeyEx failed with 0x%X", error);
    return error;
  }
  std::uint8_t buffer[kValueBufferBytes] = {};
  std::uint32_t size = kValueBufferBytes;
  if (const std::uint32_t error = registry.QueryValue(key.get(), valueName, buffer, &size); error != 0) {
    TraceInfo(kName, L"RegQueryValueEx failed with 0x%X", error);
    return error;
  }
  TraceInfo(kName, L"RegQueryValueEx Read Size = %d", size);
  std::memcpy(destination, buffer, std::min({size, destinationSize, kValueBufferBytes}));
  return status::kSuccess;
}

std::uint32_t CRegCtrl::SearchDeviceID(std::vector<std::wstring>& list) {
  constexpr const wchar_t* kName = L"CRegCtrl::SearchDeviceID";
  IRegistry& registry = platform::Registry();
  RegKey key;
  if (const std::uint32_t error = registry.OpenKey(kEnumPciKey, RegAccess::EnumerateSubKeys, &key);
      error != 0) {
    TraceInfo(kName, L"RegOpenKeyEx failed with 0x%X", error);
    return error;
  }
  const std::wstring prefix = kBoardHardwareIdPrefix;
  for (std::uint32_t index = 0;; ++index) {
    std::wstring name;
    const std::uint32_t error = registry.EnumSubKey(key.get(), index, &name);
    if (error == status::kNoMoreItems) break;
    if (error != 0) {
      TraceInfo(kName, L"RegEnumKeyEx failed with 0x%X", error);
      return error;
    }
    TraceInfo(kName, L"SubKeyName = %s", name);
    if (name.compare(0, prefix.size(), prefix) == 0) {
      TraceInfo(kName, L"Target key is found !!!");
      list.push_back(name);
    }
  }
  if (!list.empty()) return status::kSuccess;
  TraceInfo(kName, L"RegEnumKeyEx No More SubKey");
  return status::kNoMoreItems;
}

std::uint32_t CRegCtrl::MakeSubKeyList(const std::wstring& keyPath, InstanceTable& table) {
  constexpr const wchar_t* kName = L"CRegCtrl::MakeSubKeyList";
  TraceInfo(kName, L"RegKeyPath = %s", keyPath);
  IRegistry& registry = platform::Registry();
  RegKey key;
  if (const std::uint32_t error = registry.OpenKey(keyPath, RegAccess::EnumerateSubKeys, &key); error != 0) {
    TraceInfo(kName, L"RegOpenKeyEx failed with 0x%X", error);
    return error;
  }
  for (std::uint32_t index = 0;; ++index) {
    std::wstring name;
    const std::uint32_t error = registry.EnumSubKey(key.get(), index, &name);
    if (error != 0) {
      TraceInfo(kName, L"RegEnumKeyEx failed with 0x%X", error);
      return error;
    }
    TraceInfo(kName, L"SubKeyName = %s", name);
    table.emplace(name, keyPath + L"\\" + name);
  }
}

std::uint32_t ReadDwordOr(const wchar_t* valueName, std::uint32_t fallback) {
  std::uint32_t value = 0;
  return CRegCtrl::ReadRegData(kParametersKey, valueName, &value, sizeof value) == 0 ? value : fallback;
}

}  // namespace ovx
