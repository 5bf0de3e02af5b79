#pragma once
// Named mutexes that anyone on the machine may open (null access list).
#include <windows.h>

#include <vector>

#include "app/instance_claim.h"
#include "common/win32/unique_handle.h"

namespace shell {

class Win32InstanceMutexes : public app::InstanceMutexes {
 public:
  Win32InstanceMutexes() = default;
  Win32InstanceMutexes(const Win32InstanceMutexes&) = delete;
  Win32InstanceMutexes& operator=(const Win32InstanceMutexes&) = delete;
  // Closes the handles in the order they were created.
  ~Win32InstanceMutexes() override;

  bool CreateFirst(const std::wstring& name) override;

 private:
  std::vector<win32::UniqueKernelHandle> handles_;
};

}  // namespace shell
