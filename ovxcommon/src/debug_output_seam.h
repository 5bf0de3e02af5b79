// Seam: the platform's debug output (OutputDebugStringW).
#pragma once

namespace ovx {

class IDebugOutput {
 public:
  virtual ~IDebugOutput() = default;
  virtual void Write(const wchar_t* line) = 0;
};

}  // namespace ovx
