#pragma once
// The main window's client area: three pane rows (caption, display,
// controller) and the 19 views, one shown per row.  The decisions are
// ViewSwitcher's; this class only does them to the windows.  Window thread
// only.
#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "app/screen_views.h"
#include "app/view_listeners.h"
#include "app/view_sets.h"
#include "views/forms/base_view_win32.h"
#include "views/framework/pane_frame_win32.h"
#include "views/framework/window_base_win32.h"

namespace shell {

// wParam: the screen kind; result 1 when switched.
inline constexpr UINT kSwitchViewsMessage = WM_USER + 2;
inline constexpr UINT kSplitterId = 0xE900;

class CVideoSplitterWnd : public views::WindowBase, public app::ScreenViews, private app::ViewSurface {
 public:
  CVideoSplitterWnd();
  ~CVideoSplitterWnd() override;

  // The splitter over the frame's client area and its three panes.
  [[nodiscard]] bool CreatePanes(HWND frame);
  // Every view, hidden; a view whose window could not be made stays missing
  // and every step skips it.
  void CreateViews(app::ScreenModeChangeListner* screenMode, app::IVideoPlayListner* play,
                   const views::SettingsMap& settings);
  // Views first (in set order), then the panes.
  void DestroyViews();

  // ScreenViews
  void SwitchTo(app::ScreenKind kind) override;
  void Relayout(const views::DisplayLayout& layout) override;
  app::Rect DisplayArea() const override;

  // On the shown set's display view (0 without one).
  uint32_t CheckState() const override;
  void PauseChecks() override;
  void ResumeChecks() override;
  uint32_t CheckOverlap() override;
  void SetPlaneShown(bool shown) override;

  [[nodiscard]] int32_t CurrentKind() const { return switcher_.CurrentKind(); }
  [[nodiscard]] views::CBaseView* View(app::ViewSlot slot) const;
  // The view activated last by a switch (the controller row's); null before.
  [[nodiscard]] views::CBaseView* ActiveView() const { return active_ ? View(*active_) : nullptr; }
  [[nodiscard]] HWND Pane(app::Row row) const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // ViewSurface
  bool Exists(app::ViewSlot view) const override;
  void SetLayout(app::ViewSlot view, const views::DisplayLayout& layout) override;
  void Activate(app::Row row, app::ViewSlot view) override;
  void Hide(app::ViewSlot view, uint32_t controlId) override;
  void ShowCloseButton(app::ViewSlot caption, bool show) override;
  int32_t ClientHeight() const override;
  app::RowHeights CurrentRows() const override;
  void SetRows(const app::RowHeights& rows) override;

  void PlacePanes();
  [[nodiscard]] views::CBaseDisplayView* ShownDisplay() const;

  std::array<std::unique_ptr<views::CPaneFrame>, 3> panes_;
  std::array<std::unique_ptr<views::CBaseView>, app::kViewCount> views_;
  app::ViewSwitcher switcher_;
  app::RowHeights rows_{};
  std::optional<app::ViewSlot> active_;
};

}  // namespace shell
