#include <windows.h>

#include "common/win32/unique_handle.h"
#include "no_destructor.h"
#include "win32_seams.h"

namespace ovx::win32 {
namespace {

class Win32Mutexes final : public INamedMutexes {
 public:
  std::uint32_t OpenOrCreate(const std::wstring& name, NamedMutex* handle) override {
    ::win32::UniqueKernelHandle h(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name.c_str()));
    if (!h) h.reset(CreateMutexW(nullptr, FALSE, name.c_str()));
    handle->reset(h.release());
    if (*handle) return 0;
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_INVALID_HANDLE;
  }
  std::uint32_t Wait(MutexHandle handle) override {
    const DWORD r = WaitForSingleObject(handle, INFINITE);
    if (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED) return 0;
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_INVALID_HANDLE;
  }
  void Release(MutexHandle handle) override { ReleaseMutex(handle); }
  void Close(MutexHandle handle) override { CloseHandle(handle); }
};

}  // namespace

INamedMutexes& Mutexes() {
  static NoDestructor<Win32Mutexes> m;
  return m.get();
}

}  // namespace ovx::win32
