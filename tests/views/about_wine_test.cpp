// The About box as the user sees it: title, labels and versions in the
// interface language (LC_ALL), "-" for what could not be read, the legal
// notice from the program's version resource, OK closes it.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "common/win32/unique_handle.h"
#include "resource_ids.h"
#include "views/forms/version_dialog_win32.h"
#include "views/ui_strings.h"

namespace views {
namespace {

struct Seen {
  std::wstring title;
  std::wstring texts[9];  // 1026 to 1034
  std::wstring ok;
  RECT rect{};
  bool found = false;
  bool visible = false;
};

std::wstring TextOf(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

HWND FindOwnDialog() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND window, LPARAM out) -> BOOL {
        wchar_t cls[16] = {};
        GetClassNameW(window, cls, 16);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (std::wstring(cls) == L"#32770" && process == GetCurrentProcessId()) {
          *reinterpret_cast<HWND*>(out) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Saves the dialog's pixels as a 24-bit BMP (for looking at it).
void SaveScreenshot(HWND dialog, const char* path) {
  RECT r{};
  GetWindowRect(dialog, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const win32::UniqueWindowDc screen = win32::GetWindowDc(nullptr);
  const win32::UniqueMemoryDc memory(CreateCompatibleDC(screen.get().dc));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const win32::UniqueBitmap dib(CreateDIBSection(screen.get().dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !dib) return;
  const win32::UniqueSelection selected = win32::Select(memory.get(), dib.get());
  BitBlt(memory.get(), 0, 0, w, h, screen.get().dc, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = (w * 3 + 3) & ~3, size = stride * h;
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info.bmiHeader + size), 0, 0,
                        static_cast<DWORD>(sizeof file + sizeof info.bmiHeader)};
  if (FILE* f = std::fopen(path, "wb")) {
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f);
    std::fwrite(bits, size, 1, f);
    std::fclose(f);
  }
}

// Runs the box and reads it from a second thread, as a user's tool would.
Seen RunAbout(VersionDialog& dialog, HWND owner = nullptr) {
  Seen seen;
  std::atomic<bool> done{false};
  std::thread reader([&] {
    for (int i = 0; i < 500 && !seen.found; ++i) {
      if (HWND box = FindOwnDialog(); box != nullptr && IsWindowVisible(box)) {
        Sleep(100);  // let it paint
        seen.found = true;
        seen.visible = true;
        seen.title = TextOf(box);
        for (int id = IDC_ABOUT_PROGRAM_VERSION; id <= IDC_ABOUT_LEGAL; ++id)
          seen.texts[id - IDC_ABOUT_PROGRAM_VERSION] = TextOf(GetDlgItem(box, id));
        seen.ok = TextOf(GetDlgItem(box, IDOK));
        GetWindowRect(box, &seen.rect);
        if (const char* shot = std::getenv("TAVRIN_ABOUT_SHOT")) SaveScreenshot(box, shot);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      } else {
        Sleep(20);
      }
    }
    done = true;
  });
  const INT_PTR result = dialog.DoModal(owner);
  reader.join();
  EXPECT_EQ(result, IDOK);
  return seen;
}

UiLanguage ProcessLanguage() {
  const char* locale = std::getenv("LC_ALL");
  return LanguageOfLocale(locale != nullptr ? locale : "");
}

TEST(AboutBox, TitleLabelsAndVersionsInTheInterfaceLanguage) {
  const UiLanguage language = ProcessLanguage();
  VersionDialog dialog(L"1.0.2.0", L"1.0.515.5", L"");
  EXPECT_EQ(dialog.ProgramVersion(), L"V1.00L11 ");
  const Seen seen = RunAbout(dialog);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.title, TableString(language, 168) + TableString(language, 128) + TableString(language, 169));
  EXPECT_EQ(seen.texts[0], L"V1.00L11 ");
  EXPECT_EQ(seen.texts[1], L"1.0.2.0");
  EXPECT_EQ(seen.texts[2], L"1.0.515.5");
  EXPECT_EQ(seen.texts[3], L"-");
  EXPECT_EQ(seen.texts[4], TableString(language, 128));
  EXPECT_EQ(seen.texts[5], TableString(language, 170));
  EXPECT_EQ(seen.texts[6], TableString(language, 171));
  EXPECT_EQ(seen.texts[7], TableString(language, 172));
  EXPECT_EQ(seen.texts[8], L"Copyright (C) 2024 Velmora. All rights reserved.");
  EXPECT_EQ(seen.ok, L"OK");
}

TEST(AboutBox, EmptyVersionsShowTheDash) {
  VersionDialog dialog(L"", L"", L"");
  EXPECT_EQ(dialog.DriverVersion(), L"-");
  EXPECT_EQ(dialog.FirmwareVersion(), L"-");
  EXPECT_EQ(dialog.ApiVersion(), L"-");
}

// Twice the distance between the middles of two rectangles, per axis.
POINT MiddleOffset(const RECT& a, const RECT& b) {
  return POINT{(a.left + a.right) - (b.left + b.right), (a.top + a.bottom) - (b.top + b.bottom)};
}

TEST(AboutBox, OpensCentredOverItsOwnerOrTheWorkArea) {
  win32::UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150,
                                            120, 900, 600, nullptr, nullptr, GetModuleHandleW(nullptr),
                                            nullptr));
  ASSERT_TRUE(owner);
  RECT ownerRect{};
  GetWindowRect(owner.get(), &ownerRect);
  VersionDialog dialog(L"", L"", L"");
  const Seen over = RunAbout(dialog, owner.get());
  ASSERT_TRUE(over.found);
  const POINT off = MiddleOffset(over.rect, ownerRect);
  EXPECT_LE(std::abs(off.x), 1);
  EXPECT_LE(std::abs(off.y), 1);
  owner.reset();

  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
  const Seen alone = RunAbout(dialog);
  ASSERT_TRUE(alone.found);
  const POINT middle = MiddleOffset(alone.rect, monitor.rcWork);
  EXPECT_LE(std::abs(middle.x), 1);
  EXPECT_LE(std::abs(middle.y), 1);
}

}  // namespace
}  // namespace views
