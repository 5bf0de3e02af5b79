// The play view, the controller bars and the message views in their pane
// frames under Wine: placement per display, pixels read back, touch messages
// with injected points, real mouse and keyboard input from xdotool on the X
// display, and the requests a fake frame receives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "input/play_fakes.h"
#include "input/play_zoom_logic.h"
#include "input/touch_reader.h"
#include "resource_ids.h"
#include "views/error_view_logic.h"
#include "views/forms/controller_bar_win32.h"
#include "views/forms/error_view_win32.h"
#include "views/forms/play_view_win32.h"
#include "views/forms/view_factory_win32.h"
#include "views/ui_strings.h"
#include "views/view_test_host_win32.h"

namespace views::test {
namespace {

constexpr uint32_t kKey = 0x000300;
constexpr uint32_t kWhite = 0xFFFFFF;

// ---- real input from outside: xdotool on the X display ---------------------

using SpawnFn = LONG(WINAPI*)(char* const argv[], int wait);

// Runs xdotool with `args` and waits for it; false when it cannot run here.
bool Xdotool(std::vector<std::string> args) {
  static const auto spawn = reinterpret_cast<SpawnFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
  if (spawn == nullptr) return false;
  args.insert(args.begin(), "/usr/bin/xdotool");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return spawn(argv.data(), 1) == 0;
}

// Pumps until `done`, for at most about ten seconds (a loaded machine).
template <typename F>
void PumpUntil(F done) {
  for (int i = 0; i < 300 && !done(); ++i) Pump();
}

// ---- the frame as the views see it ----------------------------------------

using play_test::ZoomRequest;

// Also counts the Continue message and the keyboard's system-menu command.
class ScreensHost : public HostWindow {
 public:
  int resumes = 0;
  int keyMenus = 0;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER + 1) return ++resumes, 0;
    // As the main frame does: the keyboard never opens the system menu.
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU) return ++keyMenus, 0;
    return HostWindow::HandleMessage(message, wParam, lParam);
  }
};

// Answers a zoom with a new layout for every view.
class FakeFrame final : public play_test::RecordingFrame {
 public:
  DisplayLayout layout;
  std::vector<CBaseView*> views;

  void Push() {
    for (CBaseView* v : views) v->SetLayout(layout);
  }

 private:
  void Answer(double zoom, double centreX, double centreY) override {
    layout.zoom = zoom;
    layout.zoomCentreX = centreX;
    layout.zoomCentreY = centreY;
    Push();
  }
};

// The three rows of the main window in full-screen proportions.
using Panes = Rows<ScreensHost>;

const DisplayLayout kDisplays[] = {DisplayOf(3840, 2560), DisplayOf(1920, 1280), DisplayOf(2560, 3840, 90)};

Rect ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return Rect{r.left, r.top, r.right, r.bottom};
}

size_t CountColour(const Pixels& p, uint32_t colour) {
  size_t n = 0;
  for (uint32_t v : p.data) n += (v & 0xFFFFFF) == colour;
  return n;
}

// Places along a button's edges where its face shows no light pixel within
// three pixels of the edge (the rounded corners left out): a face border the
// stretch lost.
int BorderGaps(const Pixels& p) {
  auto light = [&](int x, int y) { return (p.At(x, y) & 0x808080) != 0 && p.At(x, y) != 0xABCDEF; };
  auto lit = [&](int x0, int y0, int dx, int dy) {
    return light(x0, y0) || light(x0 + dx, y0 + dy) || light(x0 + 2 * dx, y0 + 2 * dy);
  };
  int gaps = 0;
  for (int y = 3; y < p.height - 3; ++y) gaps += !lit(0, y, 1, 0) + !lit(p.width - 1, y, -1, 0);
  for (int x = 3; x < p.width - 3; ++x) gaps += !lit(x, 0, 0, 1) + !lit(x, p.height - 1, 0, -1);
  return gaps;
}

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 0x80 ? static_cast<char>(c) : '?';
  return s;
}

std::wstring TextOf(HWND window) {
  wchar_t buffer[256]{};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

UiLanguage TestLanguage() {
  const char* lc = std::getenv("LC_ALL");
  return LanguageOfLocale(lc != nullptr ? lc : "");
}

// ---- the Play screen -------------------------------------------------------

class PlayScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(panes.Create(1200, 700));
    auto v = CreateViewInPane(ViewClass::VideoPlayView, panes.display.hwnd());
    auto c = CreateViewInPane(ViewClass::VideoPlayControllerView, panes.controller.hwnd());
    ASSERT_TRUE(v && c);
    // Wired through the base class, as the splitter holds them.
    for (CBaseView* view : {v.get(), c.get()}) {
      view->SetPlayListener(&frame);
      view->SetScreenModeListener(&frame);
    }
    play.reset(static_cast<CVideoPlayView*>(v.release()));
    bar.reset(static_cast<CVideoPlayControllerView*>(c.release()));
    play->ApplySettings({{4, L"8"}, {5, L"5"}});
    frame.views = {play.get(), bar.get()};
    for (CBaseView* view : frame.views) {
      view->SendInitialUpdate();
      view->ActivatePane();
    }
    Feed(DisplayOf(1920, 1280));
    SetForegroundWindow(panes.host.hwnd());
    Pump();
  }
  // The display row's screen rectangle less a margin is the video.
  void Feed(const DisplayLayout& layout) {
    panes.Size(layout);
    frame.layout = layout;
    const Rect view = ScreenRect(panes.display.hwnd());
    frame.layout.video = Rect{view.left + 100, view.top + 40, view.right - 100, view.bottom - 40};
    frame.Push();
    Pump();
  }
  void Zoomed(double zoom, double cx = 0.5, double cy = 0.5) {
    frame.layout.zoom = zoom;
    frame.layout.zoomCentreX = cx;
    frame.layout.zoomCentreY = cy;
    frame.Push();
  }
  // The same layout in the portable logic, to compare requests with.
  input::ZoomLayout LogicLayout() const {
    const DisplayLayout& l = frame.layout;
    return {l.video, l.zoomCentreX, l.zoomCentreY, l.zoom, l.fullScreen != 0};
  }
  HWND Button(UINT id) { return GetDlgItem(bar->hwnd(), static_cast<int>(id)); }

  Panes panes;
  FakeFrame frame;
  std::unique_ptr<CVideoPlayView> play;
  std::unique_ptr<CVideoPlayControllerView> bar;
};

// Points handed to the view as the platform would hand them.
class InjectedTouch final : public input::TouchReader {
 public:
  std::vector<input::TouchPoint> points;
  std::vector<input::TouchInputHandle> closed;
  bool Read(input::TouchInputHandle, std::span<input::TouchPoint> out) override {
    if (out.size() != points.size()) return false;
    std::copy(points.begin(), points.end(), out.begin());
    return true;
  }
  void Close(input::TouchInputHandle handle) override { closed.push_back(handle); }
};

TEST_F(PlayScreen, KeyColourEverywhereVideoIsTheCaptureAndTouchRegistrationIsNotFatal) {
  EXPECT_EQ(play->TemplateId(), 310u);
  EXPECT_EQ(play->GetCaptureRect(), frame.layout.video);
  EXPECT_EQ(play->CheckState(), 1u);
  EXPECT_EQ(play->SavedCheckState(), 1u);
  const Pixels p =
      ReadClientWhen(play->hwnd(), [](const Pixels& x) { return CountColour(x, kKey) == x.data.size(); });
  ASSERT_GT(p.width * p.height, 0);
  EXPECT_EQ(CountColour(p, kKey), p.data.size());
  // Wine has no touch: the view exists and works without the registration.
  std::printf("[ NOTE ] touch registration %s\n", play->TouchRegistered() ? "made" : "refused (not fatal)");
  // A resize tells the frame.
  const int before = frame.areaChanges;
  Feed(DisplayOf(3840, 2560));
  EXPECT_GT(frame.areaChanges, before);
}

TEST_F(PlayScreen, TouchMessagesWithInjectedPointsAskForTheZoomOfThePinch) {
  InjectedTouch touch;
  play->SetTouchReader(&touch);
  const Rect v = frame.layout.video;
  const int cy = (v.top + v.bottom) / 2 * 100;
  const int mx = (v.left + v.right) / 2;
  auto send = [&](std::vector<input::TouchPoint> points, input::TouchInputHandle handle) {
    touch.points = std::move(points);
    SendMessageW(play->hwnd(), WM_TOUCH, MAKEWPARAM(touch.points.size(), 0), static_cast<LPARAM>(handle));
  };
  send({{(mx - 50) * 100, cy, input::kTouchDown}, {(mx + 50) * 100, cy, input::kTouchDown}}, 11);
  EXPECT_EQ(play->CheckState(), 0u);
  send({{(mx - 100) * 100, cy, input::kTouchMove}, {(mx + 100) * 100, cy, input::kTouchMove}}, 12);
  ASSERT_EQ(frame.zooms.size(), 1u);
  EXPECT_EQ(frame.zooms[0].zoom, 2.0);
  EXPECT_EQ(frame.zooms[0].area, (app::Rect{0, 0, v.Width(), v.Height()}));
  EXPECT_EQ(frame.layout.zoom, 2.0);  // answered by the frame, seen by the next event
  // Both fingers leave the video through its edges: every point lifted, the
  // gesture ends, the check state returns to 1.
  send({{v.left * 100, cy, input::kTouchMove}, {v.right * 100, cy, input::kTouchMove}}, 13);
  EXPECT_EQ(play->CheckState(), 1u);
  EXPECT_EQ(play->Logic().Pinch().active, 0u);
  EXPECT_EQ(touch.closed, (std::vector<input::TouchInputHandle>{11, 12, 13}));
  // A message without points reads nothing.
  send({}, 14);
  EXPECT_EQ(touch.closed.size(), 3u);

  // The platform's own reader cannot read points under Wine: dropped.
  play->SetTouchReader(nullptr);
  const size_t sent = frame.zooms.size();
  SendMessageW(play->hwnd(), WM_TOUCH, MAKEWPARAM(2, 0), 0x1234);
  EXPECT_EQ(frame.zooms.size(), sent);
  EXPECT_EQ(play->CheckState(), 1u);
}

TEST_F(PlayScreen, RealDoubleClickInsideTheVideoZoomsAroundItOutsideNothing) {
  const Rect v = frame.layout.video;
  const int x = v.left + v.Width() / 4;
  const int y = v.top + v.Height() / 3;
  if (!Xdotool({"mousemove", std::to_string(x), std::to_string(y), "click", "--repeat", "2", "--delay", "80",
                "1"})) {
    GTEST_SKIP() << "xdotool cannot run here";
  }
  PumpUntil([&] { return !frame.zooms.empty(); });
  ASSERT_EQ(frame.zooms.size(), 1u);
  const ZoomRequest& r = frame.zooms[0];
  EXPECT_EQ(r.zoom, 5.0);
  EXPECT_EQ(r.area, (app::Rect{0, 0, v.Width(), v.Height()}));
  ASSERT_TRUE(r.centre.has_value());
  // Inside the picture's edge clamp at 5x (0.1 .. 0.9): the clicked point itself.
  EXPECT_NEAR(r.centre->x, static_cast<double>(x - v.left) / v.Width(), 1e-9);
  EXPECT_NEAR(r.centre->y, static_cast<double>(y - v.top) / v.Height(), 1e-9);

  // Between the view's edge and the video: nothing.
  frame.zooms.clear();
  ASSERT_TRUE(Xdotool({"mousemove", std::to_string(v.left - 30), std::to_string(v.top + 10), "click",
                       "--repeat", "2", "--delay", "80", "1"}));
  for (int i = 0; i < 20; ++i) Pump();
  EXPECT_TRUE(frame.zooms.empty());
}

// The portable logic fed the same layout: what a pinch or slide would ask.
struct Reference {
  struct Sink final : input::CheckStateSink {
    void SetCheckState(uint32_t) override {}
  } sink;
  FakeFrame frame;
  input::PlayZoomLogic logic{sink};
  explicit Reference(const input::ZoomLayout& layout) {
    logic.ApplySettings(L"8", L"5");
    logic.SetLayout(layout);
    logic.SetPlayListener(&frame);
  }
};

TEST_F(PlayScreen, RealWheelAndDragAskWhatPinchAndSlideWould) {
  const Rect v = frame.layout.video;
  const int x = v.left + v.Width() / 3;
  const int y = v.top + v.Height() / 2 + 20;
  Zoomed(2.0, 0.4, 0.6);
  Reference pinch(LogicLayout());
  pinch.logic.OnPinchBegan({x, y, 400});
  pinch.logic.OnPinchChanged({x, y, 500});  // x1.25, one notch
  ASSERT_EQ(pinch.frame.zooms.size(), 1u);

  SetFocus(play->hwnd());
  if (!Xdotool({"mousemove", std::to_string(x), std::to_string(y), "click", "4"}))
    GTEST_SKIP() << "no xdotool";
  PumpUntil([&] { return !frame.zooms.empty(); });
  ASSERT_EQ(frame.zooms.size(), 1u);
  const ZoomRequest& wheel = frame.zooms[0];
  EXPECT_DOUBLE_EQ(wheel.zoom, 2.5);
  EXPECT_EQ(wheel.area, pinch.frame.zooms[0].area);
  EXPECT_NEAR(wheel.centre->x, pinch.frame.zooms[0].centre->x, 1e-12);
  EXPECT_NEAR(wheel.centre->y, pinch.frame.zooms[0].centre->y, 1e-12);

  // A left drag pans as a slide between the same points does.
  Zoomed(3.0, 0.5, 0.5);
  frame.zooms.clear();
  Reference slide(LogicLayout());
  const int x2 = x + 90;
  const int y2 = y - 45;
  slide.logic.OnSlideBegan({x, y});
  slide.logic.OnSlideEnded({x2, y2});
  ASSERT_EQ(slide.frame.zooms.size(), 1u);
  ASSERT_TRUE(Xdotool({"mousemove", std::to_string(x), std::to_string(y), "mousedown", "1", "mousemove",
                       std::to_string(x2), std::to_string(y2), "mouseup", "1"}));
  PumpUntil([&] { return GetCapture() == nullptr && !frame.zooms.empty(); });
  for (int i = 0; i < 10; ++i) Pump();  // the drag's last moves
  ASSERT_FALSE(frame.zooms.empty());
  const ZoomRequest& drag = frame.zooms.back();
  EXPECT_DOUBLE_EQ(drag.zoom, 3.0);
  EXPECT_NEAR(drag.centre->x, slide.frame.zooms[0].centre->x, 1e-9);
  EXPECT_NEAR(drag.centre->y, slide.frame.zooms[0].centre->y, 1e-9);
  EXPECT_EQ(play->CheckState(), 1u);  // the drag is over

  // The same drag as mouse messages made from touch pans nothing: the
  // fingers' own touch messages do.
  frame.zooms.clear();
  auto at = [](int px, int py, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(px, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in.mi.dy = MulDiv(py, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in.mi.dwExtraInfo = 0xFF515780;  // the platform's pen-or-touch signature
    return in;
  };
  // Away from the last click, so that this is no double click.
  INPUT touchDrag[] = {at(x + 200, y, MOUSEEVENTF_LEFTDOWN), at(x2 + 200, y2, 0),
                       at(x2 + 200, y2, MOUSEEVENTF_LEFTUP)};
  ASSERT_EQ(SendInput(3, touchDrag, sizeof(INPUT)), 3u);
  for (int i = 0; i < 20; ++i) Pump();
  EXPECT_TRUE(frame.zooms.empty());
}

TEST_F(PlayScreen, KeysFromTheKeyboardAndThroughTheFramesPreTranslation) {
  SetFocus(play->hwnd());
  if (!Xdotool({"key", "F11"})) GTEST_SKIP() << "no xdotool";
  PumpUntil([&] { return !frame.modes.empty(); });
  EXPECT_EQ(frame.modes, (std::vector<int32_t>{1}));
  ASSERT_EQ(frame.zooms.size(), 1u);
  EXPECT_EQ(frame.zooms[0].zoom, 1.0);
  EXPECT_FALSE(frame.zooms[0].centre.has_value());

  ASSERT_TRUE(Xdotool({"key", "ctrl+equal"}));
  PumpUntil([&] { return frame.zooms.size() == 2; });
  ASSERT_EQ(frame.zooms.size(), 2u);
  EXPECT_DOUBLE_EQ(frame.zooms[1].zoom, 1.25);
  EXPECT_NEAR(frame.zooms[1].centre->x, 0.5, 1e-12);
  ASSERT_TRUE(Xdotool({"key", "ctrl+0"}));
  PumpUntil([&] { return frame.zooms.size() == 3; });
  ASSERT_EQ(frame.zooms.size(), 3u);
  EXPECT_EQ(frame.zooms[2].zoom, 1.0);

  // Alt, Alt+Space and F10 ask nothing of the frame.
  ASSERT_TRUE(Xdotool({"key", "alt", "alt+space", "F10", "Escape"}));
  for (int i = 0; i < 20; ++i) Pump();
  EXPECT_EQ(frame.zooms.size(), 3u);
  EXPECT_EQ(frame.modes.size(), 1u);  // Esc in a window does nothing either

  // The frame's loop hands keys over wherever the focus is.
  frame.layout.fullScreen = 1;
  frame.Push();
  SetFocus(panes.host.hwnd());
  MSG esc{panes.host.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {}};
  EXPECT_TRUE(play->PreTranslateInput(esc));
  EXPECT_EQ(frame.modes.back(), 0);
  MSG letter{panes.host.hwnd(), WM_KEYDOWN, 'A', 0x001E0001, 0, {}};
  EXPECT_FALSE(play->PreTranslateInput(letter));
  const Rect v = frame.layout.video;
  MSG wheelOutside{
      panes.host.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(v.left, v.top), 0, {}};
  EXPECT_FALSE(play->PreTranslateInput(wheelOutside));
  ShowWindow(play->hwnd(), SW_HIDE);
  EXPECT_FALSE(play->PreTranslateInput(esc));  // a hidden view takes nothing
}

// The bar's controls at a display: (full screen, indicator, zoom out).
// A text's width in the font a control uses now.
int TextWidthIn(HWND control, const std::wstring& text) {
  win32::UniqueWindowDc dc = win32::GetWindowDc(control);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  win32::UniqueSelection selected = win32::Select(dc.get().dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc.get().dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The bar's controls at a display: buttons of at least their design width
// (wider when a caption needs it), the indicator left of the zoom-out button.
void ExpectBarPlacement(HWND view, const ControllerBarIds& ids, const DisplayLayout& layout) {
  RECT client{};
  GetClientRect(view, &client);
  auto s = [&](int units) { return ScaleToDisplay(units, layout); };
  const int bh = s(80), off = s(50);
  const int by = (client.bottom - bh) / 2;
  HWND full = GetDlgItem(view, static_cast<int>(ids.fullScreen));
  HWND zoomOut = GetDlgItem(view, static_cast<int>(ids.zoomOut));
  const int fw = RectIn(full, view).Width();
  const int ow = RectIn(zoomOut, view).Width();
  EXPECT_GE(fw, s(280));
  EXPECT_GE(ow, s(280));
  EXPECT_EQ(RectIn(full, view), (Rect{off, by, off + fw, by + bh}));
  const Rect out{client.right - off - ow, by, client.right - off, by + bh};
  EXPECT_EQ(RectIn(zoomOut, view), out);
  const int iw = s(320), ih = s(170);
  const int iy = (client.bottom - ih) / 2;
  EXPECT_EQ(RectIn(GetDlgItem(view, static_cast<int>(ids.zoomIndicator)), view),
            (Rect{out.left - off - iw, iy, out.left - off, iy + ih}));
  // Icon, gap and either caption fit in the button.
  for (StringId id : {kIdsFullScreen, kIdsNormalScreen})
    EXPECT_LE(TextWidthIn(full, LoadUiString(id)) + s(60), fw) << Narrow(LoadUiString(id));
  EXPECT_LE(TextWidthIn(zoomOut, LoadUiString(kIdsZoomOut)) + s(60), ow);
}

bool Visible(HWND w) { return (GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE) != 0; }

TEST_F(PlayScreen, ControllerPlacedOnEachDisplayWithItsFacesIconsAndCaptions) {
  for (const DisplayLayout& d : kDisplays) {
    Feed(d);
    ExpectBarPlacement(bar->hwnd(), bar->Ids(), d);
  }
  Feed(DisplayOf(1920, 1280));
  HWND full = Button(IDC_FULL_SCREEN);
  HWND out = Button(IDC_ZOOM_OUT);
  HWND indicator = Button(IDC_ZOOM_INDICATOR);
  // Windowed: only the full-screen button, offering full screen.
  EXPECT_TRUE(Visible(full));
  EXPECT_TRUE(IsWindowEnabled(full));
  EXPECT_FALSE(Visible(out));
  EXPECT_FALSE(Visible(indicator));
  EXPECT_EQ(bar->FullScreenButton().IconId(), 324u);
  EXPECT_EQ(TextOf(full), LoadUiString(kIdsFullScreen));
  EXPECT_EQ(TextOf(out), LoadUiString(kIdsZoomOut));
  Pixels p = ReadClientWhen(full, [](const Pixels& x) { return CountColour(x, kWhite) > 200; });
  if (HasResourceBitmap(322)) {
    EXPECT_EQ(p.At(0, p.height / 2), kWhite);  // the face's white border
    EXPECT_EQ(BorderGaps(p), 0);
    EXPECT_EQ(p.At(p.width - 4, p.height / 2) & 0xF0F0F0, 0u);  // its black inside
  }
  EXPECT_GT(CountColour(p, kWhite), 200u);  // caption and icon
  MaybeSaveShot(panes.host.hwnd(), "play_windowed");

  // Full screen at zoom 1.0: zoom controls shown, zoom out greyed.
  frame.layout.fullScreen = 1;
  frame.Push();
  Pump();
  EXPECT_TRUE(Visible(out));
  EXPECT_TRUE(Visible(indicator));
  EXPECT_FALSE(IsWindowEnabled(out));
  EXPECT_EQ(bar->ZoomOutButton().IconId(), 328u);
  EXPECT_EQ(bar->FullScreenButton().IconId(), 325u);
  EXPECT_EQ(TextOf(full), LoadUiString(kIdsNormalScreen));
  if (HasResourceBitmap(320)) {
    const Pixels face = ReadClientWhen(out, [](const Pixels& x) { return x.At(6, 6) == 0x707070u; });
    EXPECT_EQ(face.At(6, 6), 0x707070u);  // the disabled face
    // The greyed icon blends into it: nothing dark inside the button.
    int dark = 0;
    for (int y = face.height / 4; y < face.height * 3 / 4; ++y)
      for (int x = face.width / 10; x < face.width * 9 / 10; ++x) dark += (face.At(x, y) & 0xE0E0E0) == 0;
    EXPECT_EQ(dark, 0);
  }
  // Zoomed: zoom out works, the indicator shows the crop.
  Zoomed(2.0, 0.3, 0.7);
  Pump();
  EXPECT_TRUE(IsWindowEnabled(out));
  EXPECT_EQ(bar->ZoomOutButton().IconId(), 327u);
  EXPECT_GT(
      CountColour(ReadClientWhen(indicator, [](const Pixels& x) { return CountColour(x, 0x7F7F7F) > 0; }),
                  0x7F7F7F),
      0u);  // the grey crop rectangle
  MaybeSaveShot(panes.host.hwnd(), "play_full_screen_zoomed");

  // Tablet mode, windowed: the button is greyed with the greyed icon.
  frame.layout.fullScreen = 0;
  frame.layout.tabletMode = 1;
  frame.Push();
  Pump();
  EXPECT_FALSE(IsWindowEnabled(full));
  EXPECT_EQ(bar->FullScreenButton().IconId(), 336u);
  if (HasResourceBitmap(320)) {
    EXPECT_EQ(ReadClientWhen(full, [](const Pixels& x) { return x.At(6, 6) == 0x707070u; }).At(6, 6),
              0x707070u);
  }
  MaybeSaveShot(panes.host.hwnd(), "play_tablet");
}

TEST_F(PlayScreen, ControllerButtonsClickedAsAUserDoes) {
  HWND full = Button(IDC_FULL_SCREEN);
  const Rect r = ScreenRect(full);
  if (!Xdotool({"mousemove", std::to_string((r.left + r.right) / 2), std::to_string((r.top + r.bottom) / 2),
                "click", "1"})) {
    GTEST_SKIP() << "no xdotool";
  }
  PumpUntil([&] { return !frame.modes.empty(); });
  EXPECT_EQ(frame.modes, (std::vector<int32_t>{1}));
  ASSERT_EQ(frame.zooms.size(), 1u);
  EXPECT_EQ(frame.zooms[0].zoom, 1.0);
  EXPECT_FALSE(frame.zooms[0].area.has_value());
  // In full screen the same button leaves it; zoom out returns to the whole picture.
  frame.layout.fullScreen = 1;
  Zoomed(4.0, 0.2, 0.2);
  Pump();
  SendMessageW(bar->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_FULL_SCREEN, BN_CLICKED),
               reinterpret_cast<LPARAM>(full));
  EXPECT_EQ(frame.modes.back(), 0);
  Zoomed(4.0, 0.2, 0.2);
  Pump();
  const Rect o = ScreenRect(Button(IDC_ZOOM_OUT));
  const size_t sent = frame.zooms.size();
  ASSERT_TRUE(Xdotool({"mousemove", std::to_string((o.left + o.right) / 2),
                       std::to_string((o.top + o.bottom) / 2), "click", "1"}));
  PumpUntil([&] { return frame.zooms.size() > sent; });
  ASSERT_EQ(frame.zooms.size(), sent + 1);
  EXPECT_EQ(frame.zooms.back().zoom, 1.0);
  EXPECT_FALSE(frame.zooms.back().centre.has_value());
  EXPECT_FALSE(IsWindowEnabled(Button(IDC_ZOOM_OUT)));  // greyed again at the whole picture
}

// ---- the message screens ---------------------------------------------------

class ErrorScreen : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(panes.Create(1200, 700)); }
  // The view of `kind` and the error bar, shown, at `layout`.
  void Show(uint32_t kind, const DisplayLayout& layout) {
    view.reset();
    bar.reset();
    auto v = CreateViewInPane(ViewClass::VideoErrorView, panes.display.hwnd());
    auto c = CreateViewInPane(ViewClass::VideoErrorControllerView, panes.controller.hwnd());
    ASSERT_TRUE(v && c);
    for (CBaseView* x : {v.get(), c.get()}) {
      x->SetKind(kind);
      x->SetPlayListener(&frame);
      x->SetScreenModeListener(&frame);
    }
    view.reset(static_cast<CVideoErrorView*>(v.release()));
    bar.reset(static_cast<CVideoErrorControllerView*>(c.release()));
    EXPECT_EQ(view->Kind(), kind);
    EXPECT_EQ(bar->Kind(), kind);
    frame.views = {view.get(), bar.get()};
    for (CBaseView* x : frame.views) {
      x->SendInitialUpdate();
      x->ActivatePane();
    }
    Feed(layout);
  }
  void Feed(const DisplayLayout& layout) {
    panes.Size(layout);
    frame.layout = layout;
    frame.Push();
    Pump();
  }
  HWND Line(int n) { return GetDlgItem(view->hwnd(), IDC_ERROR_LINE1 + n); }
  HWND ErrorButton() { return GetDlgItem(view->hwnd(), IDC_ERROR_BUTTON); }

  Panes panes;
  FakeFrame frame;
  std::unique_ptr<CVideoErrorView> view;
  std::unique_ptr<CVideoErrorControllerView> bar;
};

TEST_F(ErrorScreen, EveryKindShowsItsTextsInTheInterfaceLanguageAndItsButton) {
  const UiLanguage language = TestLanguage();
  const char* shotLanguage = language == UiLanguage::French     ? "fr"
                             : language == UiLanguage::Japanese ? "ja"
                                                                : "en";
  for (uint32_t kind = 4; kind <= 10; ++kind) {
    Show(kind, DisplayOf(1920, 1280));
    const ErrorViewContent content = ErrorContentOf(kind);
    EXPECT_EQ(view->TemplateId(), 313u);
    size_t textPixels = 0;
    const Pixels p = ReadClientWhen(
        view->hwnd(), [&](const Pixels& x) { return kind == 5 || CountColour(x, kWhite) > 50; });
    for (int n = 0; n < 4; ++n) {
      const std::wstring expected = TableString(language, content.lines[static_cast<size_t>(n)]);
      EXPECT_EQ(TextOf(Line(n)), expected) << "kind " << kind << " line " << n + 1;
      const Rect r = RectIn(Line(n), view->hwnd());
      size_t white = 0;
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) white += p.At(x, y) == kWhite;
      const bool blank = expected.find_first_not_of(L' ') == std::wstring::npos;
      // On one line, inside the control: a static would wrap it out of sight.
      EXPECT_LE(TextWidthIn(Line(n), expected), r.Width()) << "kind " << kind << " line " << n + 1;
      EXPECT_EQ(white > 0, !blank) << "kind " << kind << " line " << n + 1 << " " << Narrow(expected);
      textPixels += white;
    }
    EXPECT_EQ(Visible(ErrorButton()), content.HasButton()) << kind;
    if (content.HasButton()) {
      EXPECT_EQ(TextOf(ErrorButton()), TableString(language, content.buttonCaption)) << kind;
      EXPECT_LT(TextWidthIn(ErrorButton(), TextOf(ErrorButton())),
                RectIn(ErrorButton(), view->hwnd()).Width());
      if (HasResourceBitmap(322)) {
        const Pixels face =
            ReadClientWhen(ErrorButton(), [](const Pixels& x) { return x.At(0, 10) == kWhite; });
        EXPECT_EQ(face.At(0, 10), kWhite) << kind;
        EXPECT_EQ(BorderGaps(face), 0) << kind;
      }
    }
    EXPECT_EQ(view->CheckState(), content.checkState) << kind;
    EXPECT_EQ(view->SavedCheckState(), content.checkState) << kind;
    // Outside the lines and the button, the key colour only.
    const Rect ex = view->GetExclusionRect();
    size_t off = 0;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x)
        if ((x < ex.left || x >= ex.right || y < ex.top || y >= ex.bottom) && p.At(x, y) != kKey) ++off;
    EXPECT_EQ(off, 0u) << kind;
    if (kind != 5) {
      EXPECT_GT(textPixels, 50u) << kind;
    }
    const std::string shot = "error_" + std::to_string(kind) + "_" + shotLanguage;
    MaybeSaveShot(panes.host.hwnd(), shot.c_str());
  }
}

TEST_F(ErrorScreen, LinesAroundTheMiddleButtonUnderThemOnEachDisplay) {
  for (const DisplayLayout& d : kDisplays) {
    Show(4, d);
    auto s = [&](int units) { return ScaleToDisplay(units, d); };
    RECT client{};
    GetClientRect(view->hwnd(), &client);
    const int w = RectIn(Line(2), view->hwnd()).Width(), h = s(60), gap = s(5);
    EXPECT_GE(w, s(600));
    const int x = (client.right - w) / 2;
    const int y3 = (client.bottom - h) / 2;
    EXPECT_EQ(RectIn(Line(2), view->hwnd()), (Rect{x, y3, x + w, y3 + h}));
    EXPECT_EQ(RectIn(Line(1), view->hwnd()), (Rect{x, y3 - gap - h, x + w, y3 - gap}));
    EXPECT_EQ(RectIn(Line(0), view->hwnd()), (Rect{x, y3 - 2 * (gap + h), x + w, y3 - 2 * gap - h}));
    const Rect l4{x, y3 + h + gap, x + w, y3 + 2 * h + gap};
    EXPECT_EQ(RectIn(Line(3), view->hwnd()), l4);
    const int bw = RectIn(ErrorButton(), view->hwnd()).Width(), bx = (client.right - bw) / 2;
    EXPECT_GE(bw, s(160));
    const Rect b{bx, l4.bottom + s(40), bx + bw, l4.bottom + s(40) + s(60)};
    EXPECT_EQ(RectIn(ErrorButton(), view->hwnd()), b);
    if (HasResourceBitmap(322)) {
      const Pixels face = ReadClientWhen(ErrorButton(), [](const Pixels& p) { return BorderGaps(p) == 0; });
      EXPECT_EQ(BorderGaps(face), 0) << "face stretched to " << bw << " x " << b.Height();
    }
    EXPECT_EQ(view->GetExclusionRect(), (Rect{x, y3 - 2 * (gap + h), x + w, b.bottom}));
    ExpectBarPlacement(bar->hwnd(), bar->Ids(), d);
  }
  // Without a button the exclusion ends with line 4.
  Show(7, DisplayOf(1920, 1280));
  EXPECT_EQ(view->GetExclusionRect().bottom, RectIn(Line(3), view->hwnd()).bottom);
  // A kind outside 4..10: empty lines, no button, check states untouched.
  Show(11, DisplayOf(1920, 1280));
  EXPECT_EQ(TextOf(Line(0)), L"");
  EXPECT_FALSE(Visible(ErrorButton()));
  EXPECT_EQ(CountColour(ReadClient(view->hwnd()), kWhite), 0u);
  EXPECT_EQ(view->CheckState(), 0u);
  EXPECT_EQ(view->SavedCheckState(), 0u);
}

TEST_F(ErrorScreen, ButtonsSendTheirMessagesToTheMainWindow) {
  Show(4, DisplayOf(1920, 1280));
  const Rect r = ScreenRect(ErrorButton());
  SetForegroundWindow(panes.host.hwnd());
  if (Xdotool({"mousemove", std::to_string((r.left + r.right) / 2), std::to_string((r.top + r.bottom) / 2),
               "click", "1"})) {
    PumpUntil([&] { return panes.host.resumes > 0; });
    EXPECT_EQ(panes.host.resumes, 1);
    EXPECT_EQ(panes.host.closes, 0);
  } else {
    std::printf("[ NOTE ] no xdotool: the click is sent as a message\n");
  }
  for (uint32_t kind : {8u, 9u, 10u}) {
    Show(kind, DisplayOf(1920, 1280));
    const int closes = panes.host.closes;
    SendMessageW(view->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ERROR_BUTTON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(ErrorButton()));
    EXPECT_EQ(panes.host.closes, closes + 1) << kind;
  }
  EXPECT_LE(panes.host.resumes, 1);
}

TEST_F(ErrorScreen, ControllerNeverOffersFullScreenAndItsZoomControlsAreInert) {
  Show(6, DisplayOf(1920, 1280));
  HWND full = GetDlgItem(bar->hwnd(), IDC_ERROR_FULL_SCREEN);
  HWND out = GetDlgItem(bar->hwnd(), IDC_ERROR_ZOOM_OUT);
  HWND indicator = GetDlgItem(bar->hwnd(), IDC_ERROR_ZOOM_INDICATOR);
  EXPECT_EQ(bar->TemplateId(), 317u);
  EXPECT_FALSE(IsWindowEnabled(full));
  EXPECT_EQ(bar->FullScreenButton().IconId(), 336u);
  EXPECT_EQ(TextOf(full), LoadUiString(kIdsFullScreen));
  EXPECT_FALSE(Visible(out));
  EXPECT_FALSE(Visible(indicator));
  if (HasResourceBitmap(320)) {
    EXPECT_EQ(ReadClientWhen(full, [](const Pixels& x) { return x.At(6, 6) == 0x707070u; }).At(6, 6),
              0x707070u);
  }
  MaybeSaveShot(panes.host.hwnd(), "error_bar_windowed");

  frame.layout.fullScreen = 1;
  frame.layout.zoom = 2.0;
  frame.Push();
  Pump();
  EXPECT_TRUE(IsWindowEnabled(full));
  EXPECT_EQ(bar->FullScreenButton().IconId(), 325u);
  EXPECT_EQ(TextOf(full), LoadUiString(kIdsNormalScreen));
  EXPECT_TRUE(Visible(out));
  EXPECT_TRUE(Visible(indicator));
  EXPECT_FALSE(IsWindowEnabled(out));
  EXPECT_FALSE(IsWindowEnabled(indicator));
  EXPECT_EQ(bar->ZoomOutButton().IconId(), 328u);
  // The disabled indicator paints its plain map: no grey crop rectangle.
  EXPECT_EQ(CountColour(ReadClient(indicator), 0x7F7F7F), 0u);
  MaybeSaveShot(panes.host.hwnd(), "error_bar_full_screen");

  SendMessageW(bar->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ERROR_ZOOM_OUT, BN_CLICKED),
               reinterpret_cast<LPARAM>(out));
  EXPECT_TRUE(frame.zooms.empty());
  SendMessageW(bar->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ERROR_FULL_SCREEN, BN_CLICKED),
               reinterpret_cast<LPARAM>(full));
  EXPECT_EQ(frame.modes, (std::vector<int32_t>{0}));
  ASSERT_EQ(frame.zooms.size(), 1u);
  EXPECT_EQ(frame.zooms[0].zoom, 1.0);
}

}  // namespace
}  // namespace views::test
