// The bitmaps and icon as the program's resources: loaded by the platform,
// equal to the generator's drawing, and stretched onto a window as the
// buttons and the zoom indicator stretch them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bitmap_ids.h"
#include "common/win32/unique_handle.h"
#include "image_files.h"
#include "pictograms.h"

namespace {

win32::UniqueBitmap LoadDib(UINT id) {
  return win32::UniqueBitmap(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

TEST(BitmapResources, EachLoadsAsTheDrawingAt24Bits) {
  for (const pictures::BitmapPicture& b : pictures::Bitmaps()) {
    const win32::UniqueBitmap bitmap = LoadDib(b.id);
    ASSERT_TRUE(bitmap) << b.id << " error " << GetLastError();
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(bitmap.get(), sizeof dib, &dib), static_cast<int>(sizeof dib)) << b.id;
    EXPECT_EQ(dib.dsBmih.biWidth, b.width) << b.id;
    EXPECT_EQ(dib.dsBmih.biHeight, b.height) << b.id;
    EXPECT_EQ(dib.dsBmih.biBitCount, 24) << b.id;
    // The DIB's bits are the file's pixel array.
    const std::vector<uint8_t> file = pictures::EncodeBmp24(b.draw());
    const size_t bytes = file.size() - 54;
    ASSERT_EQ(static_cast<size_t>(dib.dsBm.bmWidthBytes) * b.height, bytes) << b.id;
    EXPECT_EQ(std::memcmp(dib.dsBm.bmBits, file.data() + 54, bytes), 0)
        << b.id << " differs from its drawing";
  }
  EXPECT_FALSE(LoadDib(329));  // dialog ids in the range are not bitmaps
}

TEST(BitmapResources, ProgramIconLoadsAtEverySize) {
  for (int size : pictures::kProgramIconSizes) {
    const win32::UniqueIcon icon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAVRIN), IMAGE_ICON, size, size, 0)));
    ASSERT_TRUE(icon) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    const win32::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    ASSERT_TRUE(GetObjectW(colour.get(), sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, size);
    EXPECT_EQ(bm.bmHeight, size);
  }
}

// A window that paints the pictures as the views do: faces stretched with
// half-tone onto 140 x 40 (a 280 x 80 button on a 1920 x 1280 panel) with an
// icon of 25, and at 280 x 80 with an icon of 50; the close faces at 20 x 20, the maps at 153 x 66.
struct Sheet {
  static constexpr int kFaceW = 140, kFaceH = 40;
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m != WM_PAINT) return DefWindowProcW(w, m, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    const win32::UniqueMemoryDc mem(CreateCompatibleDC(dc));
    auto put = [&](UINT id, int x, int y, int w2, int h2) {
      const win32::UniqueBitmap b = LoadDib(id);
      BITMAP bm{};
      GetObjectW(b.get(), sizeof bm, &bm);
      const win32::UniqueSelection s = win32::Select(mem.get(), b.get());
      StretchBlt(dc, x, y, w2, h2, mem.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    };
    const UINT faces[] = {IDB_FACE_NORMAL, IDB_FACE_PRESSED, IDB_FACE_FOCUSED, IDB_FACE_DISABLED};
    const UINT icons[] = {IDB_ICON_FULL_SCREEN, IDB_ICON_NORMAL_SCREEN, IDB_ICON_ZOOM_OUT,
                          IDB_ICON_FULL_SCREEN_DISABLED};
    for (int i = 0; i < 4; ++i) {
      put(faces[i], 10 + i * 150, 10, kFaceW, kFaceH);
      put(icons[i], 10 + i * 150 + 20, 10 + 8, 25, 25);
    }
    // The same at a 3840 x 2560 panel's size: 280 x 80 with a 50-pixel icon.
    put(IDB_FACE_NORMAL, 10, 62, 280, 80);
    put(IDB_ICON_FULL_SCREEN, 10 + 60, 62 + 15, 50, 50);
    put(IDB_FACE_FOCUSED, 310, 62, 280, 80);
    put(IDB_ICON_ZOOM_OUT, 310 + 60, 62 + 15, 50, 50);
    // The smallest button, a message screen's on a 1920 x 1280 panel.
    put(IDB_FACE_FOCUSED, 10, 190, 80, 30);
    const UINT close[] = {IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_CLOSE_FOCUSED, IDB_CLOSE_DISABLED};
    for (int i = 0; i < 4; ++i) put(close[i], 10 + i * 30, 160, 20, 20);
    put(IDB_ZOOM_MAP, 150, 160, 153, 66);
    put(IDB_ZOOM_MAP_DISABLED, 310, 160, 153, 66);
    put(IDB_ICON_ZOOM_IN, 470, 160, 50, 50);
    EndPaint(w, &ps);
    return 0;
  }
};

TEST(BitmapResources, StretchedOntoAWindowAsTheViewsDo) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Sheet::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TavrinBitmapSheet";
  ASSERT_TRUE(RegisterClassW(&wc));
  const win32::UniqueWindow window(CreateWindowExW(0, wc.lpszClassName, L"bitmaps", WS_POPUP | WS_VISIBLE,
                                                   100, 100, 620, 240, nullptr, nullptr, wc.hInstance,
                                                   nullptr));
  ASSERT_TRUE(window);
  UpdateWindow(window.get());
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

  const win32::UniqueWindowDc dc = win32::GetWindowDc(window.get());
  auto at = [&](int x, int y) { return GetPixel(dc.get().dc, x, y) & 0xFFFFFF; };
  // Face middles keep their fill; the borders stay light after shrinking.
  EXPECT_EQ(at(10 + 100, 30), 0x000000u);
  EXPECT_EQ(at(160 + 100, 30), 0xFFFFFFu);
  EXPECT_EQ(at(460 + 100, 30), static_cast<COLORREF>(pictures::kDisabledFaceGrey * 0x010101));
  EXPECT_GT(GetRValue(at(10 + 70, 10)), 0x80);  // top border of the normal face
  int ring = 0;                                 // the focused face's inner ring, about 4 pixels down
  for (int y = 12; y <= 16; ++y) ring = std::max(ring, static_cast<int>(GetRValue(at(310 + 70, y))));
  EXPECT_GT(ring, 0x40);
  EXPECT_EQ(at(310 + 70, 30), 0x000000u);
  // Shrunk five times, the focused face keeps both rings whole on each side.
  int broken = 0;
  for (int y = 190 + 6; y < 190 + 24; ++y) {
    for (int side : {10 + 2, 10 + 75}) {
      int light = 0;
      for (int x = side; x < side + 3; ++x) light += GetRValue(at(x, y)) > 0x80;
      broken += light == 0;
    }
  }
  EXPECT_EQ(broken, 0);
  // The icon's white strokes survive the shrink to 25 pixels.
  int white = 0;
  for (int y = 18; y < 43; ++y) {
    for (int x = 30; x < 55; ++x) white += GetRValue(at(x, y)) > 0xC0;
  }
  EXPECT_GT(white, 40);
  EXPECT_EQ(at(310 + 76, 160 + 33), 0x000000u);  // the disabled map is plain black

  if (const char* hold = std::getenv("TAVRIN_TEST_HOLD_MS")) Sleep(static_cast<DWORD>(std::atoi(hold)));
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

}  // namespace
