#include "app/shell/video_splitter_wnd_win32.h"

#include <algorithm>
#include <utility>

#include "overlap/overlap_watch_state.h"
#include "views/forms/view_factory_win32.h"

namespace shell {
namespace {

constexpr wchar_t kSplitterClass[] = L"TavrinVideoSplitter";

app::Row RowOf(app::ViewSlot slot) {
  if (slot == app::ViewSlot::Caption) return app::Row::Caption;
  if (slot >= app::ViewSlot::PlayController) return app::Row::Controller;
  return app::Row::Display;
}

views::ViewClass ClassOf(app::ViewSlot slot) {
  using views::ViewClass;
  switch (slot) {
    case app::ViewSlot::Caption:
      return ViewClass::VideoCaptionView;
    case app::ViewSlot::Blank:
      return ViewClass::VideoBlankView;
    case app::ViewSlot::Play:
      return ViewClass::VideoPlayView;
    case app::ViewSlot::PlayController:
      return ViewClass::VideoPlayControllerView;
    case app::ViewSlot::BlankController:
      return ViewClass::VideoBlankControllerView;
    default:
      return slot < app::ViewSlot::PlayController ? ViewClass::VideoErrorView
                                                  : ViewClass::VideoErrorControllerView;
  }
}

// The kind an error view or controller is told (4 to 10), 0 for the others.
uint32_t ErrorKindOf(app::ViewSlot slot) {
  const auto i = static_cast<int32_t>(slot);
  if (slot >= app::ViewSlot::Error4 && slot <= app::ViewSlot::Error10) {
    return static_cast<uint32_t>(4 + i - static_cast<int32_t>(app::ViewSlot::Error4));
  }
  if (slot >= app::ViewSlot::ErrorController4 && slot <= app::ViewSlot::ErrorController10) {
    return static_cast<uint32_t>(4 + i - static_cast<int32_t>(app::ViewSlot::ErrorController4));
  }
  return 0;
}

// The view object told its kind and listener, then its window in `pane`.
std::unique_ptr<views::CBaseView> MakeView(app::ViewSlot slot, HWND pane, app::IVideoPlayListner* play) {
  std::unique_ptr<views::CBaseView> view = views::CreateViewObject(ClassOf(slot));
  if (view == nullptr) return nullptr;
  view->SetKind(ErrorKindOf(slot));
  view->SetPlayListener(play);
  if (!view->Create(pane, views::kFirstViewId)) return nullptr;
  return view;
}

}  // namespace

CVideoSplitterWnd::CVideoSplitterWnd() : switcher_(*this) {}

CVideoSplitterWnd::~CVideoSplitterWnd() { DestroyViews(); }

bool CVideoSplitterWnd::CreatePanes(HWND frame) {
  WNDCLASSEXW wc = ClassTemplate(kSplitterClass);
  if (!views::RegisterClassOnce(wc)) return false;
  RECT client{};
  GetClientRect(frame, &client);
  if (!CreateOf(kSplitterClass, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, frame, kSplitterId, client)) {
    return false;
  }
  // Until the first relayout the scaled bar heights are 0: the display row
  // takes everything.
  rows_ = app::RowHeights{0, client.bottom - client.top};
  for (size_t row = 0; row < panes_.size(); ++row) {
    auto pane = std::make_unique<views::CPaneFrame>();
    if (!pane->Create(hwnd(), RECT{0, 0, 0, 0}, static_cast<UINT>(kSplitterId + 1 + row))) return false;
    panes_[row] = std::move(pane);
  }
  PlacePanes();
  return true;
}

void CVideoSplitterWnd::CreateViews(app::ScreenModeChangeListner* screenMode, app::IVideoPlayListner* play,
                                    const views::SettingsMap& settings) {
  for (int32_t i = 0; i < app::kViewCount; ++i) {
    const auto slot = static_cast<app::ViewSlot>(i);
    HWND pane = Pane(RowOf(slot));
    if (pane == nullptr) continue;
    std::unique_ptr<views::CBaseView> view = MakeView(slot, pane, play);
    if (view == nullptr) continue;
    view->SetScreenModeListener(screenMode);
    view->ApplySettings(settings);
    view->SendInitialUpdate();
    views_[static_cast<size_t>(i)] = std::move(view);
  }
  switcher_.HideAll();
}

void CVideoSplitterWnd::DestroyViews() {
  for (int32_t kind = 1; kind <= 10; ++kind) {
    const app::ViewSet set = app::ViewSetOf(kind);
    for (app::ViewSlot slot : {set.display, set.controller, set.caption})
      views_[static_cast<size_t>(slot)].reset();
  }
  for (auto& view : views_) view.reset();
  for (auto& pane : panes_) pane.reset();
}

void CVideoSplitterWnd::SwitchTo(app::ScreenKind kind) {
  if (hwnd() != nullptr) SendMessageW(hwnd(), kSwitchViewsMessage, static_cast<WPARAM>(kind), 0);
}

void CVideoSplitterWnd::Relayout(const views::DisplayLayout& layout) { switcher_.Relayout(layout); }

app::Rect CVideoSplitterWnd::DisplayArea() const {
  const views::CBaseView* view = View(switcher_.Shown().display);
  HWND window = view != nullptr ? view->hwnd() : Pane(app::Row::Display);
  RECT r{};
  if (window == nullptr || !GetClientRect(window, &r)) return app::Rect{};
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return app::Rect{r.left, r.top, r.right, r.bottom};
}

views::CBaseDisplayView* CVideoSplitterWnd::ShownDisplay() const {
  return dynamic_cast<views::CBaseDisplayView*>(View(switcher_.Shown().display));
}

uint32_t CVideoSplitterWnd::CheckState() const {
  const views::CBaseDisplayView* view = ShownDisplay();
  return view != nullptr ? view->CheckState() : 0;
}

void CVideoSplitterWnd::PauseChecks() {
  if (views::CBaseDisplayView* view = ShownDisplay()) view->SetCheckState(0);
}

void CVideoSplitterWnd::ResumeChecks() {
  if (views::CBaseDisplayView* view = ShownDisplay()) view->SetCheckState(view->SavedCheckState());
}

uint32_t CVideoSplitterWnd::CheckOverlap() {
  views::CBaseDisplayView* view = ShownDisplay();
  return view != nullptr ? view->CheckOverlap() : 0;
}

void CVideoSplitterWnd::SetPlaneShown(bool shown) { overlap::SetOverlapPlaneShown(shown ? 1 : 0); }

views::CBaseView* CVideoSplitterWnd::View(app::ViewSlot slot) const {
  const auto i = static_cast<size_t>(slot);
  return i < views_.size() ? views_[i].get() : nullptr;
}

HWND CVideoSplitterWnd::Pane(app::Row row) const {
  const auto i = static_cast<size_t>(row);
  return i < panes_.size() && panes_[i] != nullptr ? panes_[i]->hwnd() : nullptr;
}

LRESULT CVideoSplitterWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kSwitchViewsMessage:
      return switcher_.Switch(static_cast<int32_t>(wParam)) ? 1 : 0;
    case WM_SIZE:
      switcher_.UpdateRows();
      PlacePanes();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the panes cover it all
    default:
      return WindowBase::HandleMessage(message, wParam, lParam);
  }
}

bool CVideoSplitterWnd::Exists(app::ViewSlot view) const {
  const views::CBaseView* v = View(view);
  return v != nullptr && v->hwnd() != nullptr;
}

void CVideoSplitterWnd::SetLayout(app::ViewSlot view, const views::DisplayLayout& layout) {
  View(view)->SetLayout(layout);
}

void CVideoSplitterWnd::Activate(app::Row, app::ViewSlot view) {
  active_ = view;
  View(view)->ActivatePane();
  View(view)->FitToPaneFrame();
}

void CVideoSplitterWnd::Hide(app::ViewSlot view, uint32_t controlId) {
  HWND window = View(view)->hwnd();
  ShowWindow(window, SW_HIDE);
  SetWindowLongPtrW(window, GWLP_ID, static_cast<LONG_PTR>(controlId));
}

void CVideoSplitterWnd::ShowCloseButton(app::ViewSlot caption, bool show) {
  if (auto* view = dynamic_cast<views::CBaseCaptionView*>(View(caption))) view->ShowCloseButton(show);
}

int32_t CVideoSplitterWnd::ClientHeight() const {
  RECT r{};
  if (hwnd() == nullptr || !GetClientRect(hwnd(), &r)) return 0;
  return r.bottom - r.top;
}

app::RowHeights CVideoSplitterWnd::CurrentRows() const { return rows_; }

void CVideoSplitterWnd::SetRows(const app::RowHeights& rows) {
  rows_ = rows;
  PlacePanes();
}

// The controller row keeps what the other two leave.
void CVideoSplitterWnd::PlacePanes() {
  RECT client{};
  if (hwnd() == nullptr || !GetClientRect(hwnd(), &client)) return;
  const int32_t width = client.right - client.left;
  const int32_t height = client.bottom - client.top;
  const int32_t caption = std::min(std::max(rows_.caption, 0), height);
  const int32_t display = std::min(std::max(rows_.display, 0), height - caption);
  const std::array<std::pair<int32_t, int32_t>, 3> spans{
      {{0, caption}, {caption, display}, {caption + display, height - caption - display}}};
  for (size_t row = 0; row < panes_.size(); ++row) {
    if (panes_[row] == nullptr) continue;
    MoveWindow(panes_[row]->hwnd(), 0, spans[row].first, width, spans[row].second, TRUE);
  }
}

}  // namespace shell
