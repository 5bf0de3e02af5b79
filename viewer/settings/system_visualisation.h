#pragma once

namespace settings {
// The system's touch-feedback switches (contact and gesture visualisation).

enum class Visualisation { Contact, Gesture };

class SystemVisualisation {
 public:
  virtual ~SystemVisualisation() = default;
  // Reads the current value into value; leaves it untouched on failure.
  virtual bool Get(Visualisation which, unsigned long& value) = 0;
  // Sets the value, stores it in the user profile and broadcasts the change.
  virtual bool Set(Visualisation which, unsigned long value) = 0;
};

// The system's switches; a native build has none (every call fails).
SystemVisualisation& PlatformVisualisation();

}  // namespace settings
