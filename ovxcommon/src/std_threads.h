// Thread and pause seams on the standard library (both builds).
#pragma once

#include "thread_seam.h"

namespace ovx {

class StdThreadLauncher final : public IThreadLauncher {
 public:
  bool Launch(std::function<void()> body, std::thread* thread) override;
};

class StdSleeper final : public ISleeper {
 public:
  void SleepMs(std::uint32_t ms) override;
};

}  // namespace ovx
