#include "views/forms/error_view_win32.h"

#include "overlap/key_colour.h"
#include "resource_ids.h"
#include "views/controls/view_fonts_win32.h"
#include "views/forms/text_measure_win32.h"
#include "views/text_fit.h"
#include "views/ui_strings.h"

namespace views {
namespace {

constexpr std::array<int, 4> kLines{IDC_ERROR_LINE1, IDC_ERROR_LINE2, IDC_ERROR_LINE3, IDC_ERROR_LINE4};

}  // namespace

CVideoErrorView::CVideoErrorView()
    : CBaseDisplayView(IDD_VIDEO_ERROR_VIEW), background_(CreateSolidBrush(overlap::KeyColour)) {}

CVideoErrorView::~CVideoErrorView() {
  // The lines and the button use fonts and faces of this object.
  DestroyWindowNow();
}

bool CVideoErrorView::ApplyKind() {
  const ErrorViewContent content = ErrorContentOf(kind_);
  if (content.known) {
    for (size_t n = 0; n < kLines.size(); ++n)
      SetDlgItemTextW(hwnd(), kLines[n], LoadUiString(content.lines[n]).c_str());
    if (content.HasButton())
      SetDlgItemTextW(hwnd(), IDC_ERROR_BUTTON, LoadUiString(content.buttonCaption).c_str());
    SetCheckState(content.checkState);
    SetSavedCheckState(content.checkState);
  }
  for (size_t n = 0; n < kLines.size(); ++n) ApplyTextFont(GetDlgItem(hwnd(), kLines[n]), lineFonts_[n]);
  return content.HasButton();
}

void CVideoErrorView::OnInitialUpdate() {
  const bool show = ApplyKind();
  const ErrorViewContent content = ErrorContentOf(kind_);
  std::vector<std::wstring> texts;
  for (int id : kLines) {
    wchar_t text[512]{};
    GetDlgItemTextW(hwnd(), id, text, 512);
    texts.emplace_back(text);
  }
  // Lines of 600 units unless a text needs more: a static would wrap it out
  // of sight.
  const int32_t lineWidth = WidthToHold(600, MeasureTexts(texts, 40), 20);
  HWND line1 = GetDlgItem(hwnd(), IDC_ERROR_LINE1);
  HWND line2 = GetDlgItem(hwnd(), IDC_ERROR_LINE2);
  HWND line3 = GetDlgItem(hwnd(), IDC_ERROR_LINE3);
  HWND line4 = GetDlgItem(hwnd(), IDC_ERROR_LINE4);
  // Line 3 in the middle; the block grows up and down from it.
  auto addLine = [&](HWND line, int32_t verticalMode, int32_t offset, HWND anchor) {
    AddLayoutItem({.control = line,
                   .width = lineWidth,
                   .height = 60,
                   .fontSize = 40,
                   .horizontalMode = kAlignHCentre,
                   .verticalMode = verticalMode,
                   .verticalOffset = offset,
                   .verticalAnchor = anchor});
  };
  addLine(line3, kAlignVCentre, 0, nullptr);
  addLine(line2, kAlignTop, 5, line3);
  addLine(line1, kAlignTop, 5, line2);
  addLine(line4, kAlignBottom, 5, line3);
  if (show) {
    if (button_.SubclassDlgItem(IDC_ERROR_BUTTON, hwnd())) (void)button_.LoadStateBitmaps();
    button_.LoadBitmaps(kPlayButtonFaces.normal, kPlayButtonFaces.pressed, kPlayButtonFaces.focused,
                        kPlayButtonFaces.disabled);
    button_.ApplyButtonFont();
    const std::wstring caption = LoadUiString(content.buttonCaption);
    button_.SetCaption(caption);
    AddLayoutItem({.control = GetDlgItem(hwnd(), IDC_ERROR_BUTTON),
                   .width = WidthToHold(160, MeasureTexts({caption}, 36), 40),
                   .height = 60,
                   .fontSize = 36,
                   .horizontalMode = kAlignHCentre,
                   .verticalMode = kAlignBottom,
                   .verticalOffset = 40,
                   .verticalAnchor = line4});
    ShowWindow(GetDlgItem(hwnd(), IDC_ERROR_BUTTON), SW_SHOWNORMAL);
  }
  Relayout();
}

bool CVideoErrorView::IsLine(HWND control) const {
  for (int id : kLines)
    if (GetDlgItem(hwnd(), id) == control) return true;
  return false;
}

Rect CVideoErrorView::GetExclusionRect() {
  std::array<Rect, 4> lines{};
  auto inView = [this](HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return Rect{r.left, r.top, r.right, r.bottom};
  };
  for (size_t n = 0; n < kLines.size(); ++n) {
    if (HWND line = GetDlgItem(hwnd(), kLines[n])) lines[n] = inView(line);
  }
  HWND button = GetDlgItem(hwnd(), IDC_ERROR_BUTTON);
  const bool shown = button != nullptr && (GetWindowLongPtrW(button, GWL_STYLE) & WS_VISIBLE) != 0;
  const Rect buttonRect = shown ? inView(button) : Rect{};
  return ExclusionOf(lines, shown ? &buttonRect : nullptr);
}

bool CVideoErrorView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_CTLCOLORSTATIC && IsLine(reinterpret_cast<HWND>(lParam))) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    result = reinterpret_cast<LRESULT>(background_.get());
    return true;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_ERROR_BUTTON && HIWORD(wParam) == BN_CLICKED) {
    const ErrorButtonAction action = ErrorContentOf(kind_).action;
    HWND main = GetAncestor(hwnd(), GA_ROOT);
    if (action != ErrorButtonAction::kNone && main != nullptr)
      SendMessageW(main, static_cast<UINT>(action), 0, 0);
    result = 0;
    return true;
  }
  return CBaseDisplayView::OnMessage(message, wParam, lParam, result);
}

}  // namespace views
