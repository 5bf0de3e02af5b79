// The real touch calls as this platform answers them; under Wine they are
// not implemented, so points are dropped and the message goes on.
#include <windows.h>

#include <gtest/gtest.h>

#include "input/touch_message.h"
#include "input/touch_reader_win32.h"

using namespace input;  // the code under test

namespace {

struct TouchWindow {
  GestureRecognizerSet set;
  int began = 0;
  bool defaultProcessing = false;
};

LRESULT CALLBACK TouchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<TouchWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_TOUCH && state != nullptr) {
    Win32TouchReader reader;
    HandleTouchMessage(reader, static_cast<TouchInputHandle>(lParam), LOWORD(wParam),
                       app::Rect{0, 0, 10000, 10000}, state->set);
    state->defaultProcessing = true;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST(Win32TouchReader, UnreadablePointsAreDroppedAndTheMessageGoesOn) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = TouchProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TavrinTouchTest";
  ASSERT_NE(RegisterClassW(&wc), 0);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"touch", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                              wc.hInstance, nullptr);
  ASSERT_NE(hwnd, nullptr);
  TouchWindow state;
  state.set.SetSlideBeganHandler([&](SlideEventArgs) { ++state.began; });
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));

  Win32TouchReader reader;
  TouchPoint out[2];
  SetLastError(0);
  const bool read = reader.Read(0x1000, out);
  const DWORD error = GetLastError();
  EXPECT_FALSE(read) << "a made-up handle must not read";
  // Wine does not implement touch input; the tablet's system rejects the handle.
  EXPECT_TRUE(error == ERROR_CALL_NOT_IMPLEMENTED || error == ERROR_INVALID_HANDLE) << error;

  SendMessageW(hwnd, WM_TOUCH, MAKEWPARAM(1, 0), 0x1000);
  EXPECT_EQ(state.began, 0);
  EXPECT_TRUE(state.defaultProcessing);
  EXPECT_EQ(state.set.Slide().State(), kGestureIdle);
  // A made-up handle is closed without harm.
  reader.Close(0x1000);

  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
}
