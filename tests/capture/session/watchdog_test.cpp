// The board's watchdog through the session: set-up, the read at open and the
// once-a-second check, against the simulated board.
#include <gtest/gtest.h>

#include "capture/session/input_manager.h"
#include "fake_services.h"
#include "ovxcapture_sim.h"

namespace capture {
namespace {

using testing::FakeServices;
using Texts = std::vector<std::wstring>;

std::vector<OvxSimCall> Calls() {
  std::vector<OvxSimCall> calls(OvxSim_CallCount());
  for (uint32_t i = 0; i < calls.size(); ++i) OvxSim_GetCall(i, &calls[i]);
  return calls;
}

void SetBoardWatchdog(uint32_t errCount, uint32_t ovxErr, uint32_t interval = 2000) {
  const OvxWatchdogInfo info{1, interval, errCount, 3, ovxErr};
  OvxSim_SetWatchdog(&info);
}

class Watchdog : public ::testing::Test {
 protected:
  void SetUp() override { OvxSim_Reset(); }
  void TearDown() override { InputManager::Destroy(); }

  // A session whose open found a healthy watchdog, with the record and the
  // event log cleared.
  InputManager* Open() {
    SetBoardWatchdog(5, 0);
    InputManager* session = InputManager::Create(0);
    EXPECT_NE(session, nullptr);
    fakes.eventLog.texts.clear();
    OvxSim_ClearCalls();
    return session;
  }

  FakeServices fakes;
};

TEST_F(Watchdog, HealthyWhileErrCountExceedsOvxErr) {
  InputManager* session = Open();
  ASSERT_NE(session, nullptr);
  SetBoardWatchdog(5, 4);
  EXPECT_TRUE(session->CheckWatchdog());
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});
  EXPECT_EQ(session->Watchdog().err_count, 5u);
  EXPECT_EQ(session->Watchdog().ovx_err, 4u);
  EXPECT_EQ(session->Watchdog().ovx_count, 3u);
}

TEST_F(Watchdog, ReachingTheLimitIsOverLimitEveryTick) {
  InputManager* session = Open();
  ASSERT_NE(session, nullptr);
  SetBoardWatchdog(5, 5);
  EXPECT_FALSE(session->CheckWatchdog());
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"WatchDogTimer was over limit."});
  EXPECT_FALSE(session->CheckWatchdog());
  EXPECT_EQ(fakes.eventLog.Texts(),
            (Texts{L"WatchDogTimer was over limit.", L"WatchDogTimer was over limit."}));
  // The board recovers: healthy again, nothing more reported.
  SetBoardWatchdog(5, 1);
  EXPECT_TRUE(session->CheckWatchdog());
  EXPECT_EQ(fakes.eventLog.Texts().size(), 2u);
}

TEST_F(Watchdog, OvxErrBeyondErrCountIsOverLimit) {
  InputManager* session = Open();
  ASSERT_NE(session, nullptr);
  SetBoardWatchdog(5, 7);
  EXPECT_FALSE(session->CheckWatchdog());
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"WatchDogTimer was over limit."});
}

// Compared as unsigned words: a huge ovx_err is over limit, a huge err_count healthy.
TEST_F(Watchdog, CountsCompareUnsigned) {
  InputManager* session = Open();
  ASSERT_NE(session, nullptr);
  SetBoardWatchdog(5, 0x80000000u);
  EXPECT_FALSE(session->CheckWatchdog());
  SetBoardWatchdog(0xFFFFFFFFu, 0x7FFFFFFFu);
  EXPECT_TRUE(session->CheckWatchdog());
}

TEST_F(Watchdog, FailedReadIsFalseWithoutTheWatchdogMessage) {
  InputManager* session = Open();
  ASSERT_NE(session, nullptr);
  SetBoardWatchdog(5, 0);
  OvxSim_InjectStatus("Ovx_DevGetProp", 3, -6, 1, 1);
  EXPECT_FALSE(session->CheckWatchdog());
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Ovx_DevGetProp(-6)"});
  EXPECT_TRUE(session->CheckWatchdog());  // one failure only
}

TEST_F(Watchdog, EachCheckReadsPropertyThreeOfTheSessionsDevice) {
  InputManager* session = Open();
  ASSERT_NE(session, nullptr);
  EXPECT_TRUE(session->CheckWatchdog());
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_STREQ(calls[0].function, "Ovx_DevGetProp");
  EXPECT_EQ(calls[0].property_id, 3);
  EXPECT_EQ(calls[0].device_slot, session->DeviceSlot());
}

TEST_F(Watchdog, ClosedDeviceChecksNothing) {
  InputManager* session = Open();
  ASSERT_NE(session, nullptr);
  session->CloseDevice();
  OvxSim_ClearCalls();
  EXPECT_FALSE(session->CheckWatchdog());
  EXPECT_FALSE(session->CheckWatchdogAtOpen());
  EXPECT_FALSE(session->InitWatchdog(2000));
  EXPECT_EQ(OvxSim_CallCount(), 0u);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});
}

TEST_F(Watchdog, AllZerosAtOpenIsReportedAsFiredButTheOpenSucceeds) {
  const OvxWatchdogInfo zeros{0, 0, 0, 0, 0};
  OvxSim_SetWatchdog(&zeros);
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  EXPECT_TRUE(session->IsOpened());
  EXPECT_TRUE(session->WorkerRunning());
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"WatchDogTimer was fired."});
}

TEST_F(Watchdog, OverLimitAtOpenIsFiredAndTheOpenSucceeds) {
  SetBoardWatchdog(5, 6);
  ASSERT_NE(InputManager::Create(0), nullptr);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"WatchDogTimer was fired."});
}

TEST_F(Watchdog, HealthyAtOpenReportsNothing) {
  SetBoardWatchdog(5, 4);
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});
  EXPECT_EQ(session->Watchdog().ovx_err, 4u);
}

TEST_F(Watchdog, FailedReadAtOpenFailsTheOpenWithoutTheFiredMessage) {
  OvxSim_InjectStatus("Ovx_DevGetProp", 3, -8, 1, 1);
  EXPECT_EQ(InputManager::Create(0), nullptr);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Ovx_DevGetProp(-8)"});
}

TEST_F(Watchdog, InitArmsWithTheIntervalAndLimitFive) {
  InputManager* session = Open();
  ASSERT_NE(session, nullptr);
  ASSERT_TRUE(session->InitWatchdog(2000));
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_STREQ(calls[0].function, "Ovx_DevWdtInit");
  ASSERT_EQ(calls[0].arg_count, 2u);
  EXPECT_EQ(calls[0].args[0], 2000);
  EXPECT_EQ(calls[0].args[1], 5);
  EXPECT_EQ(calls[0].device_slot, session->DeviceSlot());
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});
}

TEST_F(Watchdog, FailedInitIsReportedAndFalse) {
  InputManager* session = Open();
  ASSERT_NE(session, nullptr);
  OvxSim_InjectStatus("Ovx_DevWdtInit", -1, -4, 1, 1);
  EXPECT_FALSE(session->InitWatchdog(2000));
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Ovx_DevWdtInit(-4)"});
}

// A sleep during which the board lost its watchdog: Continue arms it again
// with the interval read when playback stopped.
TEST_F(Watchdog, ResumeReArmsWithTheIntervalReadBySuspend) {
  InputManager* session = Open();
  ASSERT_NE(session, nullptr);
  ASSERT_TRUE(session->InitWatchdog(2000));
  SetBoardWatchdog(5, 0, 1500);  // the board runs with another interval by now
  ASSERT_TRUE(session->Suspend());
  EXPECT_EQ(session->SavedWatchdogInterval(), 1500);

  const OvxWatchdogInfo lost{0, 0, 0, 0, 0};
  OvxSim_SetWatchdog(&lost);
  OvxSim_ClearCalls();
  ASSERT_TRUE(session->InitWatchdog(session->SavedWatchdogInterval()));
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_STREQ(calls[0].function, "Ovx_DevWdtInit");
  EXPECT_EQ(calls[0].args[0], 1500);
  EXPECT_EQ(calls[0].args[1], 5);
  OvxSimState state{};
  OvxSim_GetState(&state);
  EXPECT_EQ(state.watchdog.interval, 1500u);
  // Armed again, the next tick is healthy.
  EXPECT_TRUE(session->CheckWatchdog());
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});
}

// Without a stop the saved interval is 0, which the board refuses; the
// frame then shows the abnormal screen.
TEST_F(Watchdog, ResumeWithoutSuspendArmsWithZero) {
  InputManager* session = Open();
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(session->SavedWatchdogInterval(), 0);
  EXPECT_FALSE(session->InitWatchdog(session->SavedWatchdogInterval()));
  EXPECT_EQ(fakes.eventLog.Texts().size(), 1u);
}

}  // namespace
}  // namespace capture
