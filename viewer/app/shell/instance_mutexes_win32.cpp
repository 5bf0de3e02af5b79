#include "app/shell/instance_mutexes_win32.h"

namespace shell {

Win32InstanceMutexes::~Win32InstanceMutexes() {
  for (HANDLE h : handles_) CloseHandle(h);
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
  HANDLE handle = CreateMutexW(&attributes, TRUE, name.c_str());
  const DWORD error = GetLastError();
  if (handle == nullptr) return false;
  handles_.push_back(handle);
  return error != ERROR_ALREADY_EXISTS;
}

}  // namespace shell
