// The views in their pane frames, as the frame will drive them: placement by
// design units, pixels read back from the screen, the close button, the
// zoom indicator, accessibility names and the overlap check.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "resource_ids.h"
#include "view_test_host_win32.h"
#include "views/controls/zoom_control_win32.h"
#include "views/forms/blank_views_win32.h"
#include "views/forms/caption_view_win32.h"
#include "views/forms/view_factory_win32.h"
#include "views/layout/button_geometry.h"

namespace views::test {
namespace {

constexpr uint32_t kKey = 0x000300;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey = 0x7F7F7F;

// The three displays every placement test is fed.
struct Case {
  const char* name;
  DisplayLayout layout;
};
const Case kDisplays[] = {{"3840x2560", DisplayOf(3840, 2560)},
                          {"1920x1280", DisplayOf(1920, 1280)},
                          {"portrait 2560x3840 at 90", DisplayOf(2560, 3840, 90)}};

class ViewsInPanes : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rows.Create(1200, 700));
    caption = CreateViewInPane(ViewClass::VideoCaptionView, rows.caption.hwnd());
    blank = CreateViewInPane(ViewClass::VideoBlankView, rows.display.hwnd());
    controller = CreateViewInPane(ViewClass::VideoBlankControllerView, rows.controller.hwnd());
    ASSERT_TRUE(caption && blank && controller);
    for (CBaseView* view : {caption.get(), blank.get(), controller.get()}) {
      view->ApplySettings({});
      view->SendInitialUpdate();
      view->ActivatePane();
    }
    Pump();
  }
  void Feed(const DisplayLayout& layout) {
    rows.Size(layout);
    for (CBaseView* view : {caption.get(), blank.get(), controller.get()}) view->SetLayout(layout);
    Pump();
  }
  CVideoCaptionView& Caption() { return static_cast<CVideoCaptionView&>(*caption); }
  HWND CloseButton() { return GetDlgItem(caption->hwnd(), IDC_CLOSE); }

  Rows<> rows;
  std::unique_ptr<CBaseView> caption, blank, controller;
};

TEST_F(ViewsInPanes, EachViewFillsItsPaneWithoutEdgeUnderTheFirstViewId) {
  Feed(DisplayOf(1920, 1280));
  for (CBaseView* view : {caption.get(), blank.get(), controller.get()}) {
    HWND pane = GetParent(view->hwnd());
    RECT paneClient{};
    GetClientRect(pane, &paneClient);
    EXPECT_EQ(RectIn(view->hwnd(), pane), (Rect{0, 0, paneClient.right, paneClient.bottom}));
    EXPECT_EQ(GetDlgCtrlID(view->hwnd()), 0xE900);
    EXPECT_EQ(GetWindowLongPtrW(view->hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_TRUE(IsWindowVisible(view->hwnd()));
  }
  EXPECT_EQ(caption->TemplateId(), 330u);
  EXPECT_EQ(blank->TemplateId(), 337u);
  EXPECT_EQ(controller->TemplateId(), 329u);
}

TEST_F(ViewsInPanes, CloseButtonPlacedByDesignUnitsOnEachDisplay) {
  for (const Case& c : kDisplays) {
    Feed(c.layout);
    const int s = ScaleToDisplay(1000, c.layout) / 25;  // 40 units
    const int off = ScaleToDisplay(20, c.layout);
    RECT client{};
    GetClientRect(caption->hwnd(), &client);
    const int top = (client.bottom - s) / 2;
    EXPECT_EQ(RectIn(CloseButton(), caption->hwnd()),
              (Rect{client.right - off - s, top, client.right - off, top + s}))
        << c.name;
  }
  // A display rotated to portrait gives the same sizes as the landscape one.
  Feed(kDisplays[0].layout);
  const Rect landscape = RectIn(CloseButton(), caption->hwnd());
  Feed(kDisplays[2].layout);
  EXPECT_EQ(RectIn(CloseButton(), caption->hwnd()), landscape);
}

TEST_F(ViewsInPanes, OnlyADisplayChangeMovesControls) {
  DisplayLayout layout = DisplayOf(1920, 1280);
  Feed(layout);
  const Rect placed = RectIn(CloseButton(), caption->hwnd());
  MoveWindow(CloseButton(), 3, 4, 5, 6, TRUE);
  layout.zoom = 2.0;
  layout.video = Rect{10, 10, 500, 300};
  layout.fullScreen = 1;
  caption->SetLayout(layout);
  EXPECT_EQ(RectIn(CloseButton(), caption->hwnd()), (Rect{3, 4, 8, 10}));
  layout.workArea.bottom -= 40;
  caption->SetLayout(layout);
  EXPECT_EQ(RectIn(CloseButton(), caption->hwnd()), placed);
  // An all-zero display collapses the button to an empty rectangle.
  caption->SetLayout(DisplayLayout{});
  const Rect collapsed = RectIn(CloseButton(), caption->hwnd());
  EXPECT_EQ(collapsed.Width(), 0);
  EXPECT_EQ(collapsed.Height(), 0);
}

TEST_F(ViewsInPanes, BackgroundIsExactlyTheKeyColour) {
  Feed(DisplayOf(1920, 1280));
  auto allKey = [](const Pixels& p) {
    return std::all_of(p.data.begin(), p.data.end(), [](uint32_t v) { return (v & 0xFFFFFF) == kKey; });
  };
  for (CBaseView* view : {blank.get(), controller.get()}) {
    const Pixels p = ReadClientWhen(view->hwnd(), allKey);
    ASSERT_GT(p.width * p.height, 0);
    size_t off = 0;
    for (uint32_t v : p.data) off += (v & 0xFFFFFF) != kKey;
    EXPECT_EQ(off, 0u) << "view of template " << view->TemplateId();
  }
  const Pixels p = ReadClientWhen(caption->hwnd(), [](const Pixels& p) { return p.At(0, 0) == kKey; });
  const Rect button = RectIn(CloseButton(), caption->hwnd());
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < button.left; ++x) ASSERT_EQ(p.At(x, y), kKey) << x << "," << y;
}

TEST_F(ViewsInPanes, CloseButtonFaceCaptionAndPressedFace) {
  DisplayLayout layout = DisplayOf(3840, 2560);
  Feed(layout);
  CBitmapButtonEx& button = Caption().CloseButton();
  if (HasResourceBitmap(IDB_CLOSE_FACE_NORMAL)) {
    // The drawn close face, stretched: white (border and cross) on black.
    auto count = [](const Pixels& p, bool white) {
      return std::count_if(p.data.begin(), p.data.end(), [white](uint32_t v) {
        const uint32_t r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
        return white ? (r >= 0xC0 && g >= 0xC0 && b >= 0xC0) : (r <= 0x30 && g <= 0x30 && b <= 0x30);
      });
    };
    const Pixels real = ReadClientWhen(CloseButton(), [&](const Pixels& p) { return count(p, true) > 80; });
    EXPECT_GT(count(real, true), 80);  // of 1600
    EXPECT_GT(count(real, false), 400);
    MaybeSaveShot(rows.host.hwnd(), "views_caption_drawn_face");
  } else {
    std::printf("[ NOTE ] bitmap 332 is not in this program: the drawn face is not checked\n");
  }
  button.SetFaceBitmaps({SolidBitmap(45, 45, 0x203040), SolidBitmap(45, 45, 0x800000),
                         SolidBitmap(45, 45, 0x008000), SolidBitmap(45, 45, 0x000080)});
  InvalidateRect(CloseButton(), nullptr, TRUE);
  Pump();
  Pixels p = ReadClientWhen(CloseButton(), [](const Pixels& p) { return p.At(1, 1) == 0x203040u; });
  EXPECT_EQ(p.width, 40);
  EXPECT_EQ(p.At(1, 1), 0x203040u);
  EXPECT_EQ(p.At(38, 38), 0x203040u);

  // A caption is drawn in white over the face.
  button.SetCaption(L"OK");
  InvalidateRect(CloseButton(), nullptr, TRUE);
  Pump();
  auto whiteCount = [](const Pixels& p) {
    return std::count_if(p.data.begin(), p.data.end(), [](uint32_t v) { return (v & 0xFFFFFF) == kWhite; });
  };
  p = ReadClientWhen(CloseButton(), [&](const Pixels& p) { return whiteCount(p) > 10; });
  size_t white = 0;
  for (uint32_t v : p.data) white += (v & 0xFFFFFF) == kWhite;
  EXPECT_GT(white, 10u);
  EXPECT_EQ(p.At(0, 0), 0x203040u);
  MaybeSaveShot(rows.host.hwnd(), "views_caption_button");

  SendMessageW(CloseButton(), BM_SETSTATE, TRUE, 0);
  Pump();
  EXPECT_EQ(ReadClientWhen(CloseButton(), [](const Pixels& p) { return p.At(1, 1) == 0x800000u; }).At(1, 1),
            0x800000u);
  SendMessageW(CloseButton(), BM_SETSTATE, FALSE, 0);
  EnableWindow(CloseButton(), FALSE);
  Pump();
  EXPECT_EQ(ReadClientWhen(CloseButton(), [](const Pixels& p) { return p.At(1, 1) == 0x000080u; }).At(1, 1),
            0x000080u);
  EnableWindow(CloseButton(), TRUE);
}

TEST_F(ViewsInPanes, IconGapAndCaptionFormOneCentredGroup) {
  if (!HasResourceBitmap(324)) GTEST_SKIP() << "bitmap 324 is not in this program: no icon to draw";
  const DisplayLayout layout = DisplayOf(3840, 2560);
  Feed(layout);
  CBitmapButtonEx& button = Caption().CloseButton();
  MoveWindow(CloseButton(), 0, 0, 400, 60, TRUE);  // inside the bar; only a display change moves it back
  button.SetFaceBitmaps({SolidBitmap(400, 110, 0x203040), {}, {}, {}});
  button.SetCaption(L"Full screen");
  button.SetLayout(layout);
  button.SetIcon(324);
  Pump();
  SIZE text{};
  {
    win32::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    auto font = reinterpret_cast<HFONT>(SendMessageW(CloseButton(), WM_GETFONT, 0, 0));
    win32::UniqueSelection selected = win32::Select(dc.get(), font);
    GetTextExtentPoint32W(dc.get(), L"Full screen", 11, &text);
  }
  const ButtonContent at = IconAndTextRects(Rect{0, 0, 400, 60}, text.cx, layout);
  ASSERT_EQ(at.icon.Width(), 50);
  const Pixels p = ReadClientWhen(CloseButton(), [&](const Pixels& p) {
    return p.At(1, 1) == 0x203040u && p.At(at.text.left + text.cx / 2, 30) != 0x203040u;
  });
  auto faceOnly = [&](int left, int right) {
    for (int y = at.icon.top; y < at.icon.bottom; ++y)
      for (int x = left; x < right; ++x)
        if (p.At(x, y) != 0x203040u) return false;
    return true;
  };
  EXPECT_TRUE(faceOnly(0, at.icon.left));                        // left of the group
  EXPECT_TRUE(faceOnly(at.icon.right, at.text.left));            // the 10-pixel gap
  EXPECT_FALSE(faceOnly(at.icon.left, at.icon.right));           // the icon
  EXPECT_FALSE(faceOnly(at.text.left, at.text.left + text.cx));  // the caption
  EXPECT_TRUE(faceOnly(at.text.left + text.cx + 4, 400));        // right of the group
  MaybeSaveShot(CloseButton(), "views_icon_button");
}

TEST_F(ViewsInPanes, SetIconWithTheSameIdDoesNothing) {
  Feed(DisplayOf(3840, 2560));
  CBitmapButtonEx& button = Caption().CloseButton();
  button.SetIcon(IDB_ZOOM_ICON);
  EXPECT_EQ(button.IconId(), static_cast<UINT>(IDB_ZOOM_ICON));
  Pump();
  // No repaint for the same id: a painted-over spot stays.
  win32::UniqueWindowDc dc = win32::GetWindowDc(CloseButton());
  SetPixel(dc.get().dc, 1, 1, RGB(1, 2, 3));
  ASSERT_EQ(ReadClientWhen(CloseButton(), [](const Pixels& p) { return p.At(1, 1) == 0x010203u; }).At(1, 1),
            0x010203u);
  button.SetIcon(IDB_ZOOM_ICON);
  Pump();
  EXPECT_EQ(ReadClient(CloseButton()).At(1, 1), 0x010203u);
}

TEST_F(ViewsInPanes, ClickOnTheCloseButtonClosesTheMainWindowAndHidingWorks) {
  Feed(DisplayOf(3840, 2560));
  RECT r{};
  GetWindowRect(CloseButton(), &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  INPUT clicks[2]{};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(2, clicks, sizeof(INPUT)), 2u);
  for (int i = 0; i < 50 && rows.host.closes == 0; ++i) Pump();
  EXPECT_EQ(rows.host.closes, 1);

  Caption().ShowCloseButton(false);
  EXPECT_FALSE(IsWindowVisible(CloseButton()));
  Caption().ShowCloseButton(true);
  EXPECT_TRUE(IsWindowVisible(CloseButton()));
}

// IAccessible's id spelled out: with mingw's IID_IAccessible, Wine's oleacc
// answered E_NOINTERFACE for every window.
constexpr GUID kIidAccessible{0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::wstring AccessibleName(HWND window) {
  IAccessible* raw = nullptr;
  const HRESULT hr =
      AccessibleObjectFromWindow(window, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&raw));
  if (FAILED(hr)) return L"<no object " + std::to_wstring(static_cast<unsigned long>(hr)) + L">";
  win32::ComPtr<IAccessible> object(raw);
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (FAILED(object->get_accName(self, &name)) || name == nullptr) return L"<no name>";
  std::wstring text(name, SysStringLen(name));
  SysFreeString(name);
  return text;
}

TEST_F(ViewsInPanes, ButtonsAreAnnouncedByTheirCaption) {
  win32::ComApartment com = win32::EnterComApartment(COINIT_APARTMENTTHREADED);
  EXPECT_EQ(AccessibleName(CloseButton()), L"Close");
  Caption().CloseButton().SetCaption(L"Continue");
  EXPECT_EQ(AccessibleName(CloseButton()), L"Continue");
  // The button is a child that assistive technology reaches from the view.
  IAccessible* raw = nullptr;
  ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(caption->hwnd(), OBJID_CLIENT, kIidAccessible,
                                                   reinterpret_cast<void**>(&raw))));
  win32::ComPtr<IAccessible> view(raw);
  long count = 0;
  ASSERT_TRUE(SUCCEEDED(view->get_accChildCount(&count)));
  EXPECT_GE(count, 1);
  // The window tree as assistive technology walks it.
  EnumChildWindows(
      rows.host.hwnd(),
      [](HWND window, LPARAM) -> BOOL {
        wchar_t cls[64] = {};
        GetClassNameW(window, cls, 64);
        std::printf("[ TREE ] %-16ls id 0x%04x visible %d name \"%ls\"\n", cls, GetDlgCtrlID(window),
                    IsWindowVisible(window) ? 1 : 0, AccessibleName(window).c_str());
        return TRUE;
      },
      0);
}

TEST_F(ViewsInPanes, OverlapCheckSeesACoveringWindow) {
  Feed(DisplayOf(1920, 1280));
  auto& display = static_cast<CBaseDisplayView&>(*blank);
  EXPECT_EQ(display.CheckState(), 0u);
  EXPECT_EQ(display.GetExclusionRect(), Rect{});
  EXPECT_EQ(display.CheckOverlap(), 0u);
  const Rect area = display.GetCaptureRect();
  HWND cover = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"", WS_POPUP | WS_VISIBLE, area.left + 50,
                               area.top + 50, 80, 60, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(cover, nullptr);
  win32::UniqueWindow coverOwner(cover);
  // The cover reaches the screen in its own time.
  auto checkUntil = [&](uint32_t wanted) {
    const ULONGLONG limit = GetTickCount64() + 10000;
    uint32_t r = display.CheckOverlap();
    while (r != wanted && GetTickCount64() < limit) {
      Pump();
      r = display.CheckOverlap();
    }
    return r;
  };
  EXPECT_EQ(checkUntil(1), 1u);
  coverOwner.reset();
  EXPECT_EQ(checkUntil(0), 0u);
}

// The zoom indicator on a host of its own (its controller comes with the
// play controller).
class ZoomIndicator : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Create(RECT{0, 0, 400, 200}));
    ASSERT_NE(
        CreateWindowExW(0, kZoomControlClass, L"", WS_CHILD | WS_VISIBLE, 20, 20, 314, 143, host.hwnd(),
                        reinterpret_cast<HMENU>(IDC_ZOOM_INDICATOR), GetModuleHandleW(nullptr), nullptr),
        nullptr);
    ASSERT_TRUE(zoom.SubclassDlgItem(IDC_ZOOM_INDICATOR, host.hwnd()));
    layout = DisplayOf(3840, 2560);
    layout.video = Rect{0, 0, 1000, 500};
    layout.zoomCentreX = layout.zoomCentreY = 0.5;
  }
  HostWindow host;
  CZoomControl zoom;  // constructed before the window: it registers the class
  DisplayLayout layout;
};

TEST_F(ZoomIndicator, OutlinedGreyRectangleAtZoomTwo) {
  layout.zoom = 2.0;
  zoom.SetLayout(layout);
  Pump();
  const SizedRect i = zoom.Indicator();
  EXPECT_EQ(i, (SizedRect{82, 38, 150, 64}));
  EXPECT_EQ(zoom.PenWidth(), 3);
  const Pixels p =
      ReadClientWhen(zoom.hwnd(), [&](const Pixels& p) { return p.At(i.x + 6, i.y + 6) == kGrey; });
  EXPECT_EQ(p.At(0, 0), kWhite);                         // margin
  EXPECT_EQ(p.At(i.x + 1, i.y + i.height / 2), kWhite);  // outline
  EXPECT_EQ(p.At(i.x + i.width - 2, i.y + 10), kWhite);
  EXPECT_EQ(p.At(i.x + 6, i.y + 6), kGrey);  // inside, off the magnifier
  EXPECT_NE(p.At(i.x + i.width / 2, i.y + i.height / 2), 0xABCDEFu);
  MaybeSaveShot(host.hwnd(), "views_zoom_indicator");
  if (HasResourceBitmap(IDB_ZOOM_MAP_ENABLED)) {
    EXPECT_NE(p.At(10, 10), kWhite);  // the map, outside the indicator
  } else {
    std::printf("[ NOTE ] bitmap 318 is not in this program: the map picture is not checked\n");
  }
}

TEST_F(ZoomIndicator, DisabledShowsThePlainMapAndSmallZoomKeepsThePlace) {
  layout.zoom = 2.0;
  zoom.SetLayout(layout);
  const SizedRect before = zoom.Indicator();
  layout.zoom = 0.5;
  zoom.SetLayout(layout);
  EXPECT_EQ(zoom.Indicator(), before);

  layout.zoom = 2.0;
  zoom.SetLayout(layout);
  EnableWindow(zoom.hwnd(), FALSE);
  const SizedRect& i = zoom.Indicator();
  const Pixels p =
      ReadClientWhen(zoom.hwnd(), [&](const Pixels& p) { return p.At(i.x + 6, i.y + 6) != kGrey; });
  size_t marked = 0;
  for (int y = i.y; y < i.y + i.height; ++y)
    for (int x = i.x; x < i.x + i.width; ++x) marked += p.At(x, y) == kGrey;
  EXPECT_EQ(marked, 0u);
  EXPECT_EQ(p.At(0, 0), kWhite);
  if (HasResourceBitmap(IDB_ZOOM_MAP_OFF)) {
    EXPECT_EQ(p.At(i.x + 1, i.y + i.height / 2), p.At(i.x + i.width / 2, i.y + i.height / 2));
  }
}

TEST(ZoomControlClass, RegisteredOncePerInstance) {
  CZoomControl first;
  CZoomControl second;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), kZoomControlClass, &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW));
  EXPECT_EQ(wc.hbrBackground, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  EXPECT_TRUE(CZoomControl::RegisterWindowClass());
}

}  // namespace
}  // namespace views::test
