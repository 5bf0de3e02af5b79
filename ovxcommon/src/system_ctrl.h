// Board-wide control: reset request, system reset, device restart, soft
// update, device state and power-change notification.
#pragma once

#include <cstdint>

#include "device_util.h"
#include "genericfunc.h"
#include "ovxcommon.h"

namespace ovx {

class CSystemCtrl : public CExportSystemCtrl {
 public:
  CSystemCtrl() = default;
  ~CSystemCtrl() override = default;
  CSystemCtrl(const CSystemCtrl&) = delete;
  CSystemCtrl& operator=(const CSystemCtrl&) = delete;

  void Release() override;
  std::uint32_t ResetRequest() override;
  std::uint32_t SystemReset() override;
  std::uint32_t DeviceRestart() override;
  std::uint32_t SoftUpdate() override;
  std::uint32_t CheckDeviceState(std::uint32_t* pState, std::uint32_t nTimeOut) override;
  std::uint32_t RegisterHandlerForDetectPowerChange(OVX_POWER_HANDLER pHandler) override;

  static constexpr std::uint32_t kResetPauseMs = 10000;

 private:
  // One command under the system-control mutex; state receives the device
  // state of a successful request when not null.
  std::uint32_t Command(const wchar_t* name, std::uint32_t command, std::uint32_t timeoutMs,
                        std::uint32_t* state);
  std::uint32_t Restart(const wchar_t* name, std::uint32_t code, std::uint32_t pauseMs);

  CGenericfunc m_generic;
  CDeviceUtil m_device;
  OVX_POWER_HANDLER m_handler = nullptr;
};

}  // namespace ovx
