// At 192 dpi the dialog units grow, the views' controls do not: they follow
// the design-unit rules of the display alone, in physical pixels.
//
// Wine takes the dpi from HKCU\Control Panel\Desktop "LogPixels" when a
// process starts.  The test sets it, starts itself again as the child that
// checks, and takes the value away as soon as the child has read it, so
// other programs of the prefix see 192 dpi for as short a time as can be.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "resource_ids.h"
#include "view_test_host_win32.h"
#include "views/forms/view_factory_win32.h"

namespace views::test {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kChildUp[] = L"TavrinViewsDpiChildUp";
constexpr char kChildVariable[] = "TAVRIN_VIEWS_DPI_CHILD";

int RunChild() {
  const UINT dpi = GetDpiForSystem();
  win32::UniqueKernelHandle up(OpenEventW(EVENT_MODIFY_STATE, FALSE, kChildUp));
  if (up) SetEvent(up.get());
  if (dpi != 192) {
    std::printf("child: system dpi %u, not 192\n", dpi);
    return 3;
  }
  Rows<> rows;
  if (!rows.Create(1200, 700)) return 4;
  std::unique_ptr<CBaseView> caption = CreateViewInPane(ViewClass::VideoCaptionView, rows.caption.hwnd());
  if (!caption) return 5;
  caption->SendInitialUpdate();
  caption->ActivatePane();
  // The template's 9-point font is 24 pixels high at 192 dpi.
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(caption->hwnd(), WM_GETFONT, 0, 0)), sizeof font, &font);
  RECT units{0, 0, 962, 37};
  MapDialogRect(caption->hwnd(), &units);
  std::printf("child: dpi %u, dialog font height %ld, template 962 x 37 units = %ld x %ld pixels\n", dpi,
              font.lfHeight, units.right, units.bottom);
  if (font.lfHeight != -24) return 6;
  int failures = 0;
  for (const DisplayLayout& layout :
       {DisplayOf(3840, 2560), DisplayOf(1920, 1280), DisplayOf(2560, 3840, 90)}) {
    rows.Size(layout);
    caption->SetLayout(layout);
    Pump();
    RECT client{};
    GetClientRect(caption->hwnd(), &client);
    const int s = ScaleToDisplay(40, layout), off = ScaleToDisplay(20, layout);
    const int top = (client.bottom - s) / 2;
    const Rect expected{client.right - off - s, top, client.right - off, top + s};
    const Rect placed = RectIn(GetDlgItem(caption->hwnd(), IDC_CLOSE), caption->hwnd());
    std::printf("child: display %d x %d: close button (%d,%d)-(%d,%d)\n", layout.displayWidth,
                layout.displayHeight, placed.left, placed.top, placed.right, placed.bottom);
    failures += !(placed == expected);
    // The pane's height is the caption bar's in physical pixels.
    failures += client.bottom != ScaleToDisplay(70, layout);
  }
  return failures == 0 ? 0 : 7;
}

TEST(ViewsAtHighDpi, ControlsFollowDesignUnitsNotDialogUnits) {
  win32::UniqueKey desktop;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, desktop.put()),
            ERROR_SUCCESS);
  DWORD saved = 0, savedSize = sizeof saved;
  const bool hadValue = RegQueryValueExW(desktop.get(), L"LogPixels", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(&saved), &savedSize) == ERROR_SUCCESS;
  auto restore = [&] {
    if (hadValue)
      RegSetValueExW(desktop.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved),
                     sizeof saved);
    else
      RegDeleteValueW(desktop.get(), L"LogPixels");
  };
  win32::UniqueKernelHandle up(CreateEventW(nullptr, TRUE, FALSE, kChildUp));
  ASSERT_TRUE(up.valid());
  const DWORD high = 192;
  ASSERT_EQ(RegSetValueExW(desktop.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&high),
                           sizeof high),
            ERROR_SUCCESS);

  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\"";
  SetEnvironmentVariableA(kChildVariable, "1");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                      &startup, &process);
  SetEnvironmentVariableA(kChildVariable, nullptr);
  if (!started) restore();
  ASSERT_TRUE(started);
  win32::UniqueKernelHandle child(process.hProcess);
  win32::UniqueKernelHandle thread(process.hThread);
  const HANDLE waits[2] = {up.get(), child.get()};
  WaitForMultipleObjects(2, waits, FALSE, 60000);
  restore();
  ASSERT_EQ(WaitForSingleObject(child.get(), 60000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(child.get(), &code);
  EXPECT_EQ(code, 0u) << "3 no 192 dpi, 6 dialog font not scaled, 7 controls misplaced";
}

}  // namespace
}  // namespace views::test

int main(int argc, char** argv) {
  if (std::getenv("TAVRIN_VIEWS_DPI_CHILD") != nullptr) return views::test::RunChild();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
