// The scenario format: what a valid text sets, and that every kind of
// malformed text or file is refused with its line and reason and leaves the
// built-in default.
#include <string>

#include "sim_test_support.h"

namespace {

using simtest::SimTest;

class SimScenarioTest : public SimTest {
 protected:
  // Loads a text and returns the message ("" on success).
  std::string Load(const std::string& text, int32_t expected_result) {
    char message[256] = "untouched";
    EXPECT_EQ(OvxSim_LoadScenarioText(text.c_str(), message, sizeof message), expected_result) << text;
    return message;
  }

  // The board answers as the built-in default does.
  void ExpectDefaultBoard() {
    const OvxSimState s = State();
    EXPECT_EQ(s.output.size.x, 3840);
    EXPECT_EQ(s.output.size.y, 2560);
    EXPECT_EQ(s.watchdog.err_count, 5u);
    EXPECT_EQ(s.watchdog.interval, 2000u);
    EXPECT_EQ(s.input.event, static_cast<uint32_t>(OVX_EVENT_NO_INPUT));
    ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
    OvxFirmwareInfo firmware{};
    ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_FIRMWARE, &firmware), 0);
    EXPECT_EQ(firmware.version_no & 0xF00000FFu, 0x10000000u);
    OvxSim_AdvanceTime(500);  // the default source arrives
    EXPECT_EQ(State().input.event, static_cast<uint32_t>(OVX_EVENT_INPUT_PRESENT));
    EXPECT_EQ(State().input.size.x, 1920);
    ASSERT_EQ(Ovx_DevClose(&device_), 0);
  }
};

TEST_F(SimScenarioTest, FullScenarioSetsEveryValue) {
  const std::string text =
      "# a board with old firmware\n"
      "clock manual\n"
      "firmware 0x0FFFFFFF 1 2 3 4 5 6 0x7\n"
      "api 0x10020000   # trailing comment\n"
      "watchdog state=2 interval=1000 err_count=7 ovx_count=3 ovx_err=1\n"
      "panel 2560 1600\n"
      "input 0x10 640 480\n"
      "audio_delay 250\n"
      "\n"
      "   \t \n"
      "at 100 watchdog ovx_err=7\n"
      "at 50 input 0x02 1280 720\n"
      "fail Ovx_DevGetProp prop=4 status=-9 from=1 count=1\n"
      "delay Ovx_VpDrawAll 0\n";
  EXPECT_EQ(Load(text, 1), "");
  OvxSimState s = State();
  EXPECT_EQ(s.output.size.x, 2560);
  EXPECT_EQ(s.output.size.y, 1600);
  EXPECT_EQ(s.input.event, 0x10u);
  EXPECT_EQ(s.input.size.x, 640);
  EXPECT_EQ(s.audio_delay, 250);
  EXPECT_EQ(s.watchdog.state, 2u);
  EXPECT_EQ(s.watchdog.interval, 1000u);
  EXPECT_EQ(s.watchdog.err_count, 7u);
  EXPECT_EQ(s.watchdog.ovx_count, 3u);
  EXPECT_EQ(s.watchdog.ovx_err, 1u);

  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  OvxFirmwareInfo firmware{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_FIRMWARE, &firmware), 0);
  EXPECT_EQ(firmware.version_no, 0x0FFFFFFFu);
  EXPECT_EQ(firmware.firminfo_1, 1u);
  EXPECT_EQ(firmware.firminfo_7, 7u);
  OvxApiVersion api{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_API, &api), 0);
  EXPECT_EQ(api.version_no, 0x10020000u);
  OvxEventSize output{};
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_OUTPUT, &output), -9);
  EXPECT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_OUTPUT, &output), 0);

  // The timeline runs from the open, in time order whatever the line order.
  OvxSim_AdvanceTime(49);
  EXPECT_EQ(State().input.event, 0x10u);
  OvxSim_AdvanceTime(1);
  EXPECT_EQ(State().input.event, 0x02u);
  EXPECT_EQ(State().input.size.y, 720);
  EXPECT_EQ(State().watchdog.ovx_err, 1u);
  OvxSim_AdvanceTime(50);
  EXPECT_EQ(State().watchdog.ovx_err, 7u);
  EXPECT_EQ(State().watchdog.err_count, 7u);  // only the named field changes
}

TEST_F(SimScenarioTest, ValuesNotNamedKeepTheDefaultAndNoArrivalIsImplied) {
  EXPECT_EQ(Load("panel 1920 1200\n", 1), "");
  const OvxSimState s = State();
  EXPECT_EQ(s.output.size.x, 1920);
  EXPECT_EQ(s.watchdog.err_count, 5u);
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  OvxSim_AdvanceTime(10000);
  EXPECT_EQ(State().input.event, static_cast<uint32_t>(OVX_EVENT_NO_INPUT));
}

TEST_F(SimScenarioTest, EmptyTextAndCrLfLinesAreValid) {
  EXPECT_EQ(Load("", 1), "");
  EXPECT_EQ(Load("panel 100 200\r\ninput 0x02 10 20\r\n# done\r\n", 1), "");
  EXPECT_EQ(State().output.size.y, 200);
  EXPECT_EQ(State().input.size.y, 20);
  EXPECT_EQ(Load("panel 7 8", 1), "");  // no final newline
  EXPECT_EQ(State().output.size.x, 7);
}

TEST_F(SimScenarioTest, NullMessageBufferIsAllowed) {
  EXPECT_EQ(OvxSim_LoadScenarioText("bogus\n", nullptr, 0), 0);
  EXPECT_EQ(OvxSim_LoadScenarioText(nullptr, nullptr, 0), 1);  // no text: an empty scenario
}

struct Malformed {
  const char* text;
  const char* message;
};

TEST_F(SimScenarioTest, MalformedTextsNameTheLineAndReason) {
  const Malformed cases[] = {
      {"bogus 1 2\n", "line 1: unknown keyword 'bogus'"},
      {"panel 10 20\n\nPanel 10 20\n", "line 3: unknown keyword 'Panel'"},
      {"panel 10\n", "line 1: missing height"},
      {"panel ten 20\n", "line 1: bad number 'ten' for width"},
      {"panel 10 20 30\n", "line 1: unexpected '30'"},
      {"panel 65536 20\n", "line 1: width '65536' out of range (0..65535)"},
      {"panel -1 20\n", "line 1: bad number '-1' for width"},
      {"panel 0x 20\n", "line 1: bad number '0x' for width"},
      {"panel 12a 20\n", "line 1: bad number '12a' for width"},
      {"firmware\n", "line 1: missing firmware version"},
      {"firmware 0x100000000\n", "line 1: firmware version '0x100000000' out of range (0..4294967295)"},
      {"firmware 99999999999999999999999999\n",
       "line 1: firmware version '99999999999999999999999999' out of range (0..4294967295)"},
      {"firmware 1 2 3 4 5 6 7 8 9\n", "line 1: unexpected '9'"},
      {"api\n", "line 1: missing api version"},
      {"watchdog\n", "line 1: watchdog needs at least one of"},
      {"watchdog state\n", "line 1: expected name=value, found 'state'"},
      {"watchdog =1\n", "line 1: expected name=value, found '=1'"},
      {"watchdog speed=1\n", "line 1: unknown watchdog field 'speed'"},
      {"watchdog state=1 state=2\n", "line 1: watchdog field 'state' given twice"},
      {"watchdog ovx_err=\n", "line 1: missing ovx_err"},
      {"input 0x02 1920\n", "line 1: missing height"},
      {"output\n", "line 1: missing event bits"},
      {"audio_delay -1\n", "line 1: bad number '-1' for audio delay"},
      {"audio_delay 1000001\n", "line 1: audio delay '1000001' out of range (0..1000000)"},
      {"clock\n", "line 1: clock needs realtime or manual"},
      {"clock slow\n", "line 1: unknown clock 'slow' (realtime or manual)"},
      {"clock manual now\n", "line 1: unexpected 'now'"},
      {"at\n", "line 1: missing time"},
      {"at 100\n", "line 1: at needs event, input or watchdog"},
      {"at 100 explode\n", "line 1: unknown timed action 'explode'"},
      {"at 86400001 event 2 1 1\n", "line 1: time '86400001' out of range (0..86400000)"},
      {"at 5 event 0x02 1920 1080 extra\n", "line 1: unexpected 'extra'"},
      {"at 5 watchdog\n", "line 1: watchdog needs at least one of"},
      {"fail\n", "line 1: missing function name"},
      {"fail Ovx_Nothing status=1\n", "line 1: unknown function 'Ovx_Nothing'"},
      {"fail Ovx_DevOpen\n", "line 1: fail needs status=<n>"},
      {"fail Ovx_DevOpen status=0\n", "line 1: status must not be 0"},
      {"fail Ovx_DevOpen status=2147483648\n",
       "line 1: status '2147483648' out of range (-2147483648..2147483647)"},
      {"fail Ovx_DevOpen status=-2147483649\n",
       "line 1: status '-2147483649' out of range (-2147483648..2147483647)"},
      {"fail Ovx_DevOpen prop=1 status=-1\n", "line 1: Ovx_DevOpen takes no property id"},
      {"fail Ovx_DevGetProp status=-1 status=-2\n", "line 1: fail field 'status' given twice"},
      {"fail Ovx_DevGetProp status=-1 from=0\n", "line 1: from '0' out of range (1..4294967295)"},
      {"fail Ovx_DevGetProp status=-1 when=3\n", "line 1: unknown fail field 'when'"},
      {"fail Ovx_DevGetProp status=-1 after=later\n", "line 1: after must be 'shown'"},
      {"delay Ovx_DevOpen\n", "line 1: missing delay"},
      {"delay Ovx_DevOpen 10001\n", "line 1: delay '10001' out of range (0..10000)"},
      {"delay open 5\n", "line 1: unknown function 'open'"},
      {"panel 1\x01 2\n", "line 1: unexpected character 0x01"},
      {"panel 1 2\n\xC3\xA9t\xC3\xA9\n", "line 2: unexpected character 0xC3"},
  };
  for (const Malformed& c : cases) {
    OvxSim_Reset();
    const std::string message = Load(c.text, 0);
    EXPECT_EQ(message.rfind(c.message, 0), 0u) << "text: " << c.text << "\nmessage: " << message;
  }
  // After a refusal the board is the built-in default, not half of the text.
  Load("panel 100 100\nbogus\n", 0);
  ExpectDefaultBoard();
}

TEST_F(SimScenarioTest, CommentsMayHoldAnything) {
  EXPECT_EQ(Load("panel 5 6 # caf\xC3\xA9 \x01 bogus 99999999999\n", 1), "");
  EXPECT_EQ(State().output.size.x, 5);
}

TEST_F(SimScenarioTest, LongTokensAreCutInMessages) {
  const std::string token(200, '9');
  const std::string message = Load("panel " + token + " 1\n", 0);
  EXPECT_EQ(message, "line 1: width '" + std::string(32, '9') + "...' out of range (0..65535)");
}

TEST_F(SimScenarioTest, OverlongLineIsRefused) {
  std::string line = "# " + std::string(253, 'x');  // 255 characters is the limit
  EXPECT_EQ(Load(line + "\n", 1), "");
  EXPECT_EQ(Load("panel 1 1\n" + line + "x\n", 0), "line 2: longer than 255 characters");
  ExpectDefaultBoard();
}

TEST_F(SimScenarioTest, OversizedTextIsRefused) {
  std::string text;
  while (text.size() <= 65536) {
    text += "# filler filler filler filler filler filler filler filler filler\n";
  }
  EXPECT_EQ(Load(text, 0), "longer than 65536 bytes");
}

TEST_F(SimScenarioTest, TooManyTimedActionsOrFailuresAreRefused) {
  std::string timeline;
  for (int i = 0; i <= 1000; ++i) {
    timeline += "at " + std::to_string(i) + " input 2 1 1\n";
  }
  EXPECT_EQ(Load(timeline, 0), "line 1001: too many at lines (at most 1000)");
  std::string fails;
  for (int i = 0; i <= 100; ++i) {
    fails += "fail Ovx_DevOpen status=-1 from=" + std::to_string(i + 1) + "\n";
  }
  EXPECT_EQ(Load(fails, 0), "line 101: too many fail lines (at most 100)");
}

TEST_F(SimScenarioTest, MessageIsCutToTheBuffer) {
  char message[8];
  EXPECT_EQ(OvxSim_LoadScenarioText("bogus\n", message, sizeof message), 0);
  EXPECT_STREQ(message, "line 1:");
}

TEST_F(SimScenarioTest, ScenarioFileIsLoaded) {
  const simtest::TempFile file("ovxsim_valid.txt", "clock manual\npanel 800 600\nat 0 event 0x02 720 480\n");
  char message[256] = "untouched";
  ASSERT_EQ(OvxSim_LoadScenarioFile(file.path().c_str(), message, sizeof message), 1) << message;
  EXPECT_STREQ(message, "");
  EXPECT_EQ(State().output.size.x, 800);
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  EXPECT_EQ(State().input.size.x, 720);  // an action at 0 ms comes with the open
}

TEST_F(SimScenarioTest, MissingOrMalformedFileGivesTheDefault) {
  char message[512];
  const std::string missing = testing::TempDir() + "ovxsim_no_such_file.txt";
  EXPECT_EQ(OvxSim_LoadScenarioFile(missing.c_str(), message, sizeof message), 0);
  EXPECT_EQ(std::string(message), missing + ": cannot be opened");
  EXPECT_EQ(OvxSim_LoadScenarioFile(nullptr, message, sizeof message), 0);
  EXPECT_STREQ(message, ": no file name");

  const simtest::TempFile bad("ovxsim_bad.txt", "panel 1 1\nwatchdog ovx_err=lots\n");
  EXPECT_EQ(OvxSim_LoadScenarioFile(bad.path().c_str(), message, sizeof message), 0);
  EXPECT_EQ(std::string(message), bad.path() + ": line 2: bad number 'lots' for ovx_err");
  ExpectDefaultBoard();

  const char with_nul[] = "panel 1 1\npanel 2\0 2\n";
  const simtest::TempFile nul("ovxsim_nul.txt", std::string(with_nul, sizeof with_nul - 1));
  EXPECT_EQ(OvxSim_LoadScenarioFile(nul.path().c_str(), message, sizeof message), 0);
  EXPECT_EQ(std::string(message), nul.path() + ": line 2: unexpected character 0x00");

  const simtest::TempFile huge("ovxsim_huge.txt", std::string(70000, '#'));
  EXPECT_EQ(OvxSim_LoadScenarioFile(huge.path().c_str(), message, sizeof message), 0);
  EXPECT_EQ(std::string(message), huge.path() + ": longer than 65536 bytes");
}

TEST_F(SimScenarioTest, EnvironmentScenarioMissingFileWritesOneLine) {
  const std::string missing = testing::TempDir() + "ovxsim_env_missing.txt";
  simtest::SetEnv("OVXSIM_SCENARIO", missing.c_str());
  testing::internal::CaptureStderr();
  EXPECT_EQ(OvxSim_LoadEnvironmentScenario(), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  simtest::UnsetEnv("OVXSIM_SCENARIO");
  EXPECT_EQ(err, "ovxcapture sim: " + missing + ": cannot be opened; using the built-in scenario\n");
  ExpectDefaultBoard();
}

TEST_F(SimScenarioTest, EnvironmentScenarioMalformedFileWritesOneLine) {
  const simtest::TempFile bad("ovxsim_env_bad.txt", "clock manual\nat 10 event 0x02 1920\n");
  simtest::SetEnv("OVXSIM_SCENARIO", bad.path().c_str());
  testing::internal::CaptureStderr();
  EXPECT_EQ(OvxSim_LoadEnvironmentScenario(), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  simtest::UnsetEnv("OVXSIM_SCENARIO");
  EXPECT_EQ(err, "ovxcapture sim: " + bad.path() + ": line 2: missing height; using the built-in scenario\n");
}

TEST_F(SimScenarioTest, EnvironmentScenarioValidFileIsUsedQuietly) {
  const simtest::TempFile good("ovxsim_env_good.txt", "clock manual\npanel 1024 768\n");
  simtest::SetEnv("OVXSIM_SCENARIO", good.path().c_str());
  testing::internal::CaptureStderr();
  EXPECT_EQ(OvxSim_LoadEnvironmentScenario(), 1);
  const std::string err = testing::internal::GetCapturedStderr();
  simtest::UnsetEnv("OVXSIM_SCENARIO");
  EXPECT_EQ(err, "");
  EXPECT_EQ(State().output.size.x, 1024);
  // The file chose the manual clock: nothing happens without AdvanceTime.
  const uint64_t before = OvxSim_ClockMs();
  OvxSim_AdvanceTime(25);
  EXPECT_EQ(OvxSim_ClockMs(), before + 25);
}

TEST_F(SimScenarioTest, TraceVariableWritesEveryCallToStderr) {
  simtest::UnsetEnv("OVXSIM_SCENARIO");
  simtest::SetEnv("OVXSIM_TRACE", "1");
  EXPECT_EQ(OvxSim_LoadEnvironmentScenario(), 0);
  simtest::UnsetEnv("OVXSIM_TRACE");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Ovx_DevOpen(&device_, 0), 0);
  EXPECT_EQ(Ovx_DevClose(nullptr), OVXSIM_STATUS_BAD_ARGUMENT);
  const std::string traced = testing::internal::GetCapturedStderr();
  EXPECT_EQ(traced.rfind("ovxcapture sim: #1 thread ", 0), 0u) << traced;
  EXPECT_NE(traced.find(" Ovx_DevOpen(device "), std::string::npos) << traced;
  EXPECT_NE(traced.find("\novxcapture sim: #2 thread "), std::string::npos) << traced;
  EXPECT_NE(traced.find(" Ovx_DevClose(device "), std::string::npos) << traced;
  EXPECT_NE(traced.find(") -> -2 []\n"), std::string::npos) << traced;

  // Without the variable the board is quiet again.
  EXPECT_EQ(OvxSim_LoadEnvironmentScenario(), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Ovx_DevClose(&device_), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
