#pragma once
// Waits for a condition that another thread makes true, with a limit far
// above any normal delay, so that a loaded machine cannot fail a test.

#include <chrono>
#include <thread>

namespace testsupport {

template <class Condition>
bool Eventually(Condition condition) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < limit) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return condition();
}

}  // namespace testsupport
