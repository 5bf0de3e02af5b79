#pragma once
// The zoom indicator: a map of the whole picture on which a grey rectangle
// with a white outline marks the part shown.  Takes no input; repaints
// whenever its controller hands it a new layout.

#include <windows.h>

#include "common/win32/unique_handle.h"
#include "views/framework/subclassed_control_win32.h"
#include "views/layout/display_layout.h"
#include "views/layout/zoom_geometry.h"

namespace views {

inline constexpr wchar_t kZoomControlClass[] = L"CZoomControl";

class CZoomControl : public CSubclassedControl {
 public:
  // Registers the window class "CZoomControl" for this program's instance
  // unless it exists: the templates name it, so the first zoom control must
  // be constructed before the first controller view's window.
  CZoomControl();

  // True when the class exists for this instance.
  [[nodiscard]] static bool RegisterWindowClass();

  void ResetIndicator();
  void MoveIndicator(const Point& point, double zoom);
  void UpdateIndicator();
  // Stores the layout, re-makes the pen at the scaled width, updates.
  void SetLayout(const DisplayLayout& layout);

  [[nodiscard]] const SizedRect& Indicator() const { return geometry_.Indicator(); }
  [[nodiscard]] int PenWidth() const { return penWidth_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  [[nodiscard]] Rect Client() const;
  void Paint();
  void Repaint();

  win32::UniqueBrush background_;
  win32::UniqueBitmap enabledMap_;
  win32::UniqueBitmap disabledMap_;
  ZoomIndicatorGeometry geometry_;
  win32::UniqueBrush indicatorBrush_;
  win32::UniquePen indicatorPen_;
  int penWidth_ = 0;
  win32::UniqueBitmap zoomIcon_;
  DisplayLayout layout_;
};

}  // namespace views
