#include "capture/reporting/api_log.h"

#include <atomic>
#include <mutex>

#include "capture/reporting/capture_services.h"

namespace capture {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

struct LogState {
  std::atomic<int32_t> on{0};
  std::mutex lock;  // every line is written while holding it
  FilePtr file;
  std::atomic<bool> open{false};
};

LogState& State() {
  static LogState state;
  return state;
}

}  // namespace

void ApiLog::SetSwitch(int32_t value) { State().on.store(value, std::memory_order_relaxed); }
bool ApiLog::SwitchOn() { return State().on.load(std::memory_order_relaxed) != 0; }
bool ApiLog::IsOpen() { return State().open.load(std::memory_order_acquire); }

void ApiLog::Open() {
  if (!SwitchOn()) return;
  LogFolder& folder = *Services().logFolder;
  const auto desktop = folder.DesktopPath();
  if (!desktop || desktop->empty()) return;
  const std::string dir = *desktop + kSeparator + kLogFolderName;
  if (!folder.IsDirectory(dir) && !folder.CreateDirectory(dir)) return;
  FilePtr file = folder.OpenAppend(dir + kSeparator + kLogFileName);
  if (!file) return;
  std::lock_guard guard(State().lock);
  State().file = std::move(file);
  State().open.store(true, std::memory_order_release);
}

void ApiLog::Close() {
  if (!SwitchOn()) return;
  std::lock_guard guard(State().lock);
  State().open.store(false, std::memory_order_release);
  State().file.reset();
}

void ApiLog::Write(int32_t status, const char* function, const std::string& args) {
  if (!SwitchOn()) return;
  const LocalTime now = Services().clock->Now();
  const std::string stamp = TimeStampText(now);
  const std::string head = StatusText(status, function);
  std::lock_guard guard(State().lock);
  std::FILE* file = State().file.get();
  if (file == nullptr) return;
  std::fputs(stamp.c_str(), file);
  std::fputs(head.c_str(), file);
  std::fputs(args.c_str(), file);
  std::fputs("\n", file);
}

}  // namespace capture
