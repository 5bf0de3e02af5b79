// Library load and the three factories.
#pragma once

#include "ovxcommon.h"

namespace ovx {

// What process attach does: empty the device list, read "DmaTimeOut" and
// "DebugMask". Never fails.
void OnLibraryLoad();

CExportDeviceUtil* NewDeviceUtil();
CExportGenericfunc* NewGenericfunc();
CExportSystemCtrl* NewSystemCtrl();

}  // namespace ovx
