#pragma once
// What every view shares: the key-colour background, controls placed by
// layout rules in design units, fitting to the pane frame, activation as
// the pane's shown view and the last DisplayLayout.

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/win32/unique_handle.h"
#include "views/framework/form_view_win32.h"
#include "views/layout/display_layout.h"
#include "views/layout/layout_item.h"
#include "app/view_listeners.h"

namespace views {

// The settings store's values: entry id to text.
using SettingsMap = std::map<int32_t, std::wstring>;

class CBaseView : public CFormView, private LayoutSurface {
 public:
  explicit CBaseView(UINT templateId);
  ~CBaseView() override;

  // The window from the view's template, hidden, as a child of `pane`.
  [[nodiscard]] bool Create(HWND pane, UINT id);
  void SetScreenModeListener(app::ScreenModeChangeListner* listener) { listener_ = listener; }
  // The frame's zoom listener, for the views that ask for zooms; others ignore it.
  virtual void SetPlayListener(app::IVideoPlayListner*) {}
  // The screen kind of a message view or bar, before the initial update; others ignore it.
  virtual void SetKind(uint32_t) {}

  // Slot 1: the settings store's map, once, right after creation.
  virtual void ApplySettings(const SettingsMap& settings);
  // Slot 2: show, and take the pane's first-view id.
  virtual void ActivatePane();
  // Slot 3: store; move controls only when the display changed.
  virtual void SetLayout(const DisplayLayout& layout);

  [[nodiscard]] const DisplayLayout& Layout() const { return layout_; }
  [[nodiscard]] UINT TemplateId() const { return templateId_; }
  // Let the pane lay the view out, then cover the pane's client area.
  void FitToPaneFrame() override;
  // FitToPaneFrame, then every layout item in insertion order.
  void Relayout();

 protected:
  void AddLayoutItem(const LayoutItem& item) { items_.push_back(item); }
  [[nodiscard]] app::ScreenModeChangeListner* ScreenModeListener() const { return listener_; }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  Rect ClientRect() const override;
  Rect ControlRect(ControlRef control) const override;
  void MoveControl(ControlRef control, const Rect& rect) override;
  void SetControlFontHeight(ControlRef control, int32_t height) override;

  UINT templateId_;
  win32::UniqueBrush background_;
  DisplayLayout layout_;
  std::vector<LayoutItem> items_;
  app::ScreenModeChangeListner* listener_ = nullptr;
  // Fonts made by the layout pass; a font the view did not make (the
  // dialog's own) is never destroyed by it.
  std::map<HWND, win32::UniqueFont> fonts_;
  bool laying_out_ = false;
};

class CBaseCaptionView : public CBaseView {
 public:
  using CBaseView::CBaseView;
  // Slot 4 of caption views.
  virtual void ShowCloseButton(bool show);
};

class CBaseControllerView : public CBaseView {
 public:
  using CBaseView::CBaseView;
  void ActivatePane() override;
  // Slot 4 of controller views: show, enable and caption the bar's buttons.
  virtual void UpdateControls();
};

class CBaseDisplayView : public CBaseView {
 public:
  using CBaseView::CBaseView;
  // Slot 4 of display views: the screen area the overlap detector captures.
  virtual Rect GetCaptureRect();
  // Slot 5: the part of it ignored, relative to its top-left corner.
  virtual Rect GetExclusionRect();

  // One overlap check: 0 clear, 1 covered, 2 a check still runs.  Waits for
  // the check unless the check state is 1.
  [[nodiscard]] uint32_t CheckOverlap();

  [[nodiscard]] uint32_t CheckState() const { return checkState_; }
  void SetCheckState(uint32_t state) { checkState_ = state; }
  [[nodiscard]] uint32_t SavedCheckState() const { return savedCheckState_; }
  void SetSavedCheckState(uint32_t state) { savedCheckState_ = state; }

 private:
  uint32_t checkState_ = 0;
  uint32_t savedCheckState_ = 0;
};

}  // namespace views
