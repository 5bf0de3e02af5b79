// Seam: device interface enumeration (SetupAPI) and the configuration
// manager's disable and enable of a device node.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace ovx {

enum class DeviceProperty { FriendlyName, DeviceDesc, LocationInformation };

// The information record of one device.
class IDeviceInfo {
 public:
  virtual ~IDeviceInfo() = default;
  // The whole text of a string property: 0, or the platform's error of the
  // read that failed (nonzero even where the platform left none).
  virtual std::uint32_t ReadProperty(DeviceProperty property, std::wstring* text) = 0;
};

struct InterfaceEnum {
  enum class Kind { Found, NoMore, DetailAllocFailed, DetailFailed };
  Kind kind = Kind::NoMore;
  std::wstring path;        // Found
  std::uint32_t error = 0;  // DetailFailed: the platform's last error
};

// The set of present devices that expose the driver's interface class.
class IInterfaceSet {
 public:
  virtual ~IInterfaceSet() = default;
  virtual InterfaceEnum Enumerate(std::uint32_t index) = 0;
  // Opens the device behind an interface path in a new information set;
  // null when it cannot be opened.
  virtual std::unique_ptr<IDeviceInfo> OpenDevice(const std::wstring& path) = 0;
  // The platform's error of the last call that failed.
  virtual std::uint32_t LastError() const = 0;
};

using DevNode = std::uint32_t;

class IDeviceSetup {
 public:
  virtual ~IDeviceSetup() = default;
  // Null when the platform gives no set.
  virtual std::unique_ptr<IInterfaceSet> PresentInterfaces() = 0;
  // Configuration manager results: 0 (CR_SUCCESS) or a CR_ code.
  virtual std::uint32_t LocateDevNode(const std::wstring& instanceId, DevNode* node) = 0;
  virtual std::uint32_t DisableDevNode(DevNode node) = 0;
  virtual std::uint32_t EnableDevNode(DevNode node) = 0;
};

}  // namespace ovx
