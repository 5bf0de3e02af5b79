#pragma once
// The three version texts of the About box.  A text that cannot be had
// stays empty (the box shows its placeholder).

#include <string>

namespace capture {

class InputManager;

struct AboutVersionTexts {
  std::wstring driver;    // the driver's "DriverVersion" text as installed
  std::wstring firmware;  // "a.b.c.d" of the firmware version
  std::wstring api;       // "a.b.c.d" of the capture API version
};

// Without a session (null) the firmware and API texts stay empty; the
// driver's text needs no device and is looked up in any case.
AboutVersionTexts CollectAboutVersionTexts(InputManager* session);

}  // namespace capture
