#pragma once
// The platform's touch calls.
#include "input/touch_reader.h"

namespace input {

class Win32TouchReader final : public TouchReader {
 public:
  [[nodiscard]] bool Read(TouchInputHandle handle, std::span<TouchPoint> out) override;
  void Close(TouchInputHandle handle) override;
};

}  // namespace input
