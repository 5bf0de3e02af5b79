// Which implementation stands behind each seam. The defaults are the real
// platform calls on Windows; tests put fakes in their place.
#pragma once

#include "debug_output_seam.h"
#include "device_setup_seam.h"
#include "named_mutex_seam.h"
#include "registry_seam.h"
#include "thread_seam.h"
#include "transport_seam.h"

namespace ovx {

struct Seams {
  IRegistry* registry = nullptr;
  IDebugOutput* debugOutput = nullptr;
  IDeviceTransport* transport = nullptr;
  IDeviceSetup* setup = nullptr;
  INamedMutexes* mutexes = nullptr;
  IThreadLauncher* threads = nullptr;
  ISleeper* sleeper = nullptr;
};

namespace platform {

IRegistry& Registry();
IDebugOutput& DebugOutput();
IDeviceTransport& Transport();
IDeviceSetup& Setup();
INamedMutexes& Mutexes();
IThreadLauncher& Threads();
ISleeper& Sleeper();

// Replaces the seams that are non-null in seams; the objects must outlive
// their use.
void Install(const Seams& seams);
// Back to the platform defaults.
void RestoreDefaults();

// The defaults of this build (platform_win32.cpp / platform_native.cpp).
Seams DefaultSeams();

}  // namespace platform
}  // namespace ovx
