#include <atomic>

#include "process_exit.h"

namespace {

std::atomic<bool> process_terminating{false};

}  // namespace

#if defined(OVXCAPTURE_BUILD)
// Process detach with a non-null reserved pointer means ExitProcess: the
// loader has already ended every other thread.  Runs before the CRT destroys
// the DLL's static objects.
extern "C" int __stdcall DllMain(void* /*instance*/, unsigned long reason, void* reserved) {
  constexpr unsigned long kProcessDetach = 0;
  if (reason == kProcessDetach && reserved != nullptr) {
    process_terminating.store(true);
  }
  return 1;
}
#endif

namespace ovxsim {

bool ProcessIsTerminating() { return process_terminating.load(); }

}  // namespace ovxsim
