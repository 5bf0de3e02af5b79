#include "handler_table.h"

#include <new>

#include "no_destructor.h"
#include "status.h"
#include "trace.h"

namespace ovx {
namespace {
constexpr const wchar_t* kRegister = L"CGenericfunc::generic_register_handler";
constexpr const wchar_t* kRemove = L"CGenericfunc::generic_remove_handler";
}  // namespace

HandlerTable& HandlerTable::Get() {
  static NoDestructor<HandlerTable> table;
  return table.get();
}

std::uint32_t HandlerTable::Register(std::uint32_t moduleId, std::uint32_t maxQueue, std::uint32_t mode,
                                     OVX_MESSAGE_HANDLER handler) {
  if (handler == nullptr) {
    TraceError(kRegister, L"Invalid Parameter");
    return status::kInvalidParameter;
  }
  // The id is reserved (an empty entry) while the module starts, so that a
  // concurrent registration of the same id is refused, not started twice.
  {
    std::lock_guard lock(mutex_);
    if (!modules_.try_emplace(moduleId).second) {
      TraceError(kRegister, L"Module ID is already registerd ...(-v-)?");
      return status::kInvalidParameter;
    }
  }
  std::unique_ptr<CDeviceMsgCtrl> module;
  std::uint32_t result = status::kSuccess;
  try {
    module = std::make_unique<CDeviceMsgCtrl>(moduleId, maxQueue, mode, handler);
  } catch (const std::bad_alloc&) {
    TraceError(kRegister, L"Make device class instance faild");
    result = status::kNotEnoughMemory;
  }
  if (module) {
    if (result = module->Start(); result != 0) {
      TraceError(kRegister, L"Start failed");
    } else if (!module->Run()) {
      TraceError(kRegister, L"Run thread failed");
      result = status::kNotEnoughMemory;
    }
  }
  std::lock_guard lock(mutex_);
  if (result == 0) {
    modules_[moduleId] = std::move(module);
  } else {
    modules_.erase(moduleId);
  }
  return result;
}

std::uint32_t HandlerTable::Remove(std::uint32_t moduleId) {
  std::unique_ptr<CDeviceMsgCtrl> module;
  {
    std::lock_guard lock(mutex_);
    const auto it = modules_.find(moduleId);
    if (it != modules_.end() && it->second) {
      module = std::move(it->second);
      modules_.erase(it);
    }
  }
  if (!module) {
    TraceError(kRemove, L"Target device is not found (><;)");
    return status::kInvalidParameter;
  }
  // Stopping waits for the reader, which may call into the library: never
  // under the table's lock.
  const std::uint32_t result = module->StopRun();
  if (result != 0) TraceError(kRemove, L"Stop failed");
  // A handler removing its own module cannot wait for its own thread: the
  // reader ends the module when the handler returns.
  if (module->OnReaderThread()) CDeviceMsgCtrl::EndOnReader(std::move(module));
  return result;
}

bool HandlerTable::Contains(std::uint32_t moduleId) const {
  std::lock_guard lock(mutex_);
  return modules_.count(moduleId) != 0;
}

std::size_t HandlerTable::Count() const {
  std::lock_guard lock(mutex_);
  return modules_.size();
}

}  // namespace ovx
