// The screenshot compositor against the viewer's own placement rule: a
// video rectangle on the screen, turned into the board's panel placement as
// the viewer does, must come back as exactly that rectangle, upright, cropped,
// and only where the screen shows the key colour.
#include <gtest/gtest.h>

#include <string>

#include "capture/plane/plane_placement.h"
#include "plane_composite.h"

namespace {

using composite::Image;
using composite::Rect;
using composite::Rgb;
using composite::ShownPlane;

constexpr int kSourceW = 16, kSourceH = 9;

Rgb SourcePixel(int x, int y) { return {static_cast<uint8_t>(x * 16), static_cast<uint8_t>(y * 28), 77}; }

Image Source() {
  Image image = Image::Filled(kSourceW, kSourceH, {});
  for (int y = 0; y < kSourceH; ++y)
    for (int x = 0; x < kSourceW; ++x) image.Set(x, y, SourcePixel(x, y));
  return image;
}

// The board's state as the viewer leaves it for a video rectangle `video`
// (monitor-relative) on a monitor of `mw` x `mh` turned by `angle`.
ShownPlane PlaneFor(const Rect& video, int mw, int mh, int angle) {
  capture::PlaneState state = capture::InitialPlaneState();
  state.planeWidth = 128;
  state.planeHeight = 96;
  state.screen = {mw, mh, 0};
  state.angle = angle;
  state.placement = {video.x, video.y, video.width, video.height};
  const capture::PlaneRect panel = capture::PlacementFor(state);
  ShownPlane plane;
  plane.open = true;
  plane.enable = true;
  plane.panelWidth = 128;
  plane.panelHeight = 96;
  plane.angle = angle;
  plane.placement = {panel.x, panel.y, panel.width, panel.height};
  return plane;
}

// Every pixel inside `video` (screen coordinates) shows the crop upright;
// every other pixel is as it was.
void ExpectPicture(const Image& before, const Image& after, const Rect& video, const Rect& crop,
                   const std::string& what) {
  int wrong = 0;
  for (int y = 0; y < after.height; ++y) {
    for (int x = 0; x < after.width; ++x) {
      Rgb want = before.At(x, y);
      const bool inside =
          x >= video.x && x < video.x + video.width && y >= video.y && y < video.y + video.height;
      if (inside && before.At(x, y) == composite::kKeyColour) {
        const double sa = (x - video.x + 0.5) / video.width, sb = (y - video.y + 0.5) / video.height;
        want = SourcePixel(static_cast<int>((crop.x + sa * crop.width) * kSourceW / 3840),
                           static_cast<int>((crop.y + sb * crop.height) * kSourceH / 2160));
      }
      if (!(after.At(x, y) == want) && ++wrong <= 3) {
        ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is " << int(after.At(x, y).r) << ","
                      << int(after.At(x, y).g) << "," << int(after.At(x, y).b) << ", want " << int(want.r)
                      << "," << int(want.g) << "," << int(want.b);
      }
    }
  }
  EXPECT_EQ(wrong, 0) << what;
}

TEST(PlaneComposite, EachAngleBringsThePictureBackUprightWhereTheVideoLies) {
  const Rect whole{0, 0, 3840, 2160};
  for (int angle : {0, 90, 180, 270}) {
    const bool turned = angle == 90 || angle == 270;
    const int mw = turned ? 48 : 64, mh = turned ? 64 : 48;
    const Rect video = turned ? Rect{4, 10, 32, 18} : Rect{8, 6, 32, 18};
    // The monitor sits 5 pixels right of the screenshot's left edge.
    Image screen = Image::Filled(mw + 5, mh, composite::kKeyColour);
    const Image before = screen;
    const int painted =
        composite::CompositePlane(screen, {5, 0, mw, mh}, PlaneFor(video, mw, mh, angle), Source());
    EXPECT_EQ(painted, 32 * 18) << "angle " << angle;
    ExpectPicture(before, screen, {video.x + 5, video.y, video.width, video.height}, whole,
                  "angle " + std::to_string(angle));
  }
}

TEST(PlaneComposite, OnlyKeyColouredPixelsShowThePicture) {
  Image screen = Image::Filled(64, 48, composite::kKeyColour);
  // A window over the middle of the video, and a near-key colour that is not the key.
  for (int y = 10; y < 20; ++y)
    for (int x = 16; x < 30; ++x) screen.Set(x, y, {240, 240, 240});
  screen.Set(9, 7, {0, 4, 0});
  const Image before = screen;
  const Rect video{8, 6, 32, 18};
  composite::CompositePlane(screen, {0, 0, 64, 48}, PlaneFor(video, 64, 48, 0), Source());
  ExpectPicture(before, screen, video, {0, 0, 3840, 2160}, "covered");
  EXPECT_EQ(screen.At(20, 15), (Rgb{240, 240, 240}));
  EXPECT_EQ(screen.At(9, 7), (Rgb{0, 4, 0}));
}

TEST(PlaneComposite, CropShowsOnlyItsPartAndWholeIgnoresTheCropWords) {
  const Rect video{8, 6, 32, 18};
  ShownPlane plane = PlaneFor(video, 64, 48, 0);
  plane.crop = {1920, 1080, 1920, 1080};
  for (int id : {5, 3}) {
    plane.partsId = id;
    Image screen = Image::Filled(64, 48, composite::kKeyColour);
    const Image before = screen;
    composite::CompositePlane(screen, {0, 0, 64, 48}, plane, Source());
    ExpectPicture(before, screen, video, id == 5 ? plane.crop : Rect{0, 0, 3840, 2160},
                  "parts id " + std::to_string(id));
  }
}

TEST(PlaneComposite, HiddenClosedOrEmptyPlanePaintsNothing) {
  const Rect video{8, 6, 32, 18};
  for (int which = 0; which < 4; ++which) {
    ShownPlane plane = PlaneFor(video, 64, 48, 0);
    if (which == 0) plane.enable = false;
    if (which == 1) plane.open = false;
    if (which == 2) plane.placement.width = 0;
    if (which == 3) plane.panelHeight = 0;
    Image screen = Image::Filled(64, 48, composite::kKeyColour);
    EXPECT_EQ(composite::CompositePlane(screen, {0, 0, 64, 48}, plane, Source()), 0) << which;
    EXPECT_EQ(screen.At(20, 15), composite::kKeyColour);
  }
}

TEST(ShownPlaneFile, ReadsTheBoardsStateFileAndRejectsBadLines) {
  std::string error;
  const auto plane = composite::ParseShownPlane(
      "# comment\nopen 1\ndraws 4\npanel 3840 2560\nenable 1\nangle 270\nplacement 1 2 3 4\n"
      "parts 5 3840 2160 960 540 1920 1080\n",
      error);
  ASSERT_TRUE(plane.has_value()) << error;
  EXPECT_TRUE(plane->open && plane->enable);
  EXPECT_EQ(plane->angle, 270);
  EXPECT_EQ(plane->placement.height, 4);
  EXPECT_EQ(plane->crop.width, 1920);
  EXPECT_FALSE(composite::ParseShownPlane("open 1\nangle 45\n", error));
  EXPECT_EQ(error, "line 2: angle not 0, 90, 180 or 270");
  EXPECT_FALSE(composite::ParseShownPlane("open 1\npanel 3840\n", error));
  EXPECT_FALSE(composite::ParseShownPlane("open 1\n", error));
  EXPECT_FALSE(composite::ParseShownPlane("open 1 x\n", error));
}

TEST(PpmImage, RoundTripAndBadFiles) {
  Image image = Image::Filled(3, 2, {1, 2, 3});
  image.Set(2, 1, {250, 0, 9});
  std::string error;
  const auto back = composite::ParsePpm(composite::FormatPpm(image), error);
  ASSERT_TRUE(back.has_value()) << error;
  EXPECT_EQ(back->pixels, image.pixels);
  EXPECT_TRUE(composite::ParsePpm("P6\n# made by hand\n1 1\n255\nabc", error).has_value()) << error;
  EXPECT_FALSE(composite::ParsePpm("P3\n1 1\n255\n0 0 0", error));
  EXPECT_FALSE(composite::ParsePpm("P6\n2 2\n255\nabc", error));
  EXPECT_FALSE(composite::ParsePpm("P6\n1 1\n65535\nabcdef", error));
  EXPECT_FALSE(composite::ParsePpm("P6\n0 1\n255\n", error));
}

}  // namespace
