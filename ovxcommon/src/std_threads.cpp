#include "std_threads.h"

#include <chrono>
#include <system_error>

namespace ovx {

bool StdThreadLauncher::Launch(std::function<void()> body, std::thread* thread) {
  try {
    *thread = std::thread(std::move(body));
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void StdSleeper::SleepMs(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace ovx
