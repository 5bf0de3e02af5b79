// The real touch calls as this platform answers them; under Wine they are
// not implemented, so points are dropped and the message goes on.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "common/win32/unique_handle.h"
#include "input/touch_message.h"
#include "input/touch_reader_win32.h"
#include "play_fakes.h"

using namespace input;  // the code under test

namespace {

// A hidden popup of a class of its own that `procedure` serves.
struct TestWindow {
  TestWindow(WNDPROC procedure, const wchar_t* className) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    registered = win32::RegisterWindowClass(wc);
    if (registered)
      window.reset(CreateWindowExW(0, className, L"touch", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                   wc.hInstance, nullptr));
  }
  win32::UniqueWindowClass registered;
  win32::UniqueWindow window;
};

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
  TestWindow touch(TouchProc, L"TavrinTouchTest");
  ASSERT_TRUE(touch.window);
  HWND hwnd = touch.window.get();
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
  touch.window.reset();
}

namespace {

// Points of our choosing for the handle the message carries.
class InjectedReader final : public TouchReader {
 public:
  std::vector<std::vector<TouchPoint>> messages;  // by handle
  std::vector<TouchInputHandle> closed;
  bool Read(TouchInputHandle handle, std::span<TouchPoint> out) override {
    if (handle >= messages.size() || messages[handle].size() != out.size()) return false;
    std::copy(messages[handle].begin(), messages[handle].end(), out.begin());
    return true;
  }
  void Close(TouchInputHandle handle) override { closed.push_back(handle); }
};

struct InjectedWindow {
  InjectedReader reader;
  play_test::PlayRig rig{app::Rect{100, 100, 1100, 600}};
};

LRESULT CALLBACK InjectedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<InjectedWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_TOUCH && state != nullptr) {
    state->rig.view.OnTouch(state->reader, static_cast<TouchInputHandle>(lParam), LOWORD(wParam));
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST(Win32TouchMessage, InjectedPointsThroughTheWindowProcedureZoom) {
  TestWindow touch(InjectedProc, L"TavrinTouchInjected");
  ASSERT_TRUE(touch.window);
  HWND hwnd = touch.window.get();
  InjectedWindow state;
  // Two fingers 100 px apart, then 200: twice the zoom about their midpoint;
  // then both leave the video, which ends the pinch.
  state.reader.messages = {{},
                           {{50000, 35000, kTouchDown}, {60000, 35000, kTouchDown}},
                           {{45000, 35000, kTouchMove}, {65000, 35000, kTouchMove}},
                           {{5000, 35000, kTouchMove}, {5000, 36000, kTouchMove}}};
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  for (WPARAM handle = 1; handle <= 3; ++handle) SendMessageW(hwnd, WM_TOUCH, MAKEWPARAM(2, 0), handle);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  touch.window.reset();

  ASSERT_EQ(state.rig.frame.zooms.size(), 2u);
  EXPECT_EQ(state.rig.frame.zooms[0].zoom, 2.0);
  EXPECT_DOUBLE_EQ(state.rig.frame.zooms[0].centre->x, 0.5 + (0.45 - 0.5) / 2.0);
  EXPECT_EQ(state.reader.closed, (std::vector<TouchInputHandle>{1, 2, 3}));
  EXPECT_EQ(state.rig.check.state, 1u);
}
