// Enumeration, opening and closing of the board, raw driver requests, and
// the Plug and Play restart.
#pragma once

#include <cstdint>
#include <string>

#include "device_setup_seam.h"
#include "ovxcommon.h"

namespace ovx {

// The driver's device interface class {7e210b58-3c1d-4f6a-9b2e-5d8c0a1f4e73}.
struct InterfaceClassGuid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};
inline constexpr InterfaceClassGuid kDeviceInterfaceClass = {
    0x7e210b58, 0x3c1d, 0x4f6a, {0x9b, 0x2e, 0x5d, 0x8c, 0x0a, 0x1f, 0x4e, 0x73}};

// Device names and paths hold at most this many characters.
inline constexpr std::size_t kMaxNameChars = 259;

class CDeviceUtil : public CExportDeviceUtil {
 public:
  CDeviceUtil();  // empties the process-wide device list
  ~CDeviceUtil() override = default;
  CDeviceUtil(const CDeviceUtil&) = delete;
  CDeviceUtil& operator=(const CDeviceUtil&) = delete;

  void Release() override;
  std::uint32_t GetDeviceList(DeviceListRecord* pList) override;
  std::uint32_t OpenDevice(const wchar_t* pDeviceName) override;
  void CloseDevice() override;
  std::int32_t SendIoControl(std::uint32_t nCode, void* pIn, std::uint32_t nInSize, void* pOut,
                             std::uint32_t nOutSize, std::uint32_t* pBytesReturned, std::uint32_t* pStatus,
                             std::uint32_t nTimeOut) override;
  std::int32_t GetDeviceIndex() override;

  // Restarts every board instance whose "RestartFlag" is 1.
  std::uint32_t PnPControl();
  // Disables and enables one device node: 0 or the configuration manager's code.
  std::uint32_t PnPHandling(const std::wstring& deviceInstanceId);
  // 1 when a description was read into description (260 characters); else
  // 0 with the platform's error of the step that failed in *error.
  int GetDeviceDescription(IInterfaceSet& set, const wchar_t* path, wchar_t* description, std::uint32_t* slot,
                           std::uint32_t* error);
};

// The slot number in a location text ("PCI bus 3, device 5, function 0" -> 5),
// split at ASCII or full-width commas; false when it has none. first gets the
// first token.
bool ParseSlotNumber(const std::wstring& location, std::wstring* first, std::uint32_t* slot);

// Copies at most kMaxNameChars characters and a NUL.
void CopyName(const std::wstring& from, wchar_t* to);

}  // namespace ovx
