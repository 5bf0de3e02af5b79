// Library load and the three factories.
#pragma once

#include "ovxcommon.h"

namespace ovx {

// What process attach does: empty the device list, read "DmaTimeOut" and
// "DebugMask". Never fails.
void OnLibraryLoad() noexcept;

// A new object, or null when it cannot be made (out of memory): no
// exception crosses into the client.
[[nodiscard]] CExportDeviceUtil* NewDeviceUtil() noexcept;
[[nodiscard]] CExportGenericfunc* NewGenericfunc() noexcept;
[[nodiscard]] CExportSystemCtrl* NewSystemCtrl() noexcept;

}  // namespace ovx
