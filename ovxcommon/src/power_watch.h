// The process-wide power-change watch: one thread that waits for the
// driver's power events and calls the handler it was started with. The
// handler lives here, not in the registering object, so releasing that
// object never leaves the watch calling into a destroyed one.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "ovxcommon.h"

namespace ovx {

class PowerWatch {
 public:
  static PowerWatch& Get();

  enum class StartResult { Started, AlreadyRunning, ThreadFailed };
  StartResult Start(OVX_POWER_HANDLER handler);

  bool Running() const;
  // Waits until no watch runs; false when it still runs after timeoutMs.
  bool WaitUntilEnded(std::uint32_t timeoutMs) const;

 private:
  void Body(OVX_POWER_HANDLER handler);
  void Ended();

  mutable std::mutex mutex_;
  mutable std::condition_variable ended_;
  bool running_ = false;
};

// Driver power event -> handler argument (0: ends the watch).
std::int32_t PowerEventArgument(std::uint32_t eventCode);

}  // namespace ovx
