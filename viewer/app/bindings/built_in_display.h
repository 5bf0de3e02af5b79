#pragma once
// The built-in display: found once by name, probed again whenever the frame
// needs its current set-up.
#include <string>

#include "app/frame_ports.h"

namespace app {

class BuiltInDisplay {
 public:
  // Looks the display up on the platform (once for the life of the object).
  BuiltInDisplay();
  explicit BuiltInDisplay(std::wstring name) : name_(std::move(name)) {}

  const std::wstring& Name() const { return name_; }
  // Work area, monitor rectangle, angle and mode; each probe that fails
  // leaves its fields alone.  true when all four succeeded.
  bool Probe(DisplayState& display) const;

 private:
  std::wstring name_;
};

}  // namespace app
