#include "library.h"

#include <memory>

#include "boundary.h"
#include "device_util.h"
#include "genericfunc.h"
#include "process_state.h"
#include "reg_ctrl.h"
#include "system_ctrl.h"

namespace ovx {

namespace {

// Ownership passes to the client, which gives it back with Release(). No
// exception may reach the client: an object that cannot be made is null.
template <class Object>
Object* New() noexcept {
  try {
    return std::make_unique<Object>().release();
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

void OnLibraryLoad() noexcept {
  ProcessState& state = ProcessState::Get();
  state.ClearDeviceList();
  std::uint32_t dmaTimeout = ProcessState::kDefaultDmaTimeoutMs;
  std::uint32_t mask = 0;
  // Loading never fails: a read that runs out of memory keeps the default.
  (void)Guarded([&] { return (dmaTimeout = ReadDwordOr(L"DmaTimeOut", dmaTimeout)), status::kSuccess; });
  (void)Guarded([&] { return (mask = ReadDwordOr(L"DebugMask", 0)), status::kSuccess; });
  state.dmaTimeoutMs.store(dmaTimeout);
  state.traceMask.store(mask);
}

CExportDeviceUtil* NewDeviceUtil() noexcept { return New<CDeviceUtil>(); }
CExportGenericfunc* NewGenericfunc() noexcept { return New<CGenericfunc>(); }
CExportSystemCtrl* NewSystemCtrl() noexcept { return New<CSystemCtrl>(); }

}  // namespace ovx
