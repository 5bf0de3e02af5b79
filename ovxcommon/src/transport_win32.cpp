#include <windows.h>

#include "common/win32/unique_handle.h"
#include "no_destructor.h"
#include "win32_seams.h"

namespace ovx::win32 {
namespace {

HANDLE AsHandle(DeviceHandle h) { return reinterpret_cast<HANDLE>(h); }

class Win32Operation final : public IIoOperation {
 public:
  Win32Operation(HANDLE device, ::win32::UniqueKernelHandle event)
      : device_(device), event_(std::move(event)) {
    overlapped_.hEvent = event_.get();
  }
  Win32Operation(const Win32Operation&) = delete;
  Win32Operation& operator=(const Win32Operation&) = delete;

  IoIssue Issue(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
                std::uint32_t outSize) override {
    DWORD bytes = 0;
    if (DeviceIoControl(device_, code, const_cast<void*>(in), inSize, out, outSize, &bytes, &overlapped_))
      return {IoIssue::Kind::Completed, bytes, 0};
    const DWORD error = GetLastError();
    if (error == ERROR_IO_PENDING) return {IoIssue::Kind::Pending, 0, 0};
    return {IoIssue::Kind::Failed, 0, error};
  }
  bool Wait(std::uint32_t timeoutMs) override {
    return WaitForSingleObject(event_.get(), timeoutMs) == WAIT_OBJECT_0;
  }
  void Cancel() override { CancelIo(device_); }
  void CancelFromOtherThread() override { CancelIoEx(device_, &overlapped_); }
  IoCompletion Collect() override {
    DWORD bytes = 0;
    GetOverlappedResult(device_, &overlapped_, &bytes, FALSE);
    return {bytes, static_cast<std::uint32_t>(overlapped_.Internal)};
  }

 private:
  HANDLE device_;
  ::win32::UniqueKernelHandle event_;
  OVERLAPPED overlapped_{};
};

class Win32Transport final : public IDeviceTransport {
 public:
  OpenResult Open(const std::wstring& path) override {
    ::win32::UniqueFile h(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr));
    if (!h) return {DeviceOwner(), GetLastError()};
    return {DeviceOwner(reinterpret_cast<DeviceHandle>(h.release())), 0};
  }
  void Close(DeviceHandle handle) override { CloseHandle(AsHandle(handle)); }
  std::uint32_t NewOperation(DeviceHandle handle, std::unique_ptr<IIoOperation>* op) override {
    ::win32::UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event) {
      const DWORD error = GetLastError();
      return error != 0 ? error : ERROR_NOT_ENOUGH_MEMORY;
    }
    *op = std::make_unique<Win32Operation>(AsHandle(handle), std::move(event));
    return 0;
  }
};

}  // namespace

IDeviceTransport& Transport() {
  static NoDestructor<Win32Transport> t;
  return t.get();
}

}  // namespace ovx::win32
