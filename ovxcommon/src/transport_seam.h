// Seam: the driver's device handle and overlapped I/O control requests
// (CreateFileW, CreateEventW, DeviceIoControl, WaitForSingleObject, CancelIo,
// CancelIoEx, GetOverlappedResult, CloseHandle).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/unique_owner.h"

namespace ovx {

using DeviceHandle = std::uintptr_t;  // 0: no device

struct IoIssue {
  enum class Kind { Completed, Pending, Failed };
  Kind kind = Kind::Failed;
  std::uint32_t bytes = 0;  // Completed
  std::uint32_t error = 0;  // Failed: the platform's error code
};

struct IoCompletion {
  std::uint32_t bytes = 0;
  std::uint32_t status = 0;  // the driver's completion status (NTSTATUS), 0 on success
};

// One request with its own completion event; destroying it closes the event.
class IIoOperation {
 public:
  virtual ~IIoOperation() = default;
  virtual IoIssue Issue(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
                        std::uint32_t outSize) = 0;
  // true when the completion event was signalled within timeoutMs
  // (0xFFFFFFFF waits without limit).
  virtual bool Wait(std::uint32_t timeoutMs) = 0;
  // Cancels the calling thread's requests on the handle.
  virtual void Cancel() = 0;
  // Cancels this request from any thread.
  virtual void CancelFromOtherThread() = 0;
  virtual IoCompletion Collect() = 0;
};

// An open device, closed through the transport seam in use.
void CloseDeviceHandle(DeviceHandle handle) noexcept;
using DeviceOwner = common::UniqueOwner<common::ZeroIsEmpty<DeviceHandle, &CloseDeviceHandle>>;

struct OpenResult {
  DeviceOwner handle;
  std::uint32_t error = 0;
};

class IDeviceTransport {
 public:
  virtual ~IDeviceTransport() = default;
  virtual OpenResult Open(const std::wstring& path) = 0;
  // Only for DeviceOwner.
  virtual void Close(DeviceHandle handle) = 0;
  // Makes the operation and its event; a nonzero result is the platform's
  // error and no operation exists.
  virtual std::uint32_t NewOperation(DeviceHandle handle, std::unique_ptr<IIoOperation>* op) = 0;
};

}  // namespace ovx
