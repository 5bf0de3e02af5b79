#pragma once
// The three version texts of the About box.  A text that cannot be had
// stays empty (the box shows its placeholder).

#include <string>

namespace capture {
class InputManager;
}

namespace app {

struct AboutVersionTexts {
  std::wstring driver;    // the driver's "DriverVersion" text as installed
  std::wstring firmware;  // "a.b.c.d" of the firmware version
  std::wstring api;       // "a.b.c.d" of the capture API version
};

// Without a session (null) every text stays empty: the box then has no
// board to speak of, so not even the driver is looked up.
[[nodiscard]] AboutVersionTexts CollectAboutVersionTexts(capture::InputManager* session);

}  // namespace app
