#include "input/touch_reader_win32.h"

#include <windows.h>

#include <vector>

namespace input {

static_assert(sizeof(TOUCHINPUT) == 48, "the record size the platform call is given");

bool Win32TouchReader::Read(TouchInputHandle handle, std::span<TouchPoint> out) {
  if (out.empty()) return true;
  std::vector<TOUCHINPUT> records(out.size());
  if (!GetTouchInputInfo(reinterpret_cast<HTOUCHINPUT>(handle), static_cast<UINT>(records.size()),
                         records.data(), static_cast<int>(sizeof(TOUCHINPUT)))) {
    return false;
  }
  for (size_t i = 0; i < records.size(); ++i) {
    out[i] = TouchPoint{records[i].x, records[i].y, records[i].dwFlags};
  }
  return true;
}

void Win32TouchReader::Close(TouchInputHandle handle) {
  CloseTouchInputHandle(reinterpret_cast<HTOUCHINPUT>(handle));
}

}  // namespace input
