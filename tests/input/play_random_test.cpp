// Thousands of random touch, mouse and key sequences through the recognizers
// and the play view's logic, checking what the frame relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <string>

#include "input/key_codes.h"
#include "input/pointer_keys.h"
#include "input/zoom_maths.h"
#include "play_fakes.h"

using namespace input;  // the code under test
using play_test::PlayRig;

namespace {

struct Crop {
  int32_t x = 0, y = 0, w = 0, h = 0;
};

// The frame's crop of the 3840 x 2160 source for a request (32-bit integer
// arithmetic, as the frame does it).
Crop FrameCrop(const app::Rect& area, const app::ZoomCentre& centre, double zoom) {
  const int32_t px = static_cast<int32_t>(std::trunc(area.Width() * centre.x + 0.5)) + area.left;
  const int32_t py = static_cast<int32_t>(std::trunc(area.Height() * centre.y + 0.5)) + area.top;
  Crop c;
  c.w = static_cast<int32_t>(3840 / zoom);
  c.h = static_cast<int32_t>(2160 / zoom);
  const int32_t cx = px * 3840 / area.Width();
  const int32_t cy = py * 2160 / area.Height();
  c.x = cx - c.w / 2;
  c.y = cy - c.h / 2;
  if (c.x < 0) c.x = 0;
  if (c.x + c.w > 3840) c.x = 3840 - c.w;
  if (c.y < 0) c.y = 0;
  if (c.y + c.h > 2160) c.y = 2160 - c.h;
  return c;
}

struct Finger {
  int32_t x = 0;
  int32_t y = 0;
  bool lifted = false;
};

class RandomRun {
 public:
  explicit RandomRun(uint32_t seed) : rng_(seed) {}

  void Sequence() {
    static const wchar_t* const kMax[] = {L"8", L"10", L"1",  L"2.5",   L"abc",
                                          L"",  L"0",  L"-3", L"1e999", L"nan"};
    static const wchar_t* const kTap[] = {L"5", L"1", L"10", L"x", L"", L"0.5", L"3", L"inf"};
    rig_.emplace(RandomVideo());
    PlayZoomLogic& view = rig_->view;
    view.ApplySettings(kMax[Pick(std::size(kMax))], kTap[Pick(std::size(kTap))]);
    hi_ = std::max(1.0, view.MaximumZoom());
    ZoomLayout layout = view.Layout();
    switch (Pick(3)) {
      case 0:
        layout.zoom = 1.0;
        break;
      case 1:
        layout.zoom = hi_;
        break;
      default:
        layout.zoom = std::uniform_real_distribution<double>(1.0, hi_)(rng_);
    }
    layout.centreX = ClampCentre(Unit(), layout.zoom);
    layout.centreY = ClampCentre(Unit(), layout.zoom);
    layout.fullScreen = Pick(2) == 0;
    view.SetLayout(layout);
    fingers_.clear();
    PointerKeys mouse(view);
    const int events = 8 + static_cast<int>(Pick(40));
    for (int i = 0; i < events; ++i) {
      const size_t before = rig_->frame.zooms.size();
      const double zoomBefore = UsableZoom(view.Layout().zoom);
      const uint32_t kind = Pick(20);
      Source source = kGesture;
      if (kind < 12) {
        Touch();
      } else if (kind == 12) {
        source = view.Layout().zoom == 1.0 ? kTapSetting : kWhole;
        (void)view.OnDoubleClick(Coordinate(true), Coordinate(false));
      } else if (kind == 13) {
        source = kClamped;
        (void)mouse.OnWheel(Coordinate(true), Coordinate(false), static_cast<int32_t>(Pick(721)) - 360);
      } else if (kind <= 16) {
        const int32_t x = Coordinate(true), y = Coordinate(false);
        if (kind == 14) (void)mouse.OnLeftDown(x, y);
        if (kind == 15) mouse.OnMouseMove(x, y);
        if (kind == 16) mouse.OnLeftUp(x, y);
      } else if (kind == 17) {
        source = kClamped;
        static const uint32_t kKeys[] = {kKeyOemPlus, kKeyOemMinus, kKey0,    kKeyF11,
                                         kKeyEscape,  kKeyF10,      kKeySpace};
        (void)mouse.OnKey(kKeys[Pick(std::size(kKeys))], {Pick(2) == 0, Pick(4) == 0, Pick(3) == 0},
                          Pick(3) == 0);
      } else if (kind == 18) {
        // The frame moves or resizes the video, sometimes to nothing.
        ZoomLayout moved = view.Layout();
        moved.video = Pick(8) == 0 ? app::Rect{5, 5, 5, 5} : RandomVideo();
        view.SetLayout(moved);
      } else {
        Message({});
      }
      for (size_t r = before; r < rig_->frame.zooms.size(); ++r)
        Check(rig_->frame.zooms[r], source, zoomBefore);
    }
    // Every finger and the button up: no gesture is left running.
    std::vector<TouchPoint> lift;
    for (const Finger& f : fingers_) lift.push_back({f.x, f.y, kTouchUp});
    const size_t before = rig_->frame.zooms.size();
    const double zoomBefore = UsableZoom(view.Layout().zoom);
    Message(lift);
    mouse.OnLeftUp(0, 0);
    for (size_t r = before; r < rig_->frame.zooms.size(); ++r)
      Check(rig_->frame.zooms[r], kGesture, zoomBefore);
    EXPECT_EQ(rig_->check.state, 1u);
    ++sequences_;
  }

  [[nodiscard]] int Sequences() const { return sequences_; }
  [[nodiscard]] int Requests() const { return requests_; }

 private:
  enum Source { kGesture, kTapSetting, kWhole, kClamped };

  uint32_t Pick(size_t n) {
    return std::uniform_int_distribution<uint32_t>(0, static_cast<uint32_t>(n - 1))(rng_);
  }
  double Unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(rng_); }

  app::Rect RandomVideo() {
    static const int32_t kSizes[] = {1, 2, 3, 7, 1920, 1080, 2560};
    const int32_t left = static_cast<int32_t>(Pick(3000)) - 500;
    const int32_t top = static_cast<int32_t>(Pick(2000)) - 300;
    const int32_t w = Pick(3) == 0 ? kSizes[Pick(std::size(kSizes))] : 1 + static_cast<int32_t>(Pick(3000));
    const int32_t h = Pick(3) == 0 ? kSizes[Pick(std::size(kSizes))] : 1 + static_cast<int32_t>(Pick(2000));
    return {left, top, left + w, top + h};
  }

  // A screen pixel: inside, on an edge, just outside or far away.
  int32_t Coordinate(bool horizontal) { return Coordinate(horizontal, Pick(3) == 0); }
  int32_t Coordinate(bool horizontal, bool anywhere) {
    const app::Rect& v = rig_->view.Layout().video;
    const int32_t lo = horizontal ? v.left : v.top;
    const int32_t hi = horizontal ? v.right : v.bottom;
    switch (anywhere ? Pick(10) : 9) {
      case 0:
        return lo;
      case 1:
        return hi;
      case 2:
        return lo - 1 - static_cast<int32_t>(Pick(50));
      case 3:
        return static_cast<int32_t>(Pick(40001)) - 20000;
      default:
        return lo + static_cast<int32_t>(Pick(static_cast<size_t>(std::max(1, hi - lo))));
    }
  }

  int32_t Hundredths(bool horizontal) {
    if (Pick(40) == 0) return Pick(2) == 0 ? INT32_MAX : INT32_MIN;
    return Coordinate(horizontal, Pick(4) == 0) * 100 + static_cast<int32_t>(Pick(100));
  }

  int32_t Nudge(int32_t v) {
    const int64_t moved = static_cast<int64_t>(v) + static_cast<int64_t>(Pick(2001)) - 1000;
    return static_cast<int32_t>(std::clamp<int64_t>(moved, INT32_MIN, INT32_MAX));
  }

  void Touch() {
    // Fingers come down, move (also onto each other) and lift; now and then
    // the flags are nonsense.
    std::vector<TouchPoint> points;
    std::erase_if(fingers_, [](const Finger& f) { return f.lifted; });
    if (fingers_.size() < 3 && Pick(fingers_.size() < 2 ? 3 : 10) == 0) {
      Finger f{Hundredths(true), Hundredths(false)};
      if (!fingers_.empty() && Pick(3) == 0) f = Finger{fingers_[0].x, fingers_[0].y};
      fingers_.push_back(f);
      points.push_back({f.x, f.y, kTouchDown});
    }
    for (size_t i = 0; i + (points.empty() ? 0 : 1) < fingers_.size(); ++i) {
      Finger& f = fingers_[i];
      if (Pick(8) == 0) {
        f.lifted = true;
        points.push_back({f.x, f.y, kTouchUp});
        continue;
      }
      if (Pick(4) == 0) f.x = Pick(2) == 0 ? Nudge(f.x) : Hundredths(true);
      if (Pick(4) == 0) f.y = Pick(2) == 0 ? Nudge(f.y) : Hundredths(false);
      if (i > 0 && Pick(6) == 0) f = Finger{fingers_[0].x, fingers_[0].y};
      points.push_back({f.x, f.y, Pick(15) == 0 ? Pick(8) | 0x100u : kTouchMove});
    }
    Message(points);
  }

  void Message(const std::vector<TouchPoint>& points) {
    struct Reader final : TouchReader {
      const std::vector<TouchPoint>* points = nullptr;
      bool Read(TouchInputHandle, std::span<TouchPoint> out) override {
        std::copy(points->begin(), points->end(), out.begin());
        return true;
      }
      void Close(TouchInputHandle) override {}
    } reader;
    reader.points = &points;
    rig_->view.OnTouch(reader, 1, static_cast<uint32_t>(points.size()));
    if (points.empty()) {
      // An empty message as the recognizers may see it.
      const TouchPoint none{};
      rig_->view.Recognizers().Recognize(&none, 0);
    }
  }

  void Check(const play_test::ZoomRequest& r, Source source, double zoomBefore) {
    ++requests_;
    ASSERT_TRUE(std::isfinite(r.zoom));
    switch (source) {
      case kTapSetting:
        EXPECT_EQ(r.zoom, rig_->view.DoubleTapZoom());
        break;
      case kWhole:
        EXPECT_EQ(r.zoom, 1.0);
        break;
      case kClamped:
        EXPECT_TRUE(r.zoom >= 1.0 && r.zoom <= hi_) << r.zoom;
        break;
      case kGesture:
        // A pan keeps the zoom; a pinch stays within its limits.
        EXPECT_TRUE(r.zoom == zoomBefore || (r.zoom >= 1.0 && r.zoom <= hi_)) << r.zoom;
        break;
    }
    if (!r.centre) {
      EXPECT_EQ(r.zoom, 1.0);
      return;
    }
    ASSERT_TRUE(std::isfinite(r.centre->x) && std::isfinite(r.centre->y));
    ASSERT_TRUE(r.area.has_value());
    EXPECT_EQ(r.area->left, 0);
    EXPECT_EQ(r.area->top, 0);
    ASSERT_GT(r.area->Width(), 0);
    ASSERT_GT(r.area->Height(), 0);
    if (r.zoom < 1.0) {
      // Only a double-tap setting below 1.0 gets here; the frame shows no crop.
      EXPECT_TRUE(r.centre->x >= 0.0 && r.centre->x <= 1.0 && r.centre->y >= 0.0 && r.centre->y <= 1.0);
      return;
    }
    const double half = 0.5 / r.zoom;
    EXPECT_GE(r.centre->x, half - 1e-12);
    EXPECT_LE(r.centre->x, 1.0 - half + 1e-12);
    EXPECT_GE(r.centre->y, half - 1e-12);
    EXPECT_LE(r.centre->y, 1.0 - half + 1e-12);
    const Crop c = FrameCrop(*r.area, *r.centre, r.zoom);
    EXPECT_GE(c.x, 0);
    EXPECT_GE(c.y, 0);
    EXPECT_GT(c.w, 0);
    EXPECT_GT(c.h, 0);
    EXPECT_LE(c.x + c.w, 3840);
    EXPECT_LE(c.y + c.h, 2160);
  }

  std::mt19937 rng_;
  std::optional<PlayRig> rig_;
  std::vector<Finger> fingers_;
  double hi_ = 1.0;
  int sequences_ = 0;
  int requests_ = 0;
};

}  // namespace

TEST(PlayRandom, RequestsStayWithinWhatTheFrameRelies) {
  for (uint32_t seed : {1u, 2u, 3u, 5u, 8u, 13u, 21u, 34u}) {
    RandomRun run(seed);
    for (int i = 0; i < 500 && !::testing::Test::HasFatalFailure(); ++i) run.Sequence();
    EXPECT_EQ(run.Sequences(), 500) << "seed " << seed;
    // The sequences did reach the frame.
    EXPECT_GT(run.Requests(), 1000) << "seed " << seed;
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << "seed " << seed;
      break;
    }
  }
}
