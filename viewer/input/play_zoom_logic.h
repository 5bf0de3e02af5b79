#pragma once
// What the play view decides: touch gestures, the double tap, and the zoom
// and pan requests they make of the frame.  The view keeps the window and
// hands over its messages; this keeps the state and does the maths.
//
// The view works from the last layout the frame gave it: every request is
// answered by a new layout (synchronously, inside OnZoomChanged) before the
// next event is handled.
#include <cstdint>
#include <string_view>

#include "app/view_listeners.h"
#include "input/gesture_recognizer_set.h"
#include "input/touch_reader.h"

namespace input {

// The part of the display layout the play view reads.
struct ZoomLayout {
  app::Rect video;  // screen pixels
  double centreX = 0.5;
  double centreY = 0.5;
  double zoom = 1.0;
  bool fullScreen = false;
};

// The view's check state, which doubles as its gesture-idle flag: 1 while
// no gesture runs, 0 while one does.
class CheckStateSink {
 public:
  virtual ~CheckStateSink() = default;
  virtual void SetCheckState(uint32_t state) = 0;
};

struct SlideState {
  double lastX = 0.0;  // last finger position, fractions of the video rectangle
  double lastY = 0.0;
  double centreX = 0.0;
  double centreY = 0.0;
  uint32_t active = 0;
};

struct PinchState {
  double lastX = 0.0;  // last midpoint, fractions of the video rectangle
  double lastY = 0.0;
  int32_t distance = 0;
  double anchorX = 0.0;  // picture point under the fingers when the pinch began
  double anchorY = 0.0;
  double offsetX = 0.0;
  double offsetY = 0.0;
  double maximumZoom = 1.0;
  double zoom = 1.0;  // of the running pinch
  uint32_t active = 0;
};

class PlayZoomLogic {
 public:
  // Binds the recognizers' six handlers to this object.
  explicit PlayZoomLogic(CheckStateSink& checkState);
  PlayZoomLogic(const PlayZoomLogic&) = delete;
  PlayZoomLogic& operator=(const PlayZoomLogic&) = delete;

  // Either may be null: a missing listener suppresses its requests.
  void SetPlayListener(app::IVideoPlayListner* listener) { play_ = listener; }
  void SetScreenModeListener(app::ScreenModeChangeListner* listener) { screen_ = listener; }

  // The MaxZoom and DoubleClickZoom texts of the settings map.  A text that
  // does not parse gives 0.0: a maximum of 0.0 keeps every zoom gesture at
  // 1.0, a double-tap zoom of 0.0 is sent as it is.
  void ApplySettings(std::wstring_view maxZoomText, std::wstring_view doubleTapZoomText);
  void SetLayout(const ZoomLayout& layout) { layout_ = layout; }
  [[nodiscard]] const ZoomLayout& Layout() const { return layout_; }
  // The screen rectangle the overlap check watches.
  [[nodiscard]] app::Rect CaptureRect() const { return layout_.video; }
  [[nodiscard]] double MaximumZoom() const { return pinch_.maximumZoom; }
  [[nodiscard]] double DoubleTapZoom() const { return doubleTapZoom_; }

  // The view was resized.
  void OnSized();
  // A touch message: `count` points behind `handle`.
  void OnTouch(TouchReader& reader, TouchInputHandle handle, uint32_t count);
  // A double click at a screen point; false when the message must get no
  // default processing (outside the video rectangle).
  [[nodiscard]] bool OnDoubleClick(int32_t x, int32_t y);

  // The recognizers' handlers (event positions in screen pixels).
  void OnSlideBegan(SlideEventArgs e);
  void OnSlideChanged(SlideEventArgs e);
  void OnSlideEnded(SlideEventArgs e);
  void OnPinchBegan(PinchEventArgs e);
  void OnPinchChanged(PinchEventArgs e);
  void OnPinchEnded(PinchEventArgs e);

  // Requests for mouse and keyboard, through the same maths as the gestures.
  // Zoom by `factor` about a screen point, clamped to 1.0 .. maximum; nothing
  // is sent when the zoom would not change.
  void ZoomAboutPoint(int32_t x, int32_t y, double factor);
  // The same about the middle of the video rectangle.
  void ZoomAboutMiddle(double factor);
  // Pan as a finger moving between two screen points would; nothing at 1.0.
  void PanBetween(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);
  void WholePicture();
  // Full screen on or off; every mode change returns to the whole picture.
  void RequestScreenMode(int32_t mode);
  // A mouse drag holds the gesture-idle flag at 0 as a touch gesture does.
  void SetPointerGesture(bool running);

  [[nodiscard]] GestureRecognizerSet& Recognizers() { return recognizers_; }
  [[nodiscard]] const SlideState& Slide() const { return slide_; }
  [[nodiscard]] const PinchState& Pinch() const { return pinch_; }

 private:
  [[nodiscard]] bool HasVideoArea() const;
  void SendZoom(double centreX, double centreY, double zoom);
  void SlideStep(SlideEventArgs e);
  app::ZoomCentre PinchStep(PinchEventArgs e);
  void GestureEnded();
  [[nodiscard]] bool TouchRunning() const;
  void ZoomAboutFraction(double px, double py, double factor);

  CheckStateSink& checkState_;
  app::IVideoPlayListner* play_ = nullptr;
  app::ScreenModeChangeListner* screen_ = nullptr;
  SlideState slide_;
  PinchState pinch_;
  GestureRecognizerSet recognizers_;
  double doubleTapZoom_ = 1.0;
  ZoomLayout layout_;
  bool pointerGesture_ = false;
};

}  // namespace input
