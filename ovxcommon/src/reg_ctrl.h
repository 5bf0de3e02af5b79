// Registry helpers below HKEY_LOCAL_MACHINE.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ovx {

inline constexpr const wchar_t* kParametersKey = L"SYSTEM\\CurrentControlSet\\Services\\ovxdrv\\Parameters";
inline constexpr const wchar_t* kEnumPciKey = L"SYSTEM\\CurrentControlSet\\Enum\\PCI";
inline constexpr const wchar_t* kBoardHardwareIdPrefix = L"VEN_7E21&DEV_0B58";

// Instance key name -> full key path, ordered by name.
using InstanceTable = std::map<std::wstring, std::wstring>;

class CRegCtrl {
 public:
  // Reads one value into destination, copying at most destinationSize bytes.
  static std::uint32_t ReadRegData(const std::wstring& subKey, const std::wstring& valueName,
                                   void* destination, std::uint32_t destinationSize);
  // Appends the board's hardware id keys found below Enum\PCI.
  static std::uint32_t SearchDeviceID(std::vector<std::wstring>& list);
  // Puts every sub key of keyPath into table; returns the code that ended
  // the enumeration (259 at its normal end).
  static std::uint32_t MakeSubKeyList(const std::wstring& keyPath, InstanceTable& table);
};

// A REG_DWORD read with ReadRegData, or fallback when the read fails.
std::uint32_t ReadDwordOr(const wchar_t* valueName, std::uint32_t fallback);

}  // namespace ovx
