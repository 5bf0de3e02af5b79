// The overlap check on the real screen: own windows painted in the key
// colour, covered by another window.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>

#include "common/win32/unique_handle.h"
#include "overlap/key_colour.h"
#include "overlap/overlap_compare.h"
#include "overlap/overlap_watch_state.h"

using namespace overlap;  // the code under test

namespace {

constexpr int kLeft = 1250, kTop = 650, kWidth = 400, kHeight = 300;
constexpr int kCoverX = 50, kCoverY = 40, kCoverWidth = 100, kCoverHeight = 80;
const PixelRect kWatched{kLeft, kTop, kLeft + kWidth, kTop + kHeight};

// Keeps the class's name for the windows made of it.
class WindowClass {
 public:
  WindowClass(const wchar_t* name, HBRUSH background) : name_(name) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    registered_ = win32::RegisterWindowClass(wc);
  }
  const wchar_t* Name() const { return name_; }

 private:
  const wchar_t* name_;
  win32::UniqueWindowClass registered_;
};

win32::UniqueWindow ShownWindow(const WindowClass& cls, int x, int y, int w, int h) {
  win32::UniqueWindow window(CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, cls.Name(), L"", WS_POPUP, x,
                                             y, w, h, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (window) {
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.get());
  }
  return window;
}

void PumpAndPaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  GdiFlush();
}

// Repeats the waiting check until it gives the wanted answer (the X server
// maps and paints the windows on its own time), at most 10 s.
uint32_t EventuallyChecks(uint32_t wanted, const PixelRect& exclusion, HWND paint) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  uint32_t answer = 0;
  do {
    PumpAndPaint(paint);
    answer = CheckOverlap(kWatched, exclusion, false);
    if (answer == wanted) break;
    Sleep(20);
  } while (std::chrono::steady_clock::now() < limit);
  return answer;
}

class OverlapScreenTest : public ::testing::Test {
 protected:
  const win32::UniqueBrush keyBrush{CreateSolidBrush(KeyColour)};
  const win32::UniqueBrush redBrush{CreateSolidBrush(RGB(255, 0, 0))};
  WindowClass keyClass{L"TavrinOverlapTestKey", keyBrush.get()};
  WindowClass coverClass{L"TavrinOverlapTestCover", redBrush.get()};
  const win32::UniqueWindow view = ShownWindow(keyClass, kLeft, kTop, kWidth, kHeight);
};

TEST_F(OverlapScreenTest, KeyColouredWindowIsClearAndACoveringWindowCovers) {
  ASSERT_NE(view.get(), nullptr);
  EXPECT_EQ(EventuallyChecks(kOverlapClear, PixelRect{}, view.get()), kOverlapClear);

  const win32::UniqueWindow cover =
      ShownWindow(coverClass, kLeft + kCoverX, kTop + kCoverY, kCoverWidth, kCoverHeight);
  ASSERT_NE(cover.get(), nullptr);
  PumpAndPaint(cover.get());
  EXPECT_EQ(EventuallyChecks(kOverlapCovered, PixelRect{}, cover.get()), kOverlapCovered);
  // Ignoring the covered part, in the view's own coordinates, is clear.
  const PixelRect covered{kCoverX, kCoverY, kCoverX + kCoverWidth, kCoverY + kCoverHeight};
  EXPECT_EQ(CheckOverlap(kWatched, covered, false), kOverlapClear);

  // Moved away from the view: clear again.
  SetWindowPos(cover.get(), nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(EventuallyChecks(kOverlapClear, PixelRect{}, view.get()), kOverlapClear);
  // And back over it.
  SetWindowPos(cover.get(), HWND_TOPMOST, kLeft + kCoverX, kTop + kCoverY, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(EventuallyChecks(kOverlapCovered, PixelRect{}, cover.get()), kOverlapCovered);
}

TEST_F(OverlapScreenTest, CaptureIsBottomUpAndExact) {
  ASSERT_NE(view.get(), nullptr);
  const win32::UniqueWindow cover =
      ShownWindow(coverClass, kLeft + kCoverX, kTop + kCoverY, kCoverWidth, kCoverHeight);
  ASSERT_EQ(EventuallyChecks(kOverlapCovered, PixelRect{}, cover.get()), kOverlapCovered);

  const std::unique_ptr<CapturedImage> image = PlatformScreenCapture().Capture(kWatched);
  ASSERT_NE(image, nullptr);
  const ImageView pixels = image->View();
  ASSERT_EQ(pixels.width, kWidth);
  ASSERT_EQ(pixels.height, kHeight);
  ASSERT_EQ(pixels.bitsPerPixel, 24u);
  int red = 0, key = 0;
  for (int row = 0; row < kHeight; ++row) {
    const uint8_t* line = pixels.bits + static_cast<size_t>(row) * pixels.stride;
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t* p = line + x * 3;
      const int y = kHeight - 1 - row;  // picture row
      const bool inCover =
          x >= kCoverX && x < kCoverX + kCoverWidth && y >= kCoverY && y < kCoverY + kCoverHeight;
      if (p[0] == 0 && p[1] == 0 && p[2] == 255 && inCover) ++red;
      if (p[0] == kKeyBlue && p[1] == kKeyGreen && p[2] == kKeyRed && !inCover) ++key;
    }
  }
  EXPECT_EQ(red, kCoverWidth * kCoverHeight);
  EXPECT_EQ(key, kWidth * kHeight - kCoverWidth * kCoverHeight);
}

TEST(OverlapScreen, UnusableAreasGiveNoImage) {
  ScreenCapture& screen = PlatformScreenCapture();
  const int right = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  EXPECT_EQ(screen.Capture(PixelRect{10, 10, 10, 20}), nullptr);
  EXPECT_EQ(screen.Capture(PixelRect{20, 10, 10, 20}), nullptr);
  EXPECT_EQ(screen.Capture(PixelRect{right + 10, 0, right + 50, 40}), nullptr);
  EXPECT_EQ(screen.Capture(PixelRect{-5000, -5000, -4000, -4000}), nullptr);
  EXPECT_EQ(screen.Capture(PixelRect{0, 0, 100000, 100000}), nullptr);
  const std::unique_ptr<CapturedImage> corner = screen.Capture(PixelRect{0, 0, 3, 2});
  ASSERT_NE(corner, nullptr);
  EXPECT_EQ(corner->View().stride, 12u);  // rows padded to four bytes
}

}  // namespace
