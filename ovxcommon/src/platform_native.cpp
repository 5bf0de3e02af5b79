// Defaults off Windows: no registry, no driver, no devices; debug output
// goes nowhere. Tests install fakes in their place.
#include "in_process_mutexes.h"
#include "no_destructor.h"
#include "platform.h"
#include "status.h"
#include "std_threads.h"

namespace ovx::platform {
namespace {

class NoRegistry final : public IRegistry {
 public:
  std::uint32_t OpenKey(const std::wstring&, RegAccess, RegKey*) override { return status::kFileNotFound; }
  std::uint32_t QueryValue(RegKeyHandle, const std::wstring&, std::uint8_t*, std::uint32_t*) override {
    return status::kFileNotFound;
  }
  std::uint32_t EnumSubKey(RegKeyHandle, std::uint32_t, std::wstring*) override {
    return status::kNoMoreItems;
  }
  void CloseKey(RegKeyHandle) override {}
};

class NoDebugOutput final : public IDebugOutput {
 public:
  void Write(const wchar_t*) override {}
};

class NoDriver final : public IDeviceTransport {
 public:
  OpenResult Open(const std::wstring&) override { return {DeviceOwner(), status::kFileNotFound}; }
  void Close(DeviceHandle) override {}
  std::uint32_t NewOperation(DeviceHandle, std::unique_ptr<IIoOperation>*) override {
    return status::kInvalidHandle;
  }
};

class NoDevices final : public IDeviceSetup {
 public:
  std::unique_ptr<IInterfaceSet> PresentInterfaces() override { return nullptr; }
  std::uint32_t LocateDevNode(const std::wstring&, DevNode*) override { return 0x13; }  // CR_FAILURE
  std::uint32_t DisableDevNode(DevNode) override { return 0x13; }
  std::uint32_t EnableDevNode(DevNode) override { return 0x13; }
};

struct Defaults {
  NoRegistry registry;
  NoDebugOutput debugOutput;
  NoDriver transport;
  NoDevices setup;
  InProcessMutexes mutexes;
  StdThreadLauncher threads;
  StdSleeper sleeper;
};

}  // namespace

Seams DefaultSeams() {
  static NoDestructor<Defaults> d;
  Defaults& x = d.get();
  return {&x.registry, &x.debugOutput, &x.transport, &x.setup, &x.mutexes, &x.threads, &x.sleeper};
}

}  // namespace ovx::platform
