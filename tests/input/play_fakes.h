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

class FakeFrame final : public app::IVideoPlayListner, public app::ScreenModeChangeListner {
 public:
  std::vector<ZoomRequest> zooms;
  std::vector<int32_t> modes;
  int areaChanges = 0;
  input::PlayZoomLogic* view = nullptr;  // relaid out on every zoom request

  void OnVideoAreaChanged() override { ++areaChanges; }
  void OnZoomChanged(const app::Rect* area, const app::ZoomCentre* centre, double zoom) override {
    ZoomRequest r;
    if (area != nullptr) r.area = *area;
    if (centre != nullptr) r.centre = *centre;
    r.zoom = zoom;
    zooms.push_back(r);
    if (view == nullptr) return;
    input::ZoomLayout layout = view->Layout();
    layout.zoom = zoom;
    const bool middle = zoom == 1.0 || centre == nullptr;
    layout.centreX = middle ? 0.5 : centre->x;
    layout.centreY = middle ? 0.5 : centre->y;
    view->SetLayout(layout);
  }
  void RequestScreenMode(int32_t mode) override { modes.push_back(mode); }
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
