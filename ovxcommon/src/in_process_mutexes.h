// Named mutexes within one process, with the platform's semantics (owned by
// a thread, recursive, open-or-create by name): the named-mutex seam where
// the platform has none.
#pragma once

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "named_mutex_seam.h"

namespace ovx {

class InProcessMutexes final : public INamedMutexes {
 public:
  std::uint32_t OpenOrCreate(const std::wstring& name, NamedMutex* handle) override;
  std::uint32_t Wait(MutexHandle handle) override;
  void Release(MutexHandle handle) override;
  void Close(MutexHandle handle) override;

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable freed;
    std::thread::id owner;
    unsigned count = 0;
  };
  struct Handle {
    std::shared_ptr<Shared> shared;
  };

  std::mutex tableMutex_;
  std::map<std::wstring, std::weak_ptr<Shared>> byName_;
};

}  // namespace ovx
