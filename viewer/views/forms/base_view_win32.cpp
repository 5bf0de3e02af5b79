#include "views/forms/base_view_win32.h"

#include "overlap/key_colour.h"
#include "overlap/overlap_watch_state.h"
#include "views/framework/pane_frame_win32.h"

namespace views {

CBaseView::CBaseView(UINT templateId)
    : templateId_(templateId), background_(CreateSolidBrush(overlap::KeyColour)) {}

CBaseView::~CBaseView() {
  // The controls still hold fonts of ours: the window goes first.
  DestroyWindowNow();
}

bool CBaseView::Create(HWND pane, UINT id) { return CreateFromTemplate(templateId_, pane, id); }

void CBaseView::ApplySettings(const SettingsMap&) {}

void CBaseView::ActivatePane() {
  ShowWindow(hwnd(), SW_SHOW);
  SetWindowLongPtrW(hwnd(), GWLP_ID, static_cast<LONG_PTR>(kFirstViewId));
}

void CBaseView::SetLayout(const DisplayLayout& layout) {
  const bool changed = PlacementChanged(layout_, layout);
  layout_ = layout;
  if (changed) Relayout();
}

void CBaseView::FitToPaneFrame() {
  HWND pane = GetParent(hwnd());
  if (pane == nullptr) return;
  SendMessageW(pane, kPaneRecalcLayout, 0, 0);
  RECT client{};
  GetClientRect(pane, &client);
  MoveWindow(hwnd(), client.left, client.top, client.right - client.left, client.bottom - client.top, TRUE);
}

void CBaseView::Relayout() {
  if (hwnd() == nullptr || laying_out_) return;
  // Fitting sizes the view, whose WM_SIZE would start the pass again.
  laying_out_ = true;
  views::Relayout(items_, *this, layout_);
  laying_out_ = false;
}

Rect CBaseView::ClientRect() const {
  RECT r{};
  GetClientRect(hwnd(), &r);
  return Rect{r.left, r.top, r.right, r.bottom};
}

Rect CBaseView::ControlRect(ControlRef control) const {
  RECT r{};
  GetWindowRect(static_cast<HWND>(control), &r);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  return Rect{r.left, r.top, r.right, r.bottom};
}

void CBaseView::MoveControl(ControlRef control, const Rect& rect) {
  MoveWindow(static_cast<HWND>(control), rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

void CBaseView::SetControlFontHeight(ControlRef control, int32_t height) {
  HWND window = static_cast<HWND>(control);
  auto current = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  if (current == nullptr) return;
  LOGFONTW description{};
  if (GetObjectW(current, sizeof description, &description) == 0) return;
  description.lfHeight = height;
  win32::UniqueFont replacement(CreateFontIndirectW(&description));
  if (!replacement) return;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(replacement.get()), FALSE);
  fonts_[window] = std::move(replacement);  // the font it replaced, if ours, goes now
}

bool CBaseView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SIZE:
      Relayout();
      result = 0;
      return true;
    case WM_SHOWWINDOW:
      if (wParam != FALSE) FitToPaneFrame();
      return false;  // default processing as well
    case WM_CTLCOLORDLG:
      if (reinterpret_cast<HWND>(lParam) == hwnd()) {
        result = reinterpret_cast<LRESULT>(background_.get());
        return true;
      }
      return false;
    default:
      return CFormView::OnMessage(message, wParam, lParam, result);
  }
}

void CBaseCaptionView::ShowCloseButton(bool) {}

void CBaseControllerView::ActivatePane() {
  CBaseView::ActivatePane();
  UpdateControls();
}

void CBaseControllerView::UpdateControls() {}

Rect CBaseDisplayView::GetCaptureRect() {
  RECT r{};
  GetClientRect(hwnd(), &r);
  MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return Rect{r.left, r.top, r.right, r.bottom};
}

Rect CBaseDisplayView::GetExclusionRect() { return Rect{}; }

uint32_t CBaseDisplayView::CheckOverlap() {
  const Rect capture = GetCaptureRect();
  const Rect exclusion = GetExclusionRect();
  return overlap::CheckOverlap(
      overlap::PixelRect{capture.left, capture.top, capture.right, capture.bottom},
      overlap::PixelRect{exclusion.left, exclusion.top, exclusion.right, exclusion.bottom}, checkState_ == 1);
}

}  // namespace views
