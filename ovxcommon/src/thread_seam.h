// Seam: starting the library's threads, and pausing.
#pragma once

#include <cstdint>
#include <functional>
#include <thread>

namespace ovx {

class IThreadLauncher {
 public:
  virtual ~IThreadLauncher() = default;
  // false when the thread could not be started.
  virtual bool Launch(std::function<void()> body, std::thread* thread) = 0;
};

class ISleeper {
 public:
  virtual ~ISleeper() = default;
  virtual void SleepMs(std::uint32_t ms) = 0;
};

}  // namespace ovx
