#include "no_destructor.h"
#include "platform.h"
#include "std_threads.h"
#include "win32_seams.h"

namespace ovx::platform {

Seams DefaultSeams() {
  static NoDestructor<StdThreadLauncher> threads;
  static NoDestructor<StdSleeper> sleeper;
  return {&win32::Registry(), &win32::DebugOutput(), &win32::Transport(), &win32::Setup(),
          &win32::Mutexes(),  &threads.get(),        &sleeper.get()};
}

}  // namespace ovx::platform
