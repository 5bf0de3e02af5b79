#include "system_ctrl.h"

#include <memory>

#include "ioctl.h"
#include "platform.h"
#include "power_watch.h"
#include "boundary.h"
#include "status.h"
#include "trace.h"

namespace ovx {

void CSystemCtrl::Release() { std::unique_ptr<CSystemCtrl> self(this); }

std::uint32_t CSystemCtrl::Command(const wchar_t* name, std::uint32_t command, std::uint32_t timeoutMs,
                                   std::uint32_t* state) {
  OVX_HANDLE obtained = nullptr;
  std::uint32_t result = m_generic.GetMutex(&obtained, L"SYSCTRL", 0);
  const NamedMutex mutex(obtained);
  if (result != 0) {
    TraceError(name, L"Get mutex failed: Status = 0x%08X", result);
    result = status::kBusy;
  } else {
    ioctl::CommandRequest request{};
    request.Command = command;
    ioctl::CommandResponse response{};
    result = m_generic.generic_request_command(&request, &response, timeoutMs);
    if (result != 0) {
      TraceError(name, L"Send command failed: Status = 0x%08X", result);
    } else if (state != nullptr) {
      *state = response.DeviceState;
    }
  }
  if (mutex) platform::Mutexes().Release(mutex.get());
  TraceInfo(name, L"-- Status = 0x%08X", result);
  return result;
}

std::uint32_t CSystemCtrl::ResetRequest() {
  return Guarded([&]() -> std::uint32_t {
    constexpr const wchar_t* kName = L"CSystemCtrl::ResetRequest";
    TraceInfo(kName, L"++");
    return Command(kName, ioctl::kCommandResetRequest, ioctl::kRegisterTimeoutMs, nullptr);
  });
}

std::uint32_t CSystemCtrl::SoftUpdate() {
  return Guarded([&]() -> std::uint32_t {
    constexpr const wchar_t* kName = L"CSystemCtrl::SoftUpdate";
    TraceInfo(kName, L"++");
    return Command(kName, ioctl::kCommandSoftUpdate, ioctl::kRegisterTimeoutMs, nullptr);
  });
}

std::uint32_t CSystemCtrl::CheckDeviceState(std::uint32_t* pState, std::uint32_t nTimeOut) {
  return Guarded([&]() -> std::uint32_t {
    constexpr const wchar_t* kName = L"CSystemCtrl::CheckDeviceState";
    TraceInfo(kName, L"++");
    if (pState == nullptr) {
      TraceError(kName, L"Parameter is invalid");
      return status::kInvalidParameter;
    }
    return Command(kName, ioctl::kCommandDeviceState, nTimeOut, pState);
  });
}

std::uint32_t CSystemCtrl::Restart(const wchar_t* name, std::uint32_t code, std::uint32_t pauseMs) {
  TraceInfo(name, L"++");
  std::uint32_t result = 0;
  std::uint32_t bytes = 0;
  m_device.SendIoControl(code, nullptr, 0, nullptr, 0, &bytes, &result, ioctl::kRegisterTimeoutMs);
  if (result != 0) {
    TraceError(name, L"Reset device failed: Status = 0x%08X", result);
  } else {
    if (pauseMs != 0) platform::Sleeper().SleepMs(pauseMs);
    result = m_device.PnPControl();
    if (result != 0) TraceError(name, L"Device restart failed: Status = 0x%08X", result);
  }
  TraceInfo(name, L"-- Status = 0x%08X", result);
  return result;
}

std::uint32_t CSystemCtrl::SystemReset() {
  return Guarded([&]() -> std::uint32_t {
    return Restart(L"CSystemCtrl::SystemReset", ioctl::IOCTL_SYSTEM_RESET, kResetPauseMs);
  });
}

std::uint32_t CSystemCtrl::DeviceRestart() {
  return Guarded([&]() -> std::uint32_t {
    return Restart(L"CSystemCtrl::DeviceRestart", ioctl::IOCTL_DEVICE_RESTART, 0);
  });
}

std::uint32_t CSystemCtrl::RegisterHandlerForDetectPowerChange(OVX_POWER_HANDLER pHandler) {
  return Guarded([&]() -> std::uint32_t {
    constexpr const wchar_t* kName = L"CSystemCtrl::RegisterHandlerForDetectPowerChange";
    TraceInfo(kName, L"++");
    std::uint32_t result = status::kSuccess;
    if (pHandler == nullptr) {
      TraceError(kName, L"Invalid Parameter");
      result = status::kInvalidParameter;
    } else {
      switch (PowerWatch::Get().Start(pHandler)) {
        case PowerWatch::StartResult::Started:
          m_handler = pHandler;
          break;
        case PowerWatch::StartResult::AlreadyRunning:
          TraceInfo(kName, L"Handler is already registered");
          break;
        case PowerWatch::StartResult::ThreadFailed:
          TraceError(kName, L"Make watch thread failed");
          result = status::kNotEnoughMemory;
          break;
      }
    }
    TraceInfo(kName, L"-- Status = 0x%08X", result);
    return result;
  });
}

}  // namespace ovx
