#include "test_env.h"

#include "handler_table.h"
#include "library.h"
#include "power_watch.h"
#include "process_state.h"
#include "reg_ctrl.h"

namespace ovxtest {

Owned<CExportDeviceUtil> MakeDeviceUtil() { return Owned<CExportDeviceUtil>(ovx::NewDeviceUtil()); }
Owned<CExportGenericfunc> MakeGenericfunc() { return Owned<CExportGenericfunc>(ovx::NewGenericfunc()); }
Owned<CExportSystemCtrl> MakeSystemCtrl() { return Owned<CExportSystemCtrl>(ovx::NewSystemCtrl()); }

std::wstring RecordName(const DeviceListRecord& record) {
  std::wstring name;
  for (std::size_t i = 0; i < 260 && record.DeviceName[i] != 0; ++i)
    name.push_back(static_cast<wchar_t>(record.DeviceName[i]));
  return name;
}

void LibraryTest::SetUp() {
  ovx::ProcessState::Get().ResetForTesting();
  ovx::platform::Install({&registry, &debug, &driver, &setup, nullptr, nullptr, &sleeper});
  registry.AddKey(ovx::kParametersKey);
}

void LibraryTest::TearDown() {
  // The process-wide threads must not outlive this test's fakes.
  for (std::uint32_t id = 0; id < 64; ++id)
    if (ovx::HandlerTable::Get().Contains(id)) ovx::HandlerTable::Get().Remove(id);
  if (ovx::PowerWatch::Get().Running()) {
    driver.PostPowerEvent(1);
    EXPECT_TRUE(ovx::PowerWatch::Get().WaitUntilEnded(10000));
  }
  ovx::platform::RestoreDefaults();
  ovx::ProcessState::Get().ResetForTesting();
}

std::uint32_t LibraryTest::OpenBoard() {
  setup.devices = {{kBoardPath, L"Capture Board", L"Capture Board", L"PCI bus 3, device 0, function 0"}};
  driver.AddDevicePath(kBoardPath);
  auto util = MakeDeviceUtil();
  DeviceListRecord records[4] = {};
  EXPECT_EQ(util->GetDeviceList(records), 0u);
  return util->OpenDevice(L"Capture Board 0");
}

void LibraryTest::Load(std::optional<std::uint32_t> debugMask, std::optional<std::uint32_t> dmaTimeout) {
  if (debugMask)
    registry.SetDword(ovx::kParametersKey, L"DebugMask", *debugMask);
  else
    registry.DeleteValue(ovx::kParametersKey, L"DebugMask");
  if (dmaTimeout)
    registry.SetDword(ovx::kParametersKey, L"DmaTimeOut", *dmaTimeout);
  else
    registry.DeleteValue(ovx::kParametersKey, L"DmaTimeOut");
  ovx::ProcessState::Get().traceMask = 0;
  ovx::OnLibraryLoad();
}

}  // namespace ovxtest
