#include <windows.h>
// windows.h first
#include <cfgmgr32.h>
#include <setupapi.h>

#include <map>
#include <new>
#include <vector>

#include "common/win32/unique_handle.h"
#include "device_util.h"
#include "no_destructor.h"
#include "win32_seams.h"

namespace ovx::win32 {
namespace {

GUID InterfaceGuid() {
  const InterfaceClassGuid& g = kDeviceInterfaceClass;
  GUID guid{g.data1, g.data2, g.data3, {}};
  for (int i = 0; i < 8; ++i) guid.Data4[i] = g.data4[i];
  return guid;
}

DWORD PropertyCode(DeviceProperty p) {
  switch (p) {
    case DeviceProperty::FriendlyName:
      return SPDRP_FRIENDLYNAME;
    case DeviceProperty::DeviceDesc:
      return SPDRP_DEVICEDESC;
    case DeviceProperty::LocationInformation:
      return SPDRP_LOCATION_INFORMATION;
  }
  return SPDRP_DEVICEDESC;
}

using InfoSet = ::win32::UniqueDeviceInfoSet;

// The thread's last error, read at once after the call that failed.
std::uint32_t ErrorOr(DWORD fallback) {
  const DWORD error = GetLastError();
  return error != 0 ? error : fallback;
}

class Win32DeviceInfo final : public IDeviceInfo {
 public:
  // owned: the new information set the device was opened in, or null when
  // the record belongs to the enumerating set.
  Win32DeviceInfo(std::shared_ptr<InfoSet> set, SP_DEVINFO_DATA data) : set_(std::move(set)), data_(data) {}

  std::uint32_t ReadProperty(DeviceProperty property, std::wstring* text) override {
    const DWORD code = PropertyCode(property);
    DWORD size = 0;
    DWORD type = 0;
    SetupDiGetDeviceRegistryPropertyW(set_->get(), &data_, code, &type, nullptr, 0, &size);
    if (size == 0) return ErrorOr(ERROR_INVALID_DATA);
    std::vector<BYTE> buffer;
    try {
      buffer.resize(size + sizeof(wchar_t));
    } catch (const std::bad_alloc&) {
      return ERROR_NOT_ENOUGH_MEMORY;
    }
    if (!SetupDiGetDeviceRegistryPropertyW(set_->get(), &data_, code, &type, buffer.data(), size, &size))
      return ErrorOr(ERROR_INVALID_DATA);
    const auto* chars = reinterpret_cast<const wchar_t*>(buffer.data());
    std::size_t n = size / sizeof(wchar_t);
    while (n > 0 && chars[n - 1] == L'\0') --n;
    text->assign(chars, n);
    return 0;
  }

 private:
  std::shared_ptr<InfoSet> set_;
  SP_DEVINFO_DATA data_;
};

class Win32InterfaceSet final : public IInterfaceSet {
 public:
  explicit Win32InterfaceSet(InfoSet set) : set_(std::make_shared<InfoSet>(std::move(set))) {}

  InterfaceEnum Enumerate(std::uint32_t index) override {
    const GUID guid = InterfaceGuid();
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof iface;
    if (!SetupDiEnumDeviceInterfaces(set_->get(), nullptr, &guid, index, &iface)) return {};
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(set_->get(), &iface, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return Failed();
    std::vector<BYTE> buffer;
    try {
      buffer.resize(size + sizeof(wchar_t));
    } catch (const std::bad_alloc&) {
      return {InterfaceEnum::Kind::DetailAllocFailed, {}, 0};
    }
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (!SetupDiGetDeviceInterfaceDetailW(set_->get(), &iface, detail, size, nullptr, &device))
      return Failed();
    std::wstring path = detail->DevicePath;
    // Kept for the fallback of OpenDevice, under the name the caller will use.
    enumerated_[path.substr(0, kMaxNameChars)] = device;
    return {InterfaceEnum::Kind::Found, std::move(path), 0};
  }

  std::unique_ptr<IDeviceInfo> OpenDevice(const std::wstring& path) override {
    auto fresh = std::make_shared<InfoSet>(SetupDiCreateDeviceInfoList(nullptr, nullptr));
    if (fresh->valid()) {
      SP_DEVICE_INTERFACE_DATA iface{};
      iface.cbSize = sizeof iface;
      if (SetupDiOpenDeviceInterfaceW(fresh->get(), path.c_str(), 0, &iface)) {
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        if (SetupDiGetDeviceInterfaceDetailW(fresh->get(), &iface, nullptr, 0, nullptr, &device) ||
            GetLastError() == ERROR_INSUFFICIENT_BUFFER)
          return std::make_unique<Win32DeviceInfo>(fresh, device);
      }
    }
    lastError_ = GetLastError();
    // Where the interface cannot be opened by path in a new set, the
    // enumerating set's record of the same interface is the same device.
    const auto it = enumerated_.find(path);
    if (it == enumerated_.end()) return nullptr;
    return std::make_unique<Win32DeviceInfo>(set_, it->second);
  }

  std::uint32_t LastError() const override { return lastError_; }

 private:
  InterfaceEnum Failed() {
    lastError_ = GetLastError();
    return {InterfaceEnum::Kind::DetailFailed, {}, lastError_};
  }

  std::shared_ptr<InfoSet> set_;
  std::map<std::wstring, SP_DEVINFO_DATA> enumerated_;
  std::uint32_t lastError_ = 0;
};

class Win32Setup final : public IDeviceSetup {
 public:
  std::unique_ptr<IInterfaceSet> PresentInterfaces() override {
    const GUID guid = InterfaceGuid();
    InfoSet set(SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set) return nullptr;
    return std::make_unique<Win32InterfaceSet>(std::move(set));
  }
  std::uint32_t LocateDevNode(const std::wstring& instanceId, DevNode* node) override {
    DEVINST devinst = 0;
    const CONFIGRET r = CM_Locate_DevNode_ExW(&devinst, const_cast<wchar_t*>(instanceId.c_str()),
                                              CM_LOCATE_DEVNODE_NORMAL, nullptr);
    *node = devinst;
    return r;
  }
  std::uint32_t DisableDevNode(DevNode node) override { return CM_Disable_DevNode(node, 0); }
  std::uint32_t EnableDevNode(DevNode node) override { return CM_Enable_DevNode(node, 0); }
};

}  // namespace

IDeviceSetup& Setup() {
  static NoDestructor<Win32Setup> s;
  return s.get();
}

}  // namespace ovx::win32
