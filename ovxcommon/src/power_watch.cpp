#include "power_watch.h"

#include <chrono>
#include <thread>

#include "ioctl.h"
#include "no_destructor.h"
#include "platform.h"
#include "send_request.h"
#include "status.h"

namespace ovx {

PowerWatch& PowerWatch::Get() {
  static NoDestructor<PowerWatch> watch;
  return watch.get();
}

std::int32_t PowerEventArgument(std::uint32_t eventCode) {
  switch (eventCode) {
    case 2:
      return 1;
    case 3:
      return 2;
    default:
      return 0;
  }
}

PowerWatch::StartResult PowerWatch::Start(OVX_POWER_HANDLER handler) {
  std::lock_guard lock(mutex_);
  if (running_) return StartResult::AlreadyRunning;
  std::thread thread;
  if (!platform::Threads().Launch([this, handler] { Body(handler); }, &thread))
    return StartResult::ThreadFailed;
  running_ = true;
  // Nobody joins the watch: it ends by itself when its request fails or an
  // unknown event comes.
  thread.detach();
  return StartResult::Started;
}

void PowerWatch::Body(OVX_POWER_HANDLER handler) {
  for (;;) {
    std::uint32_t code = 0;
    const RequestResult r =
        SendRequest(ioctl::IOCTL_WAIT_POWER_EVENT, nullptr, 0, &code, sizeof code, status::kInfinite);
    if (r.status != 0) break;
    const std::int32_t argument = PowerEventArgument(code);
    if (argument == 0) break;
    handler(argument);
  }
  Ended();
}

void PowerWatch::Ended() {
  std::lock_guard lock(mutex_);
  running_ = false;
  ended_.notify_all();
}

bool PowerWatch::Running() const {
  std::lock_guard lock(mutex_);
  return running_;
}

bool PowerWatch::WaitUntilEnded(std::uint32_t timeoutMs) const {
  std::unique_lock lock(mutex_);
  return ended_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !running_; });
}

}  // namespace ovx
