// Outside Windows there is no installed-device list: every lookup ends as
// "the list cannot be had".
#include "capture/versions/device_install.h"

namespace capture {
namespace {

class HostDeviceInstallation final : public DeviceInstallation {
 public:
  std::unique_ptr<DeviceList> PresentDevices() override { return nullptr; }
  std::unique_ptr<DriverKey> OpenDriverKey(const std::wstring&) override { return nullptr; }
};

}  // namespace

DeviceInstallation& RealDeviceInstallation() {
  static HostDeviceInstallation installation;
  return installation;
}

}  // namespace capture
