#include <windows.h>

#include "no_destructor.h"
#include "win32_seams.h"

namespace ovx::win32 {
namespace {

class Win32DebugOutput final : public IDebugOutput {
 public:
  void Write(const wchar_t* line) override { OutputDebugStringW(line); }
};

}  // namespace

IDebugOutput& DebugOutput() {
  static NoDestructor<Win32DebugOutput> d;
  return d.get();
}

}  // namespace ovx::win32
