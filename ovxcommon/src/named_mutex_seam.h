// Seam: named mutexes shared by the processes of a session (OpenMutexW,
// CreateMutexW, WaitForSingleObject, ReleaseMutex, CloseHandle).
#pragma once

#include <cstdint>
#include <string>

#include "common/unique_owner.h"

namespace ovx {

using MutexHandle = void*;

// An open mutex, closed through the mutex seam in use.
void CloseNamedMutex(MutexHandle handle) noexcept;
using NamedMutex = common::UniqueOwner<common::ZeroIsEmpty<MutexHandle, &CloseNamedMutex>>;

class INamedMutexes {
 public:
  virtual ~INamedMutexes() = default;
  // Opens the existing mutex with full access, else creates it not owned.
  // A nonzero result is the platform's error.
  virtual std::uint32_t OpenOrCreate(const std::wstring& name, NamedMutex* handle) = 0;
  // Waits without limit; an abandoned mutex counts as obtained (0).
  virtual std::uint32_t Wait(MutexHandle handle) = 0;
  virtual void Release(MutexHandle handle) = 0;
  // Only for NamedMutex and handles given back by a client.
  virtual void Close(MutexHandle handle) = 0;
};

}  // namespace ovx
