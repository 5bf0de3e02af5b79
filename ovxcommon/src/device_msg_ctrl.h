// One registered message module: its driver queue and its reader thread,
// which hands every device message to the client's handler.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
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
  // Stops the queue and waits for the reader to end. The reader's pending
  // request is cancelled whatever the stop command gave (a request sent just
  // after the queue stopped is never completed by the driver), so this
  // always ends. Called on the reader itself (a handler removing its own
  // module) it does not wait: see EndOnReader.
  std::uint32_t StopRun();

  // True on this module's reader thread.
  bool OnReaderThread() const;
  // After StopRun from the module's own handler: the reader destroys the
  // module once the handler has returned.
  static void EndOnReader(std::unique_ptr<CDeviceMsgCtrl> self);

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
  std::unique_ptr<CDeviceMsgCtrl> m_self;  // only ever touched on the reader thread
};

}  // namespace ovx
