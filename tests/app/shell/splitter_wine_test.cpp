// The splitter with real windows: hidden ids, the switch order on screen,
// row heights from the layout, the display view's rectangle, and that a
// create/destroy cycle leaves no window or GDI object behind.
#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>

#include "app/shell/video_splitter_wnd_win32.h"
#include "common/win32/unique_handle.h"
#include "resource_ids.h"
#include "views/framework/window_base_win32.h"

namespace {

using app::Row;
using app::ViewSlot;

void Pump() {
  for (int round = 0; round < 3; ++round) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
}

class Host : public views::WindowBase {
 public:
  bool Create(int width, int height) {
    WNDCLASSEXW wc = ClassTemplate(L"TavrinSplitterTestHost");
    return views::RegisterClassOnce(wc) && CreateOf(L"TavrinSplitterTestHost", WS_POPUP | WS_VISIBLE, 0,
                                                    nullptr, 0, RECT{0, 0, width, height});
  }
};

views::DisplayLayout Display(int32_t w, int32_t h, uint32_t fullScreen) {
  views::DisplayLayout l;
  l.displayWidth = w;
  l.displayHeight = h;
  l.fullScreen = fullScreen;
  return l;
}

app::Rect PaneRect(const shell::CVideoSplitterWnd& s, Row row) {
  RECT r{};
  GetWindowRect(s.Pane(row), &r);
  MapWindowPoints(nullptr, s.hwnd(), reinterpret_cast<POINT*>(&r), 2);
  return app::Rect{r.left, r.top, r.right, r.bottom};
}

struct Made {
  Host host;
  shell::CVideoSplitterWnd splitter;
  bool Create() {
    if (!host.Create(1000, 800) || !splitter.CreatePanes(host.hwnd())) return false;
    splitter.CreateViews(nullptr, nullptr, {});
    Pump();
    return true;
  }
};

TEST(Splitter, ViewsStartHiddenUnderTheirKindsIds) {
  Made m;
  ASSERT_TRUE(m.Create());
  EXPECT_EQ(0xE900, GetDlgCtrlID(m.splitter.hwnd()));
  for (int i = 0; i < app::kViewCount; ++i) {
    const auto slot = static_cast<ViewSlot>(i);
    const views::CBaseView* v = m.splitter.View(slot);
    ASSERT_NE(nullptr, v);
    EXPECT_FALSE(IsWindowVisible(v->hwnd())) << i;
    EXPECT_EQ(static_cast<int>(0xE901 + app::HighestKindOf(slot)), GetDlgCtrlID(v->hwnd())) << i;
  }
  for (int i = 0; i < app::kViewCount; ++i)
    EXPECT_NE(nullptr, m.splitter.View(static_cast<ViewSlot>(i))) << i;
  // Before any layout the display row has it all.
  EXPECT_EQ(800, PaneRect(m.splitter, Row::Display).Height());
}

TEST(Splitter, SwitchShowsOneViewPerRowAndRowsFollowTheLayout) {
  Made m;
  ASSERT_TRUE(m.Create());
  m.splitter.Relayout(Display(1920, 1280, 1));  // full screen: caption row 35, controller 100
  m.splitter.SwitchTo(app::ScreenKind::Blank);
  Pump();
  EXPECT_EQ(1, m.splitter.CurrentKind());
  EXPECT_EQ((app::Rect{0, 0, 1000, 35}), PaneRect(m.splitter, Row::Caption));
  EXPECT_EQ((app::Rect{0, 35, 1000, 700}), PaneRect(m.splitter, Row::Display));
  EXPECT_EQ((app::Rect{0, 700, 1000, 800}), PaneRect(m.splitter, Row::Controller));
  HWND caption = m.splitter.View(ViewSlot::Caption)->hwnd();
  HWND blank = m.splitter.View(ViewSlot::Blank)->hwnd();
  EXPECT_TRUE(IsWindowVisible(caption));
  EXPECT_TRUE(IsWindowVisible(blank));
  EXPECT_TRUE(IsWindowVisible(m.splitter.View(ViewSlot::BlankController)->hwnd()));
  EXPECT_EQ(0xE900, GetDlgCtrlID(blank));
  // Blank: no close button.
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(caption, IDC_CLOSE)));
  // The display view fills its row; its screen rectangle is what the video is fitted into.
  RECT screen{};
  GetWindowRect(blank, &screen);
  EXPECT_EQ((app::Rect{screen.left, screen.top, screen.right, screen.bottom}), m.splitter.DisplayArea());
  EXPECT_EQ(35, screen.top);
  EXPECT_EQ(700, screen.bottom);
  // To Abnormal: the blank view goes under the old kind's id, the close button comes back.
  EXPECT_EQ(1, SendMessageW(m.splitter.hwnd(), shell::kSwitchViewsMessage, 8, 0));
  Pump();
  EXPECT_FALSE(IsWindowVisible(blank));
  EXPECT_EQ(0xE901 + 1, GetDlgCtrlID(blank));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(caption, IDC_CLOSE)));
  EXPECT_EQ(0, SendMessageW(m.splitter.hwnd(), shell::kSwitchViewsMessage, 11, 0));
  // Windowed: no caption row; a short client: the display row takes all.
  m.splitter.Relayout(Display(3840, 2560, 0));
  Pump();
  EXPECT_EQ(0, PaneRect(m.splitter, Row::Caption).bottom);
  EXPECT_EQ((app::Rect{0, 0, 1000, 600}), PaneRect(m.splitter, Row::Display));
  MoveWindow(m.host.hwnd(), 0, 0, 1000, 250, TRUE);
  MoveWindow(m.splitter.hwnd(), 0, 0, 1000, 250, TRUE);
  Pump();
  EXPECT_EQ((app::Rect{0, 0, 1000, 250}), PaneRect(m.splitter, Row::Display));
  EXPECT_EQ(0, PaneRect(m.splitter, Row::Controller).Height());
}

TEST(Splitter, PlayToPlayBarHiddenKeepsThePictureView) {
  Made m;
  ASSERT_TRUE(m.Create());
  m.splitter.Relayout(Display(1920, 1280, 1));
  m.splitter.SwitchTo(app::ScreenKind::Play);
  Pump();
  HWND play = m.splitter.View(ViewSlot::Play)->hwnd();
  HWND bar = m.splitter.View(ViewSlot::PlayController)->hwnd();
  HWND close = GetDlgItem(m.splitter.View(ViewSlot::Caption)->hwnd(), IDC_CLOSE);
  EXPECT_TRUE(IsWindowVisible(play));
  EXPECT_TRUE(IsWindowVisible(bar));
  EXPECT_TRUE(IsWindowVisible(close));
  m.splitter.SwitchTo(app::ScreenKind::PlayBarHidden);
  Pump();
  EXPECT_TRUE(IsWindowVisible(play));
  EXPECT_EQ(0xE900, GetDlgCtrlID(play));
  EXPECT_FALSE(IsWindowVisible(bar));
  EXPECT_EQ(0xE901 + 2, GetDlgCtrlID(bar));
  EXPECT_TRUE(IsWindowVisible(m.splitter.View(ViewSlot::BlankController)->hwnd()));
  EXPECT_FALSE(IsWindowVisible(close));
}

TEST(Splitter, CheckQueriesAskTheShownDisplayView) {
  Made m;
  ASSERT_TRUE(m.Create());
  m.splitter.Relayout(Display(1920, 1280, 0));
  m.splitter.SwitchTo(app::ScreenKind::Waiting);  // its checks are waited for
  Pump();
  const auto* waiting = dynamic_cast<const views::CBaseDisplayView*>(m.splitter.View(ViewSlot::Error5));
  ASSERT_NE(nullptr, waiting);
  EXPECT_EQ(2u, m.splitter.CheckState());
  m.splitter.PauseChecks();
  EXPECT_EQ(0u, m.splitter.CheckState());
  m.splitter.ResumeChecks();
  EXPECT_EQ(waiting->SavedCheckState(), m.splitter.CheckState());
  m.splitter.SwitchTo(app::ScreenKind::Blank);
  EXPECT_EQ(0u, m.splitter.CheckState());
}

// The Overlapped screen checks in the background: a check answers with the
// result of the one before it, so the second of two checks tells.
uint32_t CheckTwice(shell::CVideoSplitterWnd& splitter) {
  uint32_t result = 2;
  for (int i = 0; i < 2; ++i) {
    for (int tries = 0; tries < 100 && (result = splitter.CheckOverlap()) == 2; ++tries) Pump();
    Pump();
  }
  return result;
}

TEST(Splitter, OverlappedScreenIgnoresItsTextButWatchesTheRest) {
  Made m;
  ASSERT_TRUE(m.Create());
  SetWindowPos(m.host.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  m.splitter.Relayout(Display(1920, 1280, 0));
  m.splitter.SwitchTo(app::ScreenKind::Overlapped);
  Pump();
  ASSERT_EQ(1u, m.splitter.CheckState());
  // White text on the key colour, and yet nothing covers the view.
  EXPECT_EQ(0u, CheckTwice(m.splitter));
  // A window of another colour over the empty lower part of the view.
  const app::Rect area = m.splitter.DisplayArea();
  win32::UniqueWindow cover(CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE,
                                            area.left + 20, area.bottom - 120, 200, 100, nullptr, nullptr,
                                            GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(cover);
  Pump();
  EXPECT_EQ(1u, CheckTwice(m.splitter));
  cover.reset();
  Pump();
  EXPECT_EQ(0u, CheckTwice(m.splitter));
}

// Live GDI objects of this process.  Wine answers GetGuiResources with 0, so
// there the entries of the shared handle table (the PEB points to it, one
// 24-byte entry per handle, a non-zero type byte at offset 14 while the
// object lives) are counted.
DWORD GdiObjects() {
  const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (n != 0) return n;
  const auto* peb = reinterpret_cast<const unsigned char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
  const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + 0xF8);
  if (table == nullptr) return 0;
  DWORD live = 0;
  for (size_t i = 0; i < 0x10000; ++i) live += table[i * 24 + 14] != 0 ? 1 : 0;
  return live;
}

// Every window of this thread, children included.
int CountWindows() {
  int n = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND top, LPARAM p) -> BOOL {
        ++*reinterpret_cast<int*>(p);
        EnumChildWindows(
            top, [](HWND, LPARAM q) -> BOOL { return ++*reinterpret_cast<int*>(q), TRUE; }, p);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

// One create/show/destroy cycle of the whole splitter.
void Cycle(int windowsBefore, DWORD gdiBefore) {
  Made m;
  ASSERT_TRUE(m.Create());
  m.splitter.Relayout(Display(1920, 1280, 1));
  for (auto kind : {app::ScreenKind::Blank, app::ScreenKind::Play, app::ScreenKind::PlayBarHidden,
                    app::ScreenKind::Stopped, app::ScreenKind::Abnormal, app::ScreenKind::AlreadyRunning}) {
    m.splitter.SwitchTo(kind);
    Pump();
  }
  EXPECT_GT(CountWindows(), windowsBefore + 19);
  EXPECT_GT(GdiObjects(), gdiBefore);
}

TEST(Splitter, CreateAndDestroyLeaveNothingBehind) {
  // One cycle first: what the system and the controls cache once per
  // process (bitmaps, fonts, classes) stays.
  Cycle(0, 0);
  Pump();
  const int windows = CountWindows();
  const DWORD gdi = GdiObjects();
  ASSERT_GT(gdi, 0u);
  for (int cycle = 0; cycle < 3; ++cycle) {
    Cycle(windows, gdi);
    Pump();
    EXPECT_EQ(windows, CountWindows()) << cycle;
    EXPECT_EQ(gdi, GdiObjects()) << cycle;
  }
}

}  // namespace
