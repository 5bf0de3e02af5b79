#pragma once
// A main window with three pane rows for the views under test, and pixel
// reads from the screen.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <memory>
#include <vector>

#include "views/framework/pane_frame_win32.h"
#include "views/framework/window_base_win32.h"
#include "views/layout/display_layout.h"

namespace views::test {

// Lets every pending message of this thread through.
inline void Pump() {
  for (int round = 0; round < 3; ++round) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

// The main window: counts WM_CLOSE instead of closing.
class HostWindow : public WindowBase {
 public:
  bool Create(const RECT& rect) {
    WNDCLASSEXW wc = ClassTemplate(L"TavrinViewsTestHost");
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return RegisterClassOnce(wc) && CreateOf(L"TavrinViewsTestHost", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                             WS_EX_TOPMOST, nullptr, 0, rect);
  }
  int closes = 0;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CLOSE) {
      ++closes;
      return 0;
    }
    return WindowBase::HandleMessage(message, wParam, lParam);
  }
};

// Caption, display and controller rows as the splitter sizes them for a
// layout in full screen: 70 and 200 design units.
template <class Host = HostWindow>
struct Rows {
  Host host;
  CPaneFrame caption, display, controller;

  bool Create(int width, int height) {
    return host.Create(RECT{0, 0, width, height}) && caption.Create(host.hwnd(), RECT{0, 0, width, 10}, 1) &&
           display.Create(host.hwnd(), RECT{0, 10, width, 20}, 2) &&
           controller.Create(host.hwnd(), RECT{0, 20, width, 30}, 3);
  }
  void Size(const DisplayLayout& layout) {
    RECT client{};
    GetClientRect(host.hwnd(), &client);
    const int c = ScaleToDisplay(70, layout);
    const int b = ScaleToDisplay(200, layout);
    MoveWindow(caption.hwnd(), 0, 0, client.right, c, TRUE);
    MoveWindow(display.hwnd(), 0, c, client.right, client.bottom - c - b, TRUE);
    MoveWindow(controller.hwnd(), 0, client.bottom - b, client.right, b, TRUE);
  }
};

inline DisplayLayout DisplayOf(int32_t width, int32_t height, int32_t orientation = 0) {
  DisplayLayout layout;
  layout.displayWidth = width;
  layout.displayHeight = height;
  layout.displayOrientation = orientation;
  layout.monitor = Rect{0, 0, width, height};
  layout.workArea = layout.monitor;
  return layout;
}

// A window's rectangle in the client coordinates of `parent`.
inline Rect RectIn(HWND window, HWND parent) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return Rect{r.left, r.top, r.right, r.bottom};
}

// The screen's pixels of a window's client area, 0x00RRGGBB, row by row.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> data;
  // 0xABCDEF (never drawn by a view) outside the read area.
  uint32_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0xABCDEF;
    return data[static_cast<size_t>(y) * width + x] & 0x00FFFFFF;
  }
};

inline Pixels ReadClient(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  Pixels pixels;
  pixels.width = r.right - r.left;
  pixels.height = r.bottom - r.top;
  pixels.data.resize(static_cast<size_t>(pixels.width) * pixels.height);
  if (pixels.width <= 0 || pixels.height <= 0) return pixels;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  win32::UniqueWindowDc screen = win32::GetWindowDc(nullptr);
  win32::UniqueBitmap dib(CreateDIBSection(screen.get().dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  win32::UniqueMemoryDc memory(CreateCompatibleDC(screen.get().dc));
  {
    win32::UniqueSelection selected = win32::Select(memory.get(), dib.get());
    BitBlt(memory.get(), 0, 0, pixels.width, pixels.height, screen.get().dc, r.left, r.top, SRCCOPY);
    GdiFlush();
  }
  const auto* source = static_cast<const uint32_t*>(bits);
  pixels.data.assign(source, source + pixels.data.size());
  return pixels;
}

// Reads until `settled` holds (painting reaches the screen in its own
// time on a loaded machine); the last read after 10 s otherwise.
template <class Settled>
Pixels ReadClientWhen(HWND window, Settled settled) {
  const ULONGLONG limit = GetTickCount64() + 10000;
  Pixels pixels = ReadClient(window);
  while (!settled(pixels) && GetTickCount64() < limit) {
    Pump();
    pixels = ReadClient(window);
  }
  return pixels;
}

// A solid bitmap of `colour` (0x00RRGGBB), as a face or icon made here.
inline win32::UniqueBitmap SolidBitmap(int width, int height, uint32_t colour) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  win32::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap) std::fill_n(static_cast<uint32_t*>(bits), static_cast<size_t>(width) * height, colour);
  return bitmap;
}

// With TAVRIN_VIEWS_SHOT=<folder>, saves the window's screen pixels as
// <folder>/<name>.bmp (to look at them).
inline void MaybeSaveShot(HWND window, const char* name) {
  const char* folder = std::getenv("TAVRIN_VIEWS_SHOT");
  if (folder == nullptr) return;
  const Pixels p = ReadClient(window);
  const std::string path = std::string(folder) + "/" + name + ".bmp";
  BITMAPINFOHEADER header{sizeof header, p.width, -p.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD size = static_cast<DWORD>(p.data.size() * 4);
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof header + size), 0, 0,
                        static_cast<DWORD>(sizeof file + sizeof header)};
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&header, sizeof header, 1, f);
    std::fwrite(p.data.data(), size, 1, f);
    std::fclose(f);
  }
}

inline bool HasResourceBitmap(UINT id) {
  return FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2)) != nullptr;
}

}  // namespace views::test
