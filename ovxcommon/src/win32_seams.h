// The seams' implementations on the real platform calls (Windows build).
#pragma once

#include "debug_output_seam.h"
#include "device_setup_seam.h"
#include "named_mutex_seam.h"
#include "registry_seam.h"
#include "transport_seam.h"

namespace ovx::win32 {

IRegistry& Registry();
IDebugOutput& DebugOutput();
IDeviceTransport& Transport();
IDeviceSetup& Setup();
INamedMutexes& Mutexes();

}  // namespace ovx::win32
