#include "views/forms/controller_bar_win32.h"

#include "resource_ids.h"
#include "views/error_view_logic.h"
#include "views/forms/text_measure_win32.h"
#include "views/text_fit.h"
#include "views/ui_strings.h"

namespace views {
namespace {

void BindButton(CBitmapButtonEx& button, UINT id, HWND view) {
  if (button.SubclassDlgItem(id, view)) (void)button.LoadStateBitmaps();
  button.LoadBitmaps(kPlayButtonFaces.normal, kPlayButtonFaces.pressed, kPlayButtonFaces.focused,
                     kPlayButtonFaces.disabled);
  button.ApplyButtonFont();
}

}  // namespace

CControllerBarView::CControllerBarView(UINT templateId, ControllerBarIds ids)
    : CBaseControllerView(templateId), ids_(ids) {}

CControllerBarView::~CControllerBarView() {
  // The buttons' fonts and faces must outlive their windows.
  DestroyWindowNow();
}

void CControllerBarView::OnInitialUpdate() {
  (void)indicator_.SubclassDlgItem(ids_.zoomIndicator, hwnd());
  BindButton(fullScreen_, ids_.fullScreen, hwnd());
  BindButton(zoomOut_, ids_.zoomOut, hwnd());
  zoomOut_.SetCaption(LoadUiString(kZoomOutCaption));
  ApplyZoomOut();
  indicator_.ResetIndicator();

  // Buttons of their design width unless a caption in this language needs
  // more: icon 50, gap 10 and 20 each side besides the text.
  const int32_t fullWidth =
      WidthToHold(kPlayControllerItems[0].width,
                  MeasureTexts({LoadUiString(kIdsFullScreen), LoadUiString(kIdsNormalScreen)},
                               kPlayControllerItems[0].fontSize),
                  100);
  const int32_t outWidth =
      WidthToHold(kPlayControllerItems[1].width,
                  MeasureTexts({LoadUiString(kZoomOutCaption)}, kPlayControllerItems[1].fontSize), 100);
  for (const ControllerItem& c : kPlayControllerItems) {
    const UINT control = c.control == kPlayFullScreenButton ? ids_.fullScreen
                         : c.control == kPlayZoomOutButton  ? ids_.zoomOut
                                                            : ids_.zoomIndicator;
    LayoutItem item{.control = GetDlgItem(hwnd(), static_cast<int>(control)),
                    .width = c.control == kPlayFullScreenButton ? fullWidth
                             : c.control == kPlayZoomOutButton  ? outWidth
                                                                : c.width,
                    .height = c.height,
                    .fontSize = c.fontSize,
                    .horizontalMode = c.anchor == ItemAnchor::kRight ? kAlignRight : kAlignLeft,
                    .horizontalOffset = c.offset,
                    .verticalMode = kAlignVCentre};
    if (c.anchor == ItemAnchor::kLeftOf)
      item.horizontalAnchor = GetDlgItem(hwnd(), static_cast<int>(ids_.zoomOut));
    AddLayoutItem(item);
  }
  Relayout();
}

void CControllerBarView::ApplyZoomOut() {
  const ZoomOutControl z = DecideZoomOut(Layout().zoom);
  if (zoomOut_.hwnd() == nullptr) return;
  EnableWindow(zoomOut_.hwnd(), z.enabled ? TRUE : FALSE);
  zoomOut_.SetIcon(z.icon);
}

void CControllerBarView::UpdateControls() {
  const FullScreenControls c = DecideControls(Layout().fullScreen != 0, Layout().tabletMode != 0);
  if (indicator_.hwnd() != nullptr && fullScreen_.hwnd() != nullptr) {
    const int show = c.zoomControlsShown ? SW_SHOW : SW_HIDE;
    ShowWindow(indicator_.hwnd(), show);
    if (zoomOut_.hwnd() != nullptr) ShowWindow(zoomOut_.hwnd(), show);
  }
  if (fullScreen_.hwnd() == nullptr) return;
  EnableWindow(fullScreen_.hwnd(), c.fullScreenEnabled ? TRUE : FALSE);
  fullScreen_.SetCaption(LoadUiString(c.fullScreenCaption));
  fullScreen_.SetIcon(c.fullScreenIcon);
  // A new caption with the same icon must still show.
  InvalidateRect(fullScreen_.hwnd(), nullptr, TRUE);
}

void CControllerBarView::SetLayout(const DisplayLayout& layout) {
  CBaseControllerView::SetLayout(layout);
  if (logic_.SetLayout(layout.fullScreen != 0, layout.tabletMode != 0)) UpdateControls();
  if (indicator_.hwnd() != nullptr) indicator_.SetLayout(layout);
  ApplyZoomOut();
  zoomOut_.SetLayout(layout);
  fullScreen_.SetLayout(layout);
}

bool CControllerBarView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == ids_.fullScreen) {
      logic_.SetScreenModeListener(ScreenModeListener());
      logic_.OnFullScreenClicked();
      result = 0;
      return true;
    }
    if (LOWORD(wParam) == ids_.zoomOut && ZoomOutWorks()) {
      logic_.OnZoomOutClicked();
      result = 0;
      return true;
    }
  }
  return CBaseControllerView::OnMessage(message, wParam, lParam, result);
}

CVideoPlayControllerView::CVideoPlayControllerView()
    : CControllerBarView(IDD_VIDEO_PLAY_CONTROLLER, {IDC_FULL_SCREEN, IDC_ZOOM_INDICATOR, IDC_ZOOM_OUT}) {}

FullScreenControls CVideoPlayControllerView::DecideControls(bool fullScreen, bool tabletMode) const {
  return DecideFullScreenControls(fullScreen, tabletMode);
}

ZoomOutControl CVideoPlayControllerView::DecideZoomOut(double zoom) const {
  return DecideZoomOutControl(zoom);
}

CVideoErrorControllerView::CVideoErrorControllerView()
    : CControllerBarView(IDD_VIDEO_ERROR_CONTROLLER,
                         {IDC_ERROR_FULL_SCREEN, IDC_ERROR_ZOOM_INDICATOR, IDC_ERROR_ZOOM_OUT}) {}

FullScreenControls CVideoErrorControllerView::DecideControls(bool fullScreen, bool tabletMode) const {
  return DecideErrorFullScreenControls(fullScreen, tabletMode);
}

ZoomOutControl CVideoErrorControllerView::DecideZoomOut(double) const { return kErrorZoomOut; }

}  // namespace views
