// The shown plane as a file for the screenshot compositor: written after a
// draw and at close, never for values only set, nowhere without a path.
#include <fstream>
#include <sstream>
#include <string>

#include "sim_test_support.h"

namespace {

using simtest::SimTest;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class SimStateFileTest : public SimTest {
 protected:
  void TearDown() override {
    OvxSim_SetStateFile(nullptr);
    std::remove(path_.c_str());
    SimTest::TearDown();
  }
  std::string path_ = testing::TempDir() + "ovxsim-state.txt";
};

TEST_F(SimStateFileTest, DrawWritesTheShownPlaneAndCloseHidesIt) {
  OvxSim_SetStateFile(path_.c_str());
  OpenWithPlane();
  const OvxPlaneEnable on{1};
  const OvxPlaneAngle angle{90};
  const OvxPlanePlacement place{{10, 20}, {1280, 720}};
  const OvxPlaneParts crop{{3840, 2160}, {960, 540}, {1920, 1080}};
  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ENABLE, &on), 0);
  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ANGLE, &angle), 0);
  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PLACEMENT, &place), 0);
  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PARTS_CROP, &crop), 0);
  // Set but not drawn: nothing shown yet, so no file.
  EXPECT_EQ(ReadAll(path_), "");
  ASSERT_EQ(Ovx_VpDrawAll(&device_), 0);
  const std::string drawn = ReadAll(path_);
  EXPECT_NE(drawn.find("\nopen 1\ndraws 1\npanel 3840 2560\nenable 1\nangle 90\nplacement 10 20 1280 720\n"
                       "parts 5 3840 2160 960 540 1920 1080\n"),
            std::string::npos)
      << drawn;

  // A failed draw leaves the file as it was.
  const OvxPlaneEnable off{0};
  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ENABLE, &off), 0);
  OvxSim_InjectStatus("Ovx_VpDrawAll", -1, -9, 1, 1);
  EXPECT_EQ(Ovx_VpDrawAll(&device_), -9);
  EXPECT_EQ(ReadAll(path_), drawn);

  ASSERT_EQ(Ovx_DevClose(&device_), 0);
  const std::string closed = ReadAll(path_);
  EXPECT_NE(closed.find("\nopen 0\ndraws 1\n"), std::string::npos) << closed;
  EXPECT_NE(closed.find("\nenable 0\n"), std::string::npos) << closed;
  std::ifstream temp(path_ + ".tmp");
  EXPECT_FALSE(temp.good()) << "the temporary file was left behind";
}

TEST_F(SimStateFileTest, UnwritablePathOrNoPathIsHarmless) {
  OvxSim_SetStateFile((testing::TempDir() + "no-such-folder/state.txt").c_str());
  OpenWithPlane();
  EXPECT_EQ(Ovx_VpDrawAll(&device_), 0);  // the draw itself succeeds
  OvxSim_SetStateFile("");
  EXPECT_EQ(Ovx_VpDrawAll(&device_), 0);
  EXPECT_EQ(ReadAll(path_), "");
}

TEST_F(SimStateFileTest, FailuresAfterShownWaitForADrawThatShowsThePlane) {
  char message[128] = {};
  ASSERT_EQ(OvxSim_LoadScenarioText("fail Ovx_DevGetProp prop=3 status=-7 after=shown count=2\n", message,
                                    sizeof message),
            1)
      << message;
  OpenWithPlane();
  OvxWatchdogInfo watchdog{};
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_WATCHDOG, &watchdog), 0);
  ASSERT_EQ(Ovx_VpDrawAll(&device_), 0);  // drawn, but hidden
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_WATCHDOG, &watchdog), 0);
  const OvxPlaneEnable on{1};
  ASSERT_EQ(Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ENABLE, &on), 0);
  ASSERT_EQ(Ovx_VpDrawAll(&device_), 0);
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_WATCHDOG, &watchdog), -7);
  OvxTime time{};
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_TIME, &time), 0);  // other ids unaffected
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_WATCHDOG, &watchdog), -7);
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_WATCHDOG, &watchdog), 0);  // count ran out
}

}  // namespace
