#include "device_msg_ctrl.h"

#include <cstring>

#include "ioctl.h"
#include "platform.h"
#include "status.h"
#include "trace.h"

namespace ovx {
namespace {

std::uint32_t QueueControl(CDeviceUtil& device, std::uint32_t moduleId, std::uint32_t maxQueue,
                           std::uint32_t mode, bool enable) {
  ioctl::QueueControlRecord record{};
  record.ModuleID = moduleId;
  record.MaxQueue = maxQueue;
  record.Mode = mode;
  record.Enable = enable ? 1 : 0;
  std::uint32_t bytes = 0;
  std::uint32_t result = 0;
  device.SendIoControl(ioctl::IOCTL_MESSAGE_QUEUE_CONTROL, &record, sizeof record, nullptr, 0, &bytes,
                       &result, status::kInfinite);
  return result;
}

}  // namespace

CDeviceMsgCtrl::CDeviceMsgCtrl(std::uint32_t moduleId, std::uint32_t maxQueue, std::uint32_t mode,
                               OVX_MESSAGE_HANDLER handler)
    : m_handler(handler), m_moduleId(moduleId), m_maxQueue(maxQueue), m_mode(mode) {}

CDeviceMsgCtrl::~CDeviceMsgCtrl() {
  if (m_thread.joinable() && !OnReaderThread()) StopRun();
}

std::uint32_t CDeviceMsgCtrl::Start() {
  constexpr const wchar_t* kName = L"CDeviceMsgCtrl::Start";
  TraceInfo(kName, L"++");
  const std::uint32_t result = QueueControl(m_device, m_moduleId, m_maxQueue, m_mode, true);
  if (result != 0) TraceError(kName, L"Send command failed: Status = 0x%08X", result);
  TraceInfo(kName, L"--");
  return result;
}

bool CDeviceMsgCtrl::Run() {
  if (platform::Threads().Launch([this] { Runner(); }, &m_thread)) return true;
  TraceError(L"CDeviceMsgCtrl::Run", L"Make thread failed");
  return false;
}

void CDeviceMsgCtrl::Runner() {
  constexpr const wchar_t* kName = L"CDeviceMsgCtrl::Runner";
  TraceInfo(kName, L"++");
  while (!m_stop.load(std::memory_order_acquire)) {
    ioctl::DeviceMessage message{};
    const std::uint32_t module = m_moduleId;
    const RequestResult r = SendRequest(ioctl::IOCTL_GET_MESSAGE, &module, sizeof module, &message,
                                        sizeof message, status::kInfinite, &m_cancel);
    if (r.status != 0) continue;
    TraceInfo(kName, L"Device Message arrived (*^0^*)/");
    std::uint32_t word = 0;
    std::memcpy(&word, message.Bytes + ioctl::kMessageWordOffset, sizeof word);
    m_handler(message.Bytes, word);
  }
  // A handler that removed its own module left it to this thread to end:
  // nothing of the object may be touched after this.
  if (std::unique_ptr<CDeviceMsgCtrl> self = std::move(m_self)) self->m_thread.detach();
}

bool CDeviceMsgCtrl::OnReaderThread() const { return m_thread.get_id() == std::this_thread::get_id(); }

void CDeviceMsgCtrl::EndOnReader(std::unique_ptr<CDeviceMsgCtrl> self) {
  CDeviceMsgCtrl& module = *self;
  module.m_self = std::move(self);
}

std::uint32_t CDeviceMsgCtrl::StopRun() {
  constexpr const wchar_t* kName = L"CDeviceMsgCtrl::StopRun";
  TraceInfo(kName, L"++");
  m_stop.store(true, std::memory_order_release);
  const std::uint32_t result = QueueControl(m_device, m_moduleId, 0, 0, false);
  if (result != 0) TraceError(kName, L"Send command failed: Status = 0x%08X", result);
  // The stop completes the request the reader waits in, but not one it sends
  // right after: cancelling ends that one and refuses any later.
  m_cancel.Cancel();
  if (m_thread.joinable() && !OnReaderThread()) m_thread.join();
  TraceInfo(kName, L"--");
  return result;
}

}  // namespace ovx
