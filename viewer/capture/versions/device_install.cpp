#include "capture/versions/device_install.h"

namespace capture {
namespace {

DeviceInstallation*& Current() {
  static DeviceInstallation* current = nullptr;
  return current;
}

}  // namespace

DeviceInstallation& DeviceInstallationInUse() {
  DeviceInstallation* current = Current();
  return current != nullptr ? *current : RealDeviceInstallation();
}

ScopedDeviceInstallation::ScopedDeviceInstallation(DeviceInstallation& installation) : saved_(Current()) {
  Current() = &installation;
}

ScopedDeviceInstallation::~ScopedDeviceInstallation() { Current() = saved_; }

}  // namespace capture
