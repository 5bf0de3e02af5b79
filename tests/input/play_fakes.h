#pragma once
// The frame as the play view and its controller see it: every request is
// recorded and, as the frame does, answered at once with a new layout.
#include <optional>
#include <vector>

#include "app/view_listeners.h"
#include "input/play_zoom_logic.h"

namespace play_test {

struct ZoomRequest {
  std::optional<app::Rect> area;
  std::optional<app::ZoomCentre> centre;
  double zoom = 0.0;
};

class FakeCheckState final : public input::CheckStateSink {
 public:
  uint32_t state = 1;
  void SetCheckState(uint32_t s) override { state = s; }
};

// Records every request of a play view and its controller; a zoom is then
// answered as the frame answers it, at once, through Answer.
class RecordingFrame : public app::IVideoPlayListner, public app::ScreenModeChangeListner {
 public:
  std::vector<ZoomRequest> zooms;
  std::vector<int32_t> modes;
  int areaChanges = 0;

  void OnVideoAreaChanged() override { ++areaChanges; }
  void OnZoomChanged(const app::Rect* area, const app::ZoomCentre* centre, double zoom) override {
    ZoomRequest r;
    if (area != nullptr) r.area = *area;
    if (centre != nullptr) r.centre = *centre;
    r.zoom = zoom;
    zooms.push_back(r);
    const bool middle = zoom == 1.0 || centre == nullptr;
    Answer(zoom, middle ? 0.5 : centre->x, middle ? 0.5 : centre->y);
  }
  void RequestScreenMode(int32_t mode) override { modes.push_back(mode); }

 protected:
  virtual void Answer(double zoom, double centreX, double centreY) = 0;
};

class FakeFrame final : public RecordingFrame {
 public:
  input::PlayZoomLogic* view = nullptr;  // relaid out on every zoom request

 private:
  void Answer(double zoom, double centreX, double centreY) override {
    if (view == nullptr) return;
    input::ZoomLayout layout = view->Layout();
    layout.zoom = zoom;
    layout.centreX = centreX;
    layout.centreY = centreY;
    view->SetLayout(layout);
  }
};

// A play view's logic wired to a fake frame.
struct PlayRig {
  FakeCheckState check;
  FakeFrame frame;
  input::PlayZoomLogic view{check};
  explicit PlayRig(app::Rect video = {0, 0, 1000, 500}, double zoom = 1.0, double cx = 0.5, double cy = 0.5) {
    view.SetPlayListener(&frame);
    view.SetScreenModeListener(&frame);
    view.ApplySettings(L"8", L"5");
    view.SetLayout({video, cx, cy, zoom, false});
    frame.view = &view;
  }
  [[nodiscard]] const ZoomRequest& Last() const { return frame.zooms.back(); }
};

}  // namespace play_test
