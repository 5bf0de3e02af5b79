#include "platform.h"

#include <atomic>

namespace ovx::platform {
namespace {

struct Current {
  std::atomic<IRegistry*> registry{nullptr};
  std::atomic<IDebugOutput*> debugOutput{nullptr};
  std::atomic<IDeviceTransport*> transport{nullptr};
  std::atomic<IDeviceSetup*> setup{nullptr};
  std::atomic<INamedMutexes*> mutexes{nullptr};
  std::atomic<IThreadLauncher*> threads{nullptr};
  std::atomic<ISleeper*> sleeper{nullptr};
};

template <class T>
void Put(std::atomic<T*>& slot, T* value) {
  if (value != nullptr) slot.store(value, std::memory_order_release);
}

// Null members of s leave the seam in use as it is.
void Fill(Current& c, const Seams& s) {
  Put(c.registry, s.registry);
  Put(c.debugOutput, s.debugOutput);
  Put(c.transport, s.transport);
  Put(c.setup, s.setup);
  Put(c.mutexes, s.mutexes);
  Put(c.threads, s.threads);
  Put(c.sleeper, s.sleeper);
}

Current& Make() {
  static Current current;
  static const bool filled = [] {
    Fill(current, DefaultSeams());
    return true;
  }();
  (void)filled;
  return current;
}

}  // namespace

IRegistry& Registry() { return *Make().registry.load(std::memory_order_acquire); }
IDebugOutput& DebugOutput() { return *Make().debugOutput.load(std::memory_order_acquire); }
IDeviceTransport& Transport() { return *Make().transport.load(std::memory_order_acquire); }
IDeviceSetup& Setup() { return *Make().setup.load(std::memory_order_acquire); }
INamedMutexes& Mutexes() { return *Make().mutexes.load(std::memory_order_acquire); }
IThreadLauncher& Threads() { return *Make().threads.load(std::memory_order_acquire); }
ISleeper& Sleeper() { return *Make().sleeper.load(std::memory_order_acquire); }

void Install(const Seams& s) { Fill(Make(), s); }

void RestoreDefaults() { Install(DefaultSeams()); }

}  // namespace ovx::platform

namespace ovx {

void CloseRegKey(RegKeyHandle key) noexcept { platform::Registry().CloseKey(key); }
void CloseNamedMutex(MutexHandle handle) noexcept { platform::Mutexes().Close(handle); }
void CloseDeviceHandle(DeviceHandle handle) noexcept { platform::Transport().Close(handle); }

}  // namespace ovx
