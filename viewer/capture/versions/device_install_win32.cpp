// SetupAPI's list of present devices and the drivers' class keys.
#include <windows.h>
// after windows.h
#include <setupapi.h>

#include <algorithm>

#include "capture/versions/device_install.h"
#include "common/win32/unique_handle.h"

namespace capture {
namespace {

class Win32DeviceList final : public DeviceList {
 public:
  explicit Win32DeviceList(win32::UniqueDeviceInfoSet set) : set_(std::move(set)) {}

  FetchResult Device(uint32_t index, RawData& driverKeyName) override {
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    if (!SetupDiEnumDeviceInfo(set_.get(), index, &device)) return FetchResult::End;
    BYTE buffer[kDriverKeyNameBytes];
    DWORD type = 0;
    DWORD size = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set_.get(), &device, SPDRP_DRIVER, &type, buffer, sizeof(buffer),
                                           &size)) {
      return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? FetchResult::TooLarge : FetchResult::Failed;
    }
    driverKeyName.type = type;
    driverKeyName.bytes.assign(buffer, buffer + std::min<DWORD>(size, sizeof(buffer)));
    return FetchResult::Ok;
  }

 private:
  win32::UniqueDeviceInfoSet set_;
};

class Win32DriverKey final : public DriverKey {
 public:
  explicit Win32DriverKey(win32::UniqueKey key) : key_(std::move(key)) {}

  FetchResult Value(uint32_t index, RawValue& value) override {
    wchar_t name[kValueNameChars];
    DWORD nameChars = kValueNameChars;
    BYTE data[kValueDataBytes];
    DWORD dataBytes = sizeof(data);
    DWORD type = 0;
    const LSTATUS status =
        RegEnumValueW(key_.get(), index, name, &nameChars, nullptr, &type, data, &dataBytes);
    if (status == ERROR_NO_MORE_ITEMS) return FetchResult::End;
    if (status == ERROR_MORE_DATA) return FetchResult::TooLarge;
    if (status != ERROR_SUCCESS) return FetchResult::Failed;
    value.name.assign(name, std::min<DWORD>(nameChars, kValueNameChars - 1));
    value.data.type = type;
    value.data.bytes.assign(data, data + std::min<DWORD>(dataBytes, sizeof(data)));
    return FetchResult::Ok;
  }

 private:
  win32::UniqueKey key_;
};

class Win32DeviceInstallation final : public DeviceInstallation {
 public:
  std::unique_ptr<DeviceList> PresentDevices() override {
    win32::UniqueDeviceInfoSet set(
        SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
    if (!set) return nullptr;
    return std::make_unique<Win32DeviceList>(std::move(set));
  }

  std::unique_ptr<DriverKey> OpenDriverKey(const std::wstring& driverKeyName) override {
    const std::wstring path = L"SYSTEM\\CurrentControlSet\\Control\\Class\\" + driverKeyName;
    win32::UniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
      return nullptr;
    return std::make_unique<Win32DriverKey>(std::move(key));
  }
};

}  // namespace

DeviceInstallation& RealDeviceInstallation() {
  static Win32DeviceInstallation installation;
  return installation;
}

}  // namespace capture
