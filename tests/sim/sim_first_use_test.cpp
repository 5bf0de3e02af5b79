// First use of the board with OVXSIM_SCENARIO naming a file that does not
// exist (set by the test's environment): one line on stderr, then the
// built-in default.
#include <string>

#include "sim_test_support.h"

namespace {

TEST(SimFirstUseTest, MissingScenarioFileGivesMessageAndDefault) {
  testing::internal::CaptureStderr();
  OvxSimState s{};
  OvxSim_GetState(&s);  // the first call of the process reads the scenario
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(
      err,
      "ovxcapture sim: /nonexistent/ovxsim-missing.txt: cannot be opened; using the built-in scenario\n");
  EXPECT_EQ(s.output.size.x, 3840);
  EXPECT_EQ(s.output.size.y, 2560);
  EXPECT_EQ(s.watchdog.err_count, 5u);
  EXPECT_EQ(s.input.event, static_cast<uint32_t>(OVX_EVENT_NO_INPUT));
  EXPECT_EQ(s.opened, 0);
}

}  // namespace
