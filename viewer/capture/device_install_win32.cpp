// SetupAPI's list of present devices and the drivers' class keys.
#include <windows.h>
// after windows.h
#include <setupapi.h>

#include <algorithm>

#include "capture/device_install.h"

namespace capture {
namespace {

class Win32DeviceList final : public DeviceList {
 public:
  explicit Win32DeviceList(HDEVINFO set) : set_(set) {}
  ~Win32DeviceList() override { SetupDiDestroyDeviceInfoList(set_); }
  Win32DeviceList(const Win32DeviceList&) = delete;
  Win32DeviceList& operator=(const Win32DeviceList&) = delete;

  FetchResult Device(uint32_t index, RawData& driverKeyName) override {
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    if (!SetupDiEnumDeviceInfo(set_, index, &device)) return FetchResult::End;
    BYTE buffer[kDriverKeyNameBytes];
    DWORD type = 0;
    DWORD size = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set_, &device, SPDRP_DRIVER, &type, buffer, sizeof(buffer),
                                           &size)) {
      return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? FetchResult::TooLarge : FetchResult::Failed;
    }
    driverKeyName.type = type;
    driverKeyName.bytes.assign(buffer, buffer + std::min<DWORD>(size, sizeof(buffer)));
    return FetchResult::Ok;
  }

 private:
  HDEVINFO set_;
};

class Win32DriverKey final : public DriverKey {
 public:
  explicit Win32DriverKey(HKEY key) : key_(key) {}
  ~Win32DriverKey() override { RegCloseKey(key_); }
  Win32DriverKey(const Win32DriverKey&) = delete;
  Win32DriverKey& operator=(const Win32DriverKey&) = delete;

  FetchResult Value(uint32_t index, RawValue& value) override {
    wchar_t name[kValueNameChars];
    DWORD nameChars = kValueNameChars;
    BYTE data[kValueDataBytes];
    DWORD dataBytes = sizeof(data);
    DWORD type = 0;
    const LSTATUS status = RegEnumValueW(key_, index, name, &nameChars, nullptr, &type, data, &dataBytes);
    if (status == ERROR_NO_MORE_ITEMS) return FetchResult::End;
    if (status == ERROR_MORE_DATA) return FetchResult::TooLarge;
    if (status != ERROR_SUCCESS) return FetchResult::Failed;
    value.name.assign(name, std::min<DWORD>(nameChars, kValueNameChars - 1));
    value.data.type = type;
    value.data.bytes.assign(data, data + std::min<DWORD>(dataBytes, sizeof(data)));
    return FetchResult::Ok;
  }

 private:
  HKEY key_;
};

class Win32DeviceInstallation final : public DeviceInstallation {
 public:
  std::unique_ptr<DeviceList> PresentDevices() override {
    const HDEVINFO set = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32DeviceList>(set);
  }

  std::unique_ptr<DriverKey> OpenDriverKey(const std::wstring& driverKeyName) override {
    const std::wstring path = L"SYSTEM\\CurrentControlSet\\Control\\Class\\" + driverKeyName;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32DriverKey>(key);
  }
};

}  // namespace

DeviceInstallation& RealDeviceInstallation() {
  static Win32DeviceInstallation installation;
  return installation;
}

}  // namespace capture
