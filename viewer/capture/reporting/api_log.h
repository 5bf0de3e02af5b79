#pragma once
// The API call log: with the ApiLog setting on, every capture call leaves
// one line in "log\mira5api.log" on the user's Desktop.  Process-wide; lines
// of different threads never mix.

#include <cstdint>
#include <string>

namespace capture {

class ApiLog {
 public:
  // The switch is set once, before the session is built.
  static void SetSwitch(int32_t value);
  [[nodiscard]] static bool SwitchOn();

  // Any failure leaves the file closed and logging silently off.
  static void Open();
  static void Close();
  [[nodiscard]] static bool IsOpen();

  // Only when the switch is on and the file open.
  static void Write(int32_t status, const char* function, const std::string& args);
  [[nodiscard]] static bool Active() { return SwitchOn() && IsOpen(); }
};

inline constexpr const char* kLogFolderName = "log";
inline constexpr const char* kLogFileName = "mira5api.log";

}  // namespace capture
