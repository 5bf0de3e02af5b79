#include "library.h"

#include <memory>

#include "device_util.h"
#include "genericfunc.h"
#include "process_state.h"
#include "reg_ctrl.h"
#include "system_ctrl.h"

namespace ovx {

void OnLibraryLoad() {
  ProcessState& state = ProcessState::Get();
  state.ClearDeviceList();
  state.dmaTimeoutMs.store(ReadDwordOr(L"DmaTimeOut", ProcessState::kDefaultDmaTimeoutMs));
  state.traceMask.store(ReadDwordOr(L"DebugMask", 0));
}

// Ownership passes to the client, which gives it back with Release().
CExportDeviceUtil* NewDeviceUtil() { return std::make_unique<CDeviceUtil>().release(); }
CExportGenericfunc* NewGenericfunc() { return std::make_unique<CGenericfunc>().release(); }
CExportSystemCtrl* NewSystemCtrl() { return std::make_unique<CSystemCtrl>().release(); }

}  // namespace ovx
