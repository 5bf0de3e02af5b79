#pragma once
// The display view of the Play and PlayBarHidden screens: key colour only,
// the board's video plane shows through it.  Touch, double click, wheel,
// left drag and keys become zoom and pan requests to the frame; the
// decisions are input::PlayZoomLogic's and input::PointerKeys'.

#include <windows.h>

#include "app/view_listeners.h"
#include "common/win32/unique_handle.h"
#include "input/play_zoom_logic.h"
#include "input/pointer_keys.h"
#include "input/touch_reader_win32.h"
#include "views/forms/base_view_win32.h"

namespace views {

class CVideoPlayView : public CBaseDisplayView, private input::CheckStateSink {
 public:
  CVideoPlayView();
  ~CVideoPlayView() override;

  void SetPlayListener(app::IVideoPlayListner* listener) override { logic_.SetPlayListener(listener); }
  // Entries 4 (MaxZoom) and 5 (DoubleClickZoom); missing or bad text gives 0.0.
  void ApplySettings(const SettingsMap& settings) override;
  void SetLayout(const DisplayLayout& layout) override;
  // The video rectangle, in screen coordinates.
  Rect GetCaptureRect() override;

  // For the frame's message loop, before dispatching: keys (F11, Esc, Ctrl
  // with plus, minus or 0) and the wheel over the video, wherever the focus
  // is.  True when the message was used and must not be dispatched.
  [[nodiscard]] bool PreTranslateInput(const MSG& message);

  // The seam for reading touch points (the platform's by default); not owned.
  void SetTouchReader(input::TouchReader* reader) { reader_ = reader != nullptr ? reader : &platformReader_; }
  [[nodiscard]] bool TouchRegistered() const { return touch_.valid(); }
  [[nodiscard]] const input::PlayZoomLogic& Logic() const { return logic_; }

 protected:
  void OnWindowCreated() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void SetCheckState(uint32_t state) override { CBaseDisplayView::SetCheckState(state); }
  [[nodiscard]] bool OnKey(UINT message, WPARAM key, LPARAM flags);
  [[nodiscard]] POINT ToScreen(LPARAM clientPoint) const;

  input::PlayZoomLogic logic_{*this};
  input::PointerKeys keys_{logic_};
  input::Win32TouchReader platformReader_;
  input::TouchReader* reader_ = &platformReader_;
  win32::UniqueTouchRegistration touch_;
};

}  // namespace views
