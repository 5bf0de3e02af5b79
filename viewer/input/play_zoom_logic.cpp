#include "input/play_zoom_logic.h"

#include "input/decimal_setting.h"
#include "input/touch_message.h"
#include "input/zoom_maths.h"

namespace input {

PlayZoomLogic::PlayZoomLogic(CheckStateSink& checkState) : checkState_(checkState) {
  recognizers_.SetSlideBeganHandler([this](SlideEventArgs e) { OnSlideBegan(e); });
  recognizers_.SetSlideChangedHandler([this](SlideEventArgs e) { OnSlideChanged(e); });
  recognizers_.SetSlideEndedHandler([this](SlideEventArgs e) { OnSlideEnded(e); });
  recognizers_.SetPinchBeganHandler([this](PinchEventArgs e) { OnPinchBegan(e); });
  recognizers_.SetPinchChangedHandler([this](PinchEventArgs e) { OnPinchChanged(e); });
  recognizers_.SetPinchEndedHandler([this](PinchEventArgs e) { OnPinchEnded(e); });
}

void PlayZoomLogic::ApplySettings(std::wstring_view maxZoomText, std::wstring_view doubleTapZoomText) {
  doubleTapZoom_ = ParseDecimalDouble(doubleTapZoomText);
  pinch_.maximumZoom = ParseDecimalDouble(maxZoomText);
}

void PlayZoomLogic::OnSized() {
  if (play_ != nullptr) play_->OnVideoAreaChanged();
}

void PlayZoomLogic::OnTouch(TouchReader& reader, TouchInputHandle handle, uint32_t count) {
  HandleTouchMessage(reader, handle, count, layout_.video, recognizers_);
}

bool PlayZoomLogic::OnDoubleClick(int32_t x, int32_t y) {
  const app::Rect& v = layout_.video;
  if (!IsStrictlyInside(v, x, y)) return false;
  if (play_ != nullptr) {
    // Strictly inside: the rectangle is at least two pixels each way.
    app::ZoomCentre centre{static_cast<double>(x - v.left) / v.Width(),
                           static_cast<double>(y - v.top) / v.Height()};
    const app::Rect area{0, 0, v.Width(), v.Height()};
    const double target = layout_.zoom == 1.0 ? doubleTapZoom_ : 1.0;
    // The crop stops at the picture's edge; so does the centre, or the next
    // slide or pinch would start from a middle that is not shown.
    if (target >= 1.0) {
      centre.x = ClampCentre(centre.x, target);
      centre.y = ClampCentre(centre.y, target);
    }
    play_->OnZoomChanged(&area, &centre, target);
  }
  return true;
}

bool PlayZoomLogic::HasVideoArea() const { return layout_.video.Width() > 0 && layout_.video.Height() > 0; }

void PlayZoomLogic::SendZoom(double centreX, double centreY, double zoom) {
  if (play_ == nullptr) return;
  const app::Rect area{0, 0, layout_.video.Width(), layout_.video.Height()};
  const app::ZoomCentre centre{centreX, centreY};
  play_->OnZoomChanged(&area, &centre, zoom);
}

void PlayZoomLogic::OnSlideBegan(SlideEventArgs e) {
  checkState_.SetCheckState(0);
  // Neither the whole picture nor an empty video area is panned.
  if (UsableZoom(layout_.zoom) == 1.0 || !HasVideoArea()) return;
  slide_.lastX = static_cast<double>(e.x) / layout_.video.Width();
  slide_.lastY = static_cast<double>(e.y) / layout_.video.Height();
  slide_.active = 1;
}

void PlayZoomLogic::SlideStep(SlideEventArgs e) {
  const double nx = static_cast<double>(e.x) / layout_.video.Width();
  const double ny = static_cast<double>(e.y) / layout_.video.Height();
  const double z = UsableZoom(layout_.zoom);
  slide_.centreX = PanCentre(UsableCentre(layout_.centreX), z, slide_.lastX, nx);
  slide_.centreY = PanCentre(UsableCentre(layout_.centreY), z, slide_.lastY, ny);
  slide_.lastX = nx;
  slide_.lastY = ny;
}

void PlayZoomLogic::OnSlideChanged(SlideEventArgs e) {
  if (slide_.active == 0 || !HasVideoArea()) return;
  SlideStep(e);
  SendZoom(slide_.centreX, slide_.centreY, UsableZoom(layout_.zoom));
}

void PlayZoomLogic::OnSlideEnded(SlideEventArgs e) {
  if (slide_.active != 0) {
    slide_.active = 0;
    if (HasVideoArea()) {
      SlideStep(e);
      SendZoom(slide_.centreX, slide_.centreY, UsableZoom(layout_.zoom));
    }
  }
  if (pinch_.active == 0) GestureEnded();
}

void PlayZoomLogic::OnPinchBegan(PinchEventArgs e) {
  checkState_.SetCheckState(0);
  pinch_.distance = e.distance;
  if (!HasVideoArea()) return;
  const double z = UsableZoom(layout_.zoom);
  pinch_.zoom = z;
  pinch_.lastX = (static_cast<double>(e.x) - layout_.video.left) / layout_.video.Width();
  pinch_.lastY = (static_cast<double>(e.y) - layout_.video.top) / layout_.video.Height();
  const ZoomAnchor ax = AnchorAt(pinch_.lastX, z, UsableCentre(layout_.centreX));
  const ZoomAnchor ay = AnchorAt(pinch_.lastY, z, UsableCentre(layout_.centreY));
  pinch_.anchorX = ax.anchor;
  pinch_.anchorY = ay.anchor;
  pinch_.offsetX = ax.offset;
  pinch_.offsetY = ay.offset;
  pinch_.active = 1;
}

app::ZoomCentre PlayZoomLogic::PinchStep(PinchEventArgs e) {
  const int32_t old = pinch_.distance;
  pinch_.distance = e.distance;
  // Fingers that began on one pixel give no ratio to scale by: the zoom
  // stays until a distance to compare with has been seen.
  const double ratio = old == 0 ? 1.0 : static_cast<double>(e.distance) / old;
  const double zn = ClampZoom(ratio * pinch_.zoom, pinch_.maximumZoom);
  const double rx = (static_cast<double>(e.x) - layout_.video.left) / layout_.video.Width();
  const double ry = (static_cast<double>(e.y) - layout_.video.top) / layout_.video.Height();
  const ZoomStep sx = ZoomAbout({pinch_.anchorX, pinch_.offsetX}, pinch_.lastX - rx, zn);
  const ZoomStep sy = ZoomAbout({pinch_.anchorY, pinch_.offsetY}, pinch_.lastY - ry, zn);
  pinch_.offsetX = sx.offset;
  pinch_.offsetY = sy.offset;
  pinch_.lastX = rx;
  pinch_.lastY = ry;
  pinch_.zoom = zn;
  return {sx.centre, sy.centre};
}

void PlayZoomLogic::OnPinchChanged(PinchEventArgs e) {
  if (!HasVideoArea()) return;
  const app::ZoomCentre c = PinchStep(e);
  SendZoom(c.x, c.y, pinch_.zoom);
}

void PlayZoomLogic::OnPinchEnded(PinchEventArgs e) {
  if (HasVideoArea()) {
    const app::ZoomCentre c = PinchStep(e);
    pinch_.active = 0;
    SendZoom(c.x, c.y, pinch_.zoom);
  }
  pinch_.active = 0;
  if (slide_.active == 0) GestureEnded();
}

void PlayZoomLogic::GestureEnded() {
  if (!pointerGesture_) checkState_.SetCheckState(1);
}

bool PlayZoomLogic::TouchRunning() const {
  const auto running = [](int32_t state) { return state == kGestureBegan || state == kGestureChanged; };
  return running(recognizers_.Slide().State()) || running(recognizers_.Pinch().State());
}

void PlayZoomLogic::SetPointerGesture(bool running) {
  pointerGesture_ = running;
  if (running) {
    checkState_.SetCheckState(0);
  } else if (!TouchRunning()) {
    checkState_.SetCheckState(1);
  }
}

void PlayZoomLogic::ZoomAboutPoint(int32_t x, int32_t y, double factor) {
  if (!HasVideoArea()) return;
  ZoomAboutFraction((static_cast<double>(x) - layout_.video.left) / layout_.video.Width(),
                    (static_cast<double>(y) - layout_.video.top) / layout_.video.Height(), factor);
}

void PlayZoomLogic::ZoomAboutMiddle(double factor) {
  if (HasVideoArea()) ZoomAboutFraction(0.5, 0.5, factor);
}

void PlayZoomLogic::ZoomAboutFraction(double px, double py, double factor) {
  const double z = UsableZoom(layout_.zoom);
  const double zn = ClampZoom(z * factor, pinch_.maximumZoom);
  if (zn == z) return;
  // The pinch's maths with fingers that do not move.
  const ZoomStep sx = ZoomAbout(AnchorAt(px, z, UsableCentre(layout_.centreX)), 0.0, zn);
  const ZoomStep sy = ZoomAbout(AnchorAt(py, z, UsableCentre(layout_.centreY)), 0.0, zn);
  SendZoom(sx.centre, sy.centre, zn);
}

void PlayZoomLogic::PanBetween(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
  const double z = UsableZoom(layout_.zoom);
  if (z == 1.0 || !HasVideoArea()) return;
  const double w = layout_.video.Width();
  const double h = layout_.video.Height();
  SendZoom(PanCentre(UsableCentre(layout_.centreX), z, fromX / w, toX / w),
           PanCentre(UsableCentre(layout_.centreY), z, fromY / h, toY / h), z);
}

void PlayZoomLogic::WholePicture() {
  if (play_ != nullptr) play_->OnZoomChanged(nullptr, nullptr, 1.0);
}

void PlayZoomLogic::RequestScreenMode(int32_t mode) {
  app::RequestScreenModeAndWholePicture(screen_, play_, mode);
}

}  // namespace input
