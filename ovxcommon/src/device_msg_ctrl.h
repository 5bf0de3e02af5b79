// One registered message module: its driver queue and its reader thread,
// which hands every device message to the client's handler.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "device_util.h"
#include "ovxcommon.h"
#include "send_request.h"

namespace ovx {

class CDeviceMsgCtrl {
 public:
  CDeviceMsgCtrl(std::uint32_t moduleId, std::uint32_t maxQueue, std::uint32_t mode,
                 OVX_MESSAGE_HANDLER handler);
  ~CDeviceMsgCtrl();  // stops a reader that still runs
  CDeviceMsgCtrl(const CDeviceMsgCtrl&) = delete;
  CDeviceMsgCtrl& operator=(const CDeviceMsgCtrl&) = delete;

  // Starts the module's queue in the driver.
  std::uint32_t Start();
  // Starts the reader thread.
  bool Run();
  // Stops the queue and waits for the reader to end. When the stop command
  // fails the reader's pending request is cancelled, so this always ends.
  std::uint32_t StopRun();

 private:
  void Runner();

  OVX_MESSAGE_HANDLER m_handler;
  std::uint32_t m_moduleId;
  std::uint32_t m_maxQueue;
  std::uint32_t m_mode;
  std::thread m_thread;
  std::atomic<bool> m_stop{false};
  CDeviceUtil m_device;
  IoCancelSlot m_cancel;
};

}  // namespace ovx
