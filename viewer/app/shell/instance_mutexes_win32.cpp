#include "app/shell/instance_mutexes_win32.h"

namespace shell {

Win32InstanceMutexes::~Win32InstanceMutexes() {
  for (win32::UniqueKernelHandle& h : handles_) h.reset();
}

bool Win32InstanceMutexes::CreateFirst(const std::wstring& name) {
  SetLastError(ERROR_SUCCESS);
  SECURITY_DESCRIPTOR descriptor;
  if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE)) {
    return false;
  }
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, TRUE};
  SetLastError(ERROR_SUCCESS);
  win32::UniqueKernelHandle handle(CreateMutexW(&attributes, TRUE, name.c_str()));
  const DWORD error = GetLastError();
  if (!handle) return false;
  handles_.push_back(std::move(handle));
  return error != ERROR_ALREADY_EXISTS;
}

}  // namespace shell
