#pragma once
// The installed-device records (SetupAPI's list of present devices) and the
// drivers' class keys in the registry, handed out as raw as the platform
// gives them: value types and bytes are judged by the caller, so that bad
// registry contents can be tested with fakes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace capture {

// Buffer sizes of the platform calls; anything larger does not fit.
inline constexpr size_t kDriverKeyNameBytes = 260;
inline constexpr size_t kValueNameChars = 260;  // including the terminating NUL
inline constexpr size_t kValueDataBytes = 260;

inline constexpr uint32_t kRegSz = 1;  // REG_SZ

enum class FetchResult {
  Ok,
  TooLarge,  // did not fit its buffer; nothing was returned
  End,       // no such item: the list is over
  Failed,    // any other failure
};

struct RawData {
  uint32_t type = 0;
  std::vector<uint8_t> bytes;  // as returned, never more than the buffer
};

struct RawValue {
  std::wstring name;
  RawData data;
};

class DeviceList {
 public:
  virtual ~DeviceList() = default;
  // Device `index` (0 up) and its driver key name (SPDRP_DRIVER) in a
  // kDriverKeyNameBytes buffer.  End when there is no device `index`.
  [[nodiscard]] virtual FetchResult Device(uint32_t index, RawData& driverKeyName) = 0;
};

class DriverKey {
 public:
  virtual ~DriverKey() = default;
  // Value `index` (0 up): name in kValueNameChars, data in kValueDataBytes.
  [[nodiscard]] virtual FetchResult Value(uint32_t index, RawValue& value) = 0;
};

class DeviceInstallation {
 public:
  virtual ~DeviceInstallation() = default;
  // All present devices of all classes; null when the list cannot be had.
  [[nodiscard]] virtual std::unique_ptr<DeviceList> PresentDevices() = 0;
  // HKLM "SYSTEM\CurrentControlSet\Control\Class\<name>", read access; null
  // when it cannot be opened.
  [[nodiscard]] virtual std::unique_ptr<DriverKey> OpenDriverKey(const std::wstring& driverKeyName) = 0;
};

// The build's real installation (SetupAPI on Windows; natively there is no
// device list) unless a test replaced it.
[[nodiscard]] DeviceInstallation& DeviceInstallationInUse();
[[nodiscard]] DeviceInstallation& RealDeviceInstallation();

class ScopedDeviceInstallation {
 public:
  explicit ScopedDeviceInstallation(DeviceInstallation& installation);
  ~ScopedDeviceInstallation();
  ScopedDeviceInstallation(const ScopedDeviceInstallation&) = delete;
  ScopedDeviceInstallation& operator=(const ScopedDeviceInstallation&) = delete;

 private:
  DeviceInstallation* saved_;
};

}  // namespace capture
