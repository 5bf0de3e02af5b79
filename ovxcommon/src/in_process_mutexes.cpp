#include "in_process_mutexes.h"

namespace ovx {

std::uint32_t InProcessMutexes::OpenOrCreate(const std::wstring& name, NamedMutex* handle) {
  std::lock_guard lock(tableMutex_);
  std::shared_ptr<Shared> shared = byName_[name].lock();
  if (!shared) {
    shared = std::make_shared<Shared>();
    byName_[name] = shared;
  }
  handle->reset(std::make_unique<Handle>(Handle{std::move(shared)}).release());
  return 0;
}

std::uint32_t InProcessMutexes::Wait(MutexHandle handle) {
  Shared& s = *static_cast<Handle*>(handle)->shared;
  std::unique_lock lock(s.mutex);
  const std::thread::id self = std::this_thread::get_id();
  s.freed.wait(lock, [&] { return s.count == 0 || s.owner == self; });
  s.owner = self;
  ++s.count;
  return 0;
}

void InProcessMutexes::Release(MutexHandle handle) {
  Shared& s = *static_cast<Handle*>(handle)->shared;
  std::lock_guard lock(s.mutex);
  if (s.count == 0 || s.owner != std::this_thread::get_id()) return;
  if (--s.count == 0) {
    s.owner = std::thread::id();
    s.freed.notify_all();
  }
}

void InProcessMutexes::Close(MutexHandle handle) {
  const std::unique_ptr<Handle> owned(static_cast<Handle*>(handle));
}

}  // namespace ovx
