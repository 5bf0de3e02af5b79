// Event-log reporting and the API call log file.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "capture/reporting/api_log.h"
#include "capture/reporting/event_report.h"
#include "fake_services.h"

namespace capture {
namespace {

using testing::FakeServices;

TEST(EventReport, StatusTextIsNameAndSignedStatus) {
  EXPECT_EQ(StatusEventText(-5, "Ovx_DevOpen"), L"Ovx_DevOpen(-5)");
  EXPECT_EQ(StatusEventText(2147483647, "Ovx_VpSetProp"), L"Ovx_VpSetProp(2147483647)");
}

TEST(EventReport, OneErrorEntryUnderTheProgramTitle) {
  FakeServices fakes;
  EXPECT_TRUE(ReportStatus(-5, "Ovx_DevOpen"));
  ASSERT_EQ(fakes.eventLog.texts.size(), 1u);
  EXPECT_EQ(fakes.eventLog.texts[0], L"Ovx_DevOpen(-5)");
  ASSERT_EQ(fakes.eventLog.sources.size(), 1u);
  EXPECT_EQ(fakes.eventLog.sources[0], L"Tavrin");
  EXPECT_EQ(fakes.eventLog.deregistered, 1);
  EXPECT_TRUE(fakes.debugOutput.lines.empty());
}

TEST(EventReport, RefusedEntryGoesToTheDebuggerOutput) {
  FakeServices fakes;
  fakes.eventLog.refuseReport = true;
  EXPECT_FALSE(ReportEvent(L"Driver not found."));
  ASSERT_EQ(fakes.debugOutput.lines.size(), 1u);
  EXPECT_EQ(fakes.debugOutput.lines[0], L"The event log file is full.\r\n");
  EXPECT_EQ(fakes.eventLog.deregistered, 1);
}

TEST(EventReport, UnregisteredSourceReportsNothing) {
  FakeServices fakes;
  fakes.eventLog.refuseSource = true;
  EXPECT_FALSE(ReportEvent(L"x"));
  EXPECT_TRUE(fakes.eventLog.texts.empty());
  EXPECT_EQ(fakes.eventLog.deregistered, 0);
  EXPECT_TRUE(fakes.debugOutput.lines.empty());
}

class ApiLogFile : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop = testing::FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    fakes.logFolder.desktop = desktop.string();
  }
  void TearDown() override {
    ApiLog::Close();
    ApiLog::SetSwitch(0);
    std::filesystem::remove_all(desktop);
  }
  std::filesystem::path LogPath() const { return desktop / "log" / "mira5api.log"; }

  FakeServices fakes;
  std::filesystem::path desktop;
};

TEST_F(ApiLogFile, OffCreatesNoFolderOrFile) {
  ApiLog::SetSwitch(0);
  ApiLog::Open();
  ApiLog::Write(0, "Ovx_DevOpen", "x");
  EXPECT_FALSE(ApiLog::IsOpen());
  EXPECT_FALSE(std::filesystem::exists(desktop / "log"));
  EXPECT_EQ(fakes.logFolder.created, 0);
}

TEST_F(ApiLogFile, AppendsAcrossRunsWithoutTruncating) {
  ApiLog::SetSwitch(1);
  ApiLog::Open();
  ASSERT_TRUE(ApiLog::IsOpen());
  ApiLog::Write(-3, "Ovx_DevGetProp", "args one");
  ApiLog::Close();
  fakes.clock.now = {2026, 12, 8, 10, 0, 0, 5};
  ApiLog::Open();  // a second run: the folder exists now
  ApiLog::Write(0, kCallbackArrived, "event:0x00000002 size.x:1 size.y:2");
  ApiLog::Close();
  EXPECT_EQ(fakes.logFolder.created, 1);
  EXPECT_EQ(testing::ReadFile(LogPath()),
            std::string("2026/12/07,09:05:03.42,-3,Ovx_DevGetProp,args one") + testing::kNewline +
                "2026/12/08,10:00:00.5,0,Callback arrived.,event:0x00000002 size.x:1 size.y:2" +
                testing::kNewline);
}

TEST_F(ApiLogFile, NoDesktopLeavesLoggingOffSilently) {
  fakes.logFolder.desktop.reset();
  ApiLog::SetSwitch(1);
  ApiLog::Open();
  EXPECT_FALSE(ApiLog::IsOpen());
  ApiLog::Write(0, "Ovx_DevOpen", "x");  // nothing to write to, nothing breaks
  EXPECT_TRUE(fakes.eventLog.texts.empty());
}

TEST_F(ApiLogFile, UncreatableFolderLeavesLoggingOff) {
  // A plain file where the folder should be.
  { std::ofstream(desktop / "log") << "not a folder"; }
  ApiLog::SetSwitch(1);
  ApiLog::Open();
  EXPECT_FALSE(ApiLog::IsOpen());
}

TEST_F(ApiLogFile, LinesOfSeveralThreadsStayWhole) {
  ApiLog::SetSwitch(1);
  ApiLog::Open();
  constexpr int kThreads = 4, kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      const std::string args = "thread " + std::to_string(t) + std::string(60, static_cast<char>('a' + t));
      for (int i = 0; i < kLines; ++i) ApiLog::Write(t, "Ovx_VpSetProp", args);
    });
  }
  for (auto& th : threads) th.join();
  ApiLog::Close();
  std::istringstream in(testing::ReadFile(LogPath()));
  std::string line;
  int count = 0;
  while (std::getline(in, line)) {
    ++count;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const char t = line[line.size() - 1];
    ASSERT_GE(t, 'a');
    ASSERT_LE(t, 'd');
    const int id = t - 'a';
    EXPECT_EQ(line, "2026/12/07,09:05:03.42," + std::to_string(id) + ",Ovx_VpSetProp,thread " +
                        std::to_string(id) + std::string(60, t));
  }
  EXPECT_EQ(count, kThreads * kLines);
}

}  // namespace
}  // namespace capture
