#pragma once
// The controller bar of the Play and message screens: a full-screen button
// on the left, a zoom-out button on the right and the zoom indicator left of
// it.  What the buttons show and do comes from the subclass's decisions
// (views/play_controller_logic.h, views/error_view_logic.h).

#include <windows.h>

#include "app/view_listeners.h"
#include "views/controls/bitmap_button_win32.h"
#include "views/controls/zoom_control_win32.h"
#include "views/forms/base_view_win32.h"
#include "views/play_controller_logic.h"

namespace views {

struct ControllerBarIds {
  UINT fullScreen;
  UINT zoomIndicator;
  UINT zoomOut;
};

class CControllerBarView : public CBaseControllerView {
 public:
  CControllerBarView(UINT templateId, ControllerBarIds ids);
  ~CControllerBarView() override;

  void SetPlayListener(app::IVideoPlayListner* listener) override { logic_.SetPlayListener(listener); }
  void SetLayout(const DisplayLayout& layout) override;
  void UpdateControls() override;

  [[nodiscard]] CBitmapButtonEx& FullScreenButton() { return fullScreen_; }
  [[nodiscard]] CBitmapButtonEx& ZoomOutButton() { return zoomOut_; }
  [[nodiscard]] CZoomControl& ZoomIndicator() { return indicator_; }
  [[nodiscard]] const ControllerBarIds& Ids() const { return ids_; }

 protected:
  void OnInitialUpdate() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  [[nodiscard]] virtual FullScreenControls DecideControls(bool fullScreen, bool tabletMode) const = 0;
  [[nodiscard]] virtual ZoomOutControl DecideZoomOut(double zoom) const = 0;
  // Whether the zoom-out button asks for the whole picture.
  [[nodiscard]] virtual bool ZoomOutWorks() const = 0;

 private:
  void ApplyZoomOut();

  ControllerBarIds ids_;
  // Registers the indicator's window class before the template names it.
  CZoomControl indicator_;
  CBitmapButtonEx fullScreen_;
  CBitmapButtonEx zoomOut_;
  PlayControllerLogic logic_;
};

// The Play screen's bar (template 314).
class CVideoPlayControllerView : public CControllerBarView {
 public:
  CVideoPlayControllerView();

 protected:
  FullScreenControls DecideControls(bool fullScreen, bool tabletMode) const override;
  ZoomOutControl DecideZoomOut(double zoom) const override;
  bool ZoomOutWorks() const override { return true; }
};

// The message screens' bar (template 317): only leaving full screen works.
class CVideoErrorControllerView : public CControllerBarView {
 public:
  CVideoErrorControllerView();
  void SetKind(uint32_t kind) override { kind_ = kind; }
  [[nodiscard]] uint32_t Kind() const { return kind_; }

 protected:
  FullScreenControls DecideControls(bool fullScreen, bool tabletMode) const override;
  ZoomOutControl DecideZoomOut(double zoom) const override;
  bool ZoomOutWorks() const override { return false; }

 private:
  uint32_t kind_ = 0;
};

}  // namespace views
