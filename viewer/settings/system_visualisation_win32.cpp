#include "settings/system_visualisation.h"

#include <windows.h>

#include <cstdint>

namespace settings {

namespace {

constexpr UINT kGetContact = 8216;
constexpr UINT kSetContact = 8217;
constexpr UINT kGetGesture = 8218;
constexpr UINT kSetGesture = 8219;
constexpr UINT kUpdateAndBroadcast = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;

class Win32Visualisation final : public SystemVisualisation {
 public:
  bool Get(Visualisation which, unsigned long& value) override {
    DWORD data = static_cast<DWORD>(value);
    const UINT action = which == Visualisation::Contact ? kGetContact : kGetGesture;
    if (!SystemParametersInfoW(action, 0, &data, 0)) return false;
    value = data;
    return true;
  }

  bool Set(Visualisation which, unsigned long value) override {
    const UINT action = which == Visualisation::Contact ? kSetContact : kSetGesture;
    // The new value travels in the pointer parameter itself.
    void* param = reinterpret_cast<void*>(static_cast<uintptr_t>(value));
    return SystemParametersInfoW(action, 0, param, kUpdateAndBroadcast) != FALSE;
  }
};

}  // namespace

SystemVisualisation& PlatformVisualisation() {
  static Win32Visualisation visualisation;
  return visualisation;
}

}  // namespace settings
