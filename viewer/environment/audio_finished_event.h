#pragma once
// The pass-through thread's finished event: auto-reset, created not
// signalled.  Shared between the worker (waits) and the thread (sets).

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace environment {

class FinishedEvent {
 public:
  void Set() {
    {
      std::lock_guard guard(lock_);
      signalled_ = true;
    }
    changed_.notify_all();
  }
  // True when set within the time; consumes the signal (auto-reset).
  bool WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(lock_);
    if (!changed_.wait_for(lock, timeout, [this] { return signalled_; })) return false;
    signalled_ = false;
    return true;
  }
  // Like WaitFor, but leaves the signal in place (tests and diagnosis).
  bool PeekFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(lock_);
    return changed_.wait_for(lock, timeout, [this] { return signalled_; });
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  bool signalled_ = false;
};

}  // namespace environment
