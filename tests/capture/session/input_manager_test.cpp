// The device session against the simulated board.
#include "capture/session/input_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "capture/plane/plane_request_writer.h"
#include "capture/reporting/api_log.h"
#include "capture/reporting/capture_calls.h"
#include "fake_services.h"
#include "ovxcapture_sim.h"
#include "support/eventually.h"

namespace capture {
namespace {

using testing::FakeServices;

std::vector<OvxSimCall> Calls() {
  std::vector<OvxSimCall> calls(OvxSim_CallCount());
  for (uint32_t i = 0; i < calls.size(); ++i) OvxSim_GetCall(i, &calls[i]);
  return calls;
}

std::vector<std::string> CallNames() {
  std::vector<std::string> names;
  for (const auto& c : Calls())
    names.push_back(c.function + std::string(c.property_id >= 0 ? ":" + std::to_string(c.property_id) : ""));
  return names;
}

using testsupport::Eventually;

class Session : public ::testing::Test {
 protected:
  void SetUp() override {
    OvxSim_Reset();
    eventPending.store(0);
    notificationsEnabled.store(1);
  }
  void TearDown() override {
    InputManager::Destroy();
    ApiLog::SetSwitch(0);
  }
  FakeServices fakes;
};

TEST_F(Session, CreateOpensStartsTheWorkerAndReadsTheWatchdog) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(InputManager::Instance(), session);
  EXPECT_TRUE(session->IsOpened());
  EXPECT_TRUE(session->WorkerRunning());
  EXPECT_EQ(CallNames(), (std::vector<std::string>{"Ovx_DevOpen", "Ovx_DevGetProp:3"}));
  EXPECT_TRUE(fakes.eventLog.texts.empty());
}

TEST_F(Session, FailedOpenIsReportedOnceAndLeavesNoSession) {
  OvxSim_InjectStatus("Ovx_DevOpen", -1, -5, 1, 0);
  EXPECT_EQ(InputManager::Create(0), nullptr);
  EXPECT_EQ(InputManager::Instance(), nullptr);
  EXPECT_EQ(fakes.eventLog.Texts(), std::vector<std::wstring>{L"Ovx_DevOpen(-5)"});
  // A later attempt may succeed: nothing was left behind.
  OvxSim_InjectStatus("Ovx_DevOpen", -1, 0, 1, 0);
  EXPECT_NE(InputManager::Create(0), nullptr);
}

TEST_F(Session, FailedFirstWatchdogReadDismantlesTheSession) {
  OvxSim_InjectStatus("Ovx_DevGetProp", 3, -7, 1, 1);
  EXPECT_EQ(InputManager::Create(0), nullptr);
  OvxSimState state{};
  OvxSim_GetState(&state);
  EXPECT_EQ(state.opened, 0);
  EXPECT_EQ(CallNames().back(), "Ovx_DevClose");
  EXPECT_EQ(fakes.eventLog.Texts(), std::vector<std::wstring>{L"Ovx_DevGetProp(-7)"});
}

TEST_F(Session, SecondCreateIsRefusedAndTheFirstKeepsWorking) {
  InputManager* first = InputManager::Create(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(InputManager::Create(1), nullptr);
  EXPECT_EQ(InputManager::Instance(), first);
  EXPECT_TRUE(first->SetEventCallback(&InputManager::OnDeviceEvent));
  InputSize size;
  OvxEventSize input{OVX_EVENT_INPUT_PRESENT, {1920, 1080}};
  OvxSim_SetInput(&input);
  EXPECT_EQ(first->QueryInputStatus(size), kSignalPresent);
  const auto names = CallNames();
  EXPECT_EQ(std::count(names.begin(), names.end(), "Ovx_DevOpen"), 1);
}

TEST_F(Session, DestroyJoinsTheWorkerAndClosesTheDevice) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  session->SetExecutionIntervalForTesting(3600 * 1000);  // a long pause must not hold up the end
  InputManager::Destroy();
  EXPECT_EQ(InputManager::Instance(), nullptr);
  OvxSimState state{};
  OvxSim_GetState(&state);
  EXPECT_EQ(state.opened, 0);
  EXPECT_EQ(CallNames().back(), "Ovx_DevClose");
}

// With nothing to apply the worker sleeps until a request arrives, whatever
// the interval (0 was a busy loop, a positive one woke every interval), and a
// lone request costs one pass, not a second one that finds nothing.
TEST_F(Session, IdleWorkerSleepsUntilARequestArrives) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  session->SetExecutionIntervalForTesting(0);
  ASSERT_TRUE(Eventually([&] { return session->WorkerIdle(); }));
  const uint64_t start = session->WorkerPasses();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(session->WorkerPasses(), start);
  PlaneRequestWriter(session->Queue()).Audio(false);
  ASSERT_TRUE(Eventually([&] { return session->WorkerPasses() > start && session->WorkerIdle(); }));
  EXPECT_EQ(session->WorkerPasses(), start + 1);
}

// After a pass that applied something the worker pauses the interval, so a
// second request waits; the stop cuts the pause short and applies it.
TEST_F(Session, WorkerPausesTheIntervalAfterAPassThatApplied) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  ASSERT_TRUE(session->CreatePlane({1920, 1080, 0}, 3600 * 1000, 20));
  ASSERT_TRUE(Eventually([] {
    OvxSimState state{};
    OvxSim_GetState(&state);
    return state.draw_count == 1;
  }));
  PlaneRequestWriter(session->Queue()).Angle(90);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  OvxSimPlane shown{};
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.angle, 0);
  InputManager::Destroy();
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.angle, 90);
}

TEST_F(Session, InputStatusFromTheEventBits) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  struct Case {
    uint32_t event;
    int32_t w, h;
    int32_t expected;
  };
  // Starts from the status the previous row left.
  const Case cases[] = {
      {OVX_EVENT_INPUT_PRESENT | OVX_EVENT_NO_INPUT, 1920, 1080, kSignalPresent},
      {OVX_EVENT_NO_INPUT, 1920, 1080, kSignalNone},
      {OVX_EVENT_INPUT_UNUSABLE, 1920, 1080, kSignalUnusable},
      {OVX_EVENT_INPUT_PRESENT, 1920, 1080, kSignalPresent},
      {OVX_EVENT_NOTICE, 1280, 720, kSignalPresent},  // no deciding bit: unchanged
      {0, 1920, 1080, kSignalPresent},
      {OVX_EVENT_NO_INPUT, 0, 0, kSignalUnusable},
      {OVX_EVENT_INPUT_PRESENT, 0, 0, kSignalUnusable},  // 0 x 0 is never usable
      {OVX_EVENT_INPUT_PRESENT, 0, 1080, kSignalPresent},
  };
  for (const Case& c : cases) {
    const OvxEventSize input{c.event, {c.w, c.h}};
    OvxSim_SetInput(&input);
    eventPending.store(1);
    InputSize size;
    EXPECT_EQ(session->QueryInputStatus(size), c.expected) << "event " << c.event << " " << c.w << "x" << c.h;
    EXPECT_EQ(size.width, c.w);
    EXPECT_EQ(size.height, c.h);
    EXPECT_EQ(eventPending.load(), 0u);
  }
}

TEST_F(Session, FailedInputReadGivesStatusThreeAndKeepsTheCallersSize) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  OvxSim_InjectStatus("Ovx_DevGetProp", OVX_DEV_PROP_INPUT, -3, 1, 1);
  InputSize size{640, 480};
  EXPECT_EQ(session->QueryInputStatus(size), kSignalReadError);
  EXPECT_EQ(size.width, 640);
  EXPECT_EQ(size.height, 480);
  EXPECT_EQ(fakes.eventLog.Texts(), std::vector<std::wstring>{L"Ovx_DevGetProp(-3)"});
}

TEST_F(Session, ClosedDeviceRefusesEverythingButTheStoredStatus) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  session->CloseDevice();
  ASSERT_FALSE(session->IsOpened());
  OvxSim_ClearCalls();
  InputSize size{1, 2};
  EXPECT_EQ(session->QueryInputStatus(size), kSignalNone);
  EXPECT_FALSE(session->SetEventCallback(&InputManager::OnDeviceEvent));
  EXPECT_FALSE(session->Suspend());
  EXPECT_FALSE(session->InitWatchdog(2000));
  session->CloseDevice();  // closed already: no call
  EXPECT_EQ(OvxSim_CallCount(), 0u);
}

TEST_F(Session, CallbacksRaiseEventPendingOnlyWhileNotificationsAreEnabled) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  ASSERT_TRUE(session->SetEventCallback(&InputManager::OnDeviceEvent));
  EXPECT_TRUE(session->IsCallbackRegistered());

  EXPECT_EQ(OvxSim_FireEvent(0x40 | 0x01, 1920, 1080), 1);  // no known bit
  EXPECT_EQ(eventPending.load(), 0u);
  notificationsEnabled.store(0);
  OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 1920, 1080);
  EXPECT_EQ(eventPending.load(), 0u);
  notificationsEnabled.store(1);
  OvxSim_FireEvent(OVX_EVENT_NOTICE, 1920, 1080);
  EXPECT_EQ(eventPending.load(), 1u);

  ASSERT_TRUE(session->SetEventCallback(nullptr));
  EXPECT_FALSE(session->IsCallbackRegistered());
  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 1920, 1080), 0);
}

TEST_F(Session, FailedCallbackRegistrationKeepsTheOldState) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  OvxSim_InjectStatus("Ovx_DevSetCb", -1, -9, 1, 1);
  EXPECT_FALSE(session->SetEventCallback(&InputManager::OnDeviceEvent));
  EXPECT_FALSE(session->IsCallbackRegistered());
  EXPECT_EQ(fakes.eventLog.Texts(), std::vector<std::wstring>{L"Ovx_DevSetCb(-9)"});
}

TEST_F(Session, SuspendRemovesTheCallbackAndSavesIntervalAndTime) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  ASSERT_TRUE(session->SetEventCallback(&InputManager::OnDeviceEvent));
  const OvxWatchdogInfo watchdog{1, 1500, 5, 0, 0};
  OvxSim_SetWatchdog(&watchdog);
  const OvxTime time{40};
  ASSERT_EQ(Ovx_DevSetProp(session->DeviceSlot(), OVX_DEV_PROP_TIME, &time), 0);
  EXPECT_TRUE(session->Suspend());
  EXPECT_FALSE(session->IsCallbackRegistered());
  EXPECT_EQ(session->SavedWatchdogInterval(), 1500);
  EXPECT_EQ(session->SavedTime(), 40);
}

TEST_F(Session, SuspendFailsWhenAReadFailsButStillTriesTheRest) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  const int32_t before = session->SavedWatchdogInterval();
  OvxSim_InjectStatus("Ovx_DevGetProp", OVX_DEV_PROP_WATCHDOG, -2, 1, 1);
  const OvxTime time{33};
  ASSERT_EQ(Ovx_DevSetProp(session->DeviceSlot(), OVX_DEV_PROP_TIME, &time), 0);
  EXPECT_FALSE(session->Suspend());
  EXPECT_EQ(session->SavedWatchdogInterval(), before);
  EXPECT_EQ(session->SavedTime(), 33);
}

TEST_F(Session, CallbacksOnTheBoardThreadWhileTheWindowThreadQueries) {
  InputManager* session = InputManager::Create(0);
  ASSERT_NE(session, nullptr);
  ASSERT_TRUE(session->SetEventCallback(&InputManager::OnDeviceEvent));
  std::atomic<bool> done{false};
  std::thread board([&] {
    for (int i = 0; i < 300; ++i)
      OvxSim_FireEvent(i % 2 ? OVX_EVENT_INPUT_PRESENT : OVX_EVENT_NO_INPUT, 1920, 1080);
    done = true;
  });
  InputSize size;
  int queries = 0;
  while (!done || queries < 10) {
    const int32_t s = session->QueryInputStatus(size);
    EXPECT_TRUE(s == kSignalNone || s == kSignalPresent || s == kSignalUnusable);
    ++queries;
  }
  board.join();
}

// The log lines of the session's own calls, byte for byte.
class SessionLog : public Session {
 protected:
  void SetUp() override {
    Session::SetUp();
    desktop = testing::FreshFolder(std::string("session-") +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fakes.logFolder.desktop = desktop.string();
  }
  void TearDown() override {
    Session::TearDown();
    std::filesystem::remove_all(desktop);
  }
  std::string Log() { return testing::ReadFile(desktop / "log" / "mira5api.log"); }
  std::filesystem::path desktop;
};

TEST_F(SessionLog, EveryCallOfTheSessionIsLogged) {
  InputManager* session = InputManager::Create(1);
  ASSERT_NE(session, nullptr);
  const std::string dev = "0x" + PointerText(session->DeviceSlot());
  const std::string pln = "0x" + PointerText(session->PlaneSlot());
  const std::string cb = "0x" + PointerText(reinterpret_cast<const void*>(&InputManager::OnDeviceEvent));
  OvxFirmwareInfo firmware{0x10000200, 1, 2, 3, 4, 5, 6, 7};
  OvxSim_SetFirmware(&firmware);
  OvxSim_SetApiVersion(0x10010000);
  const OvxEventSize input{OVX_EVENT_INPUT_PRESENT, {1920, 1080}};
  OvxSim_SetInput(&input);

  ASSERT_TRUE(session->SetEventCallback(&InputManager::OnDeviceEvent));
  ASSERT_TRUE(session->InitWatchdog(2000));
  InputSize size;
  EXPECT_EQ(session->QueryInputStatus(size), kSignalPresent);
  OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 1920, 1080);
  OvxSim_FireEvent(0x100, 1, 1);  // unknown bits: no line
  OvxFirmwareInfo readFirmware{};
  EXPECT_EQ(CallDevGetProp(session->DeviceSlot(), 1, &readFirmware), 0);
  OvxApiVersion api{};
  EXPECT_EQ(CallDevGetProp(session->DeviceSlot(), 2, &api), 0);
  const OvxTime time{20};
  EXPECT_EQ(CallDevSetProp(session->DeviceSlot(), 7, &time), 0);
  ASSERT_EQ(CallVpCreate(session->DeviceSlot(), session->PlaneSlot()), 0);
  OvxEventSize output{};
  EXPECT_EQ(CallDevGetProp(session->DeviceSlot(), 4, &output), 0);
  const OvxPlaneIndex index{0};
  EXPECT_EQ(CallVpSetProp(session->DeviceSlot(), session->PlaneSlot(), 11, &index), 0);
  const OvxPlaneAngle angle{90};
  EXPECT_EQ(CallVpSetProp(session->DeviceSlot(), session->PlaneSlot(), 10, &angle), 0);
  const OvxPlanePlacement placement{{10, 20}, {1280, 720}};
  EXPECT_EQ(CallVpSetProp(session->DeviceSlot(), session->PlaneSlot(), 2, &placement), 0);
  const OvxPlaneParts parts{{3840, 2160}, {0, 0}, {3840, 2160}};
  EXPECT_EQ(CallVpSetProp(session->DeviceSlot(), session->PlaneSlot(), 3, &parts), 0);
  const OvxPlaneEnable enable{1};
  EXPECT_EQ(CallVpSetProp(session->DeviceSlot(), session->PlaneSlot(), 1, &enable), 0);
  EXPECT_EQ(CallVpDrawAll(session->DeviceSlot()), 0);  // never logged
  OvxSim_InjectStatus("Ovx_DevGetProp", 6, -4, 1, 1);
  OvxEventSize stale{0x1234, {7, 8}};
  EXPECT_EQ(CallDevGetProp(session->DeviceSlot(), 6, &stale), -4);  // logged with the record as it was
  ASSERT_TRUE(session->Suspend());
  InputManager::Destroy();

  const std::string t = "2026/12/07,09:05:03.42,";
  const std::string nl = testing::kNewline;
  const std::string expected =
      t + "0,Ovx_DevOpen," + dev + ",0" + nl + t + "0,Ovx_DevGetProp," + dev +
      ",3,state:1 interval:2000 err_count:5 ovx_count:0 ovx_err:0" + nl + t + "0,Ovx_DevSetCb," + dev +
      ",6," + cb + nl + t + "0,Ovx_DevWdtInit," + dev + ",2000,5" + nl + t + "0,Ovx_DevGetProp," + dev +
      ",6,event:0x2 size.x:1920 size.y:1080" + nl + t +
      "0,Callback arrived.,event:0x00000002 size.x:1920 size.y:1080" + nl + t + "0,Ovx_DevGetProp," + dev +
      ",1,firminfo_1:1 firminfo_2:2 firminfo_3:3 firminfo_4:4 firminfo_5:5 firminfo_6:6 firminfo_7:7 "
      "version_no:0x10000200" +
      nl + t + "0,Ovx_DevGetProp," + dev + ",2,version_no:0x10010000" + nl + t + "0,Ovx_DevSetProp," + dev +
      ",7,time:20" + nl + t + "0,Ovx_VpCreate," + dev + "," + pln + ",2,0" + nl + t + "0,Ovx_DevGetProp," +
      dev + ",4,event:0x0 size.x:3840 size.y:2560" + nl + t + "0,Ovx_VpSetProp," + dev + "," + pln +
      ",11,index:0" + nl + t + "0,Ovx_VpSetProp," + dev + "," + pln + ",10,angle:90" + nl + t +
      "0,Ovx_VpSetProp," + dev + "," + pln + ",2,top.x:10 top.y:20 size.x:1280 size.y:720" + nl + t +
      "0,Ovx_VpSetProp," + dev + "," + pln +
      ",3,parts.x:3840 parts.y:2160 top.x:0 top.y:0 size.x:3840 size.y:2160" + nl + t + "0,Ovx_VpSetProp," +
      dev + "," + pln + ",1,enb:1" + nl + t + "-4,Ovx_DevGetProp," + dev +
      ",6,event:0x1234 size.x:7 size.y:8" + nl + t + "0,Ovx_DevSetCb," + dev + ",6,0x0000000000000000" + nl +
      t + "0,Ovx_DevGetProp," + dev + ",3,state:1 interval:2000 err_count:5 ovx_count:0 ovx_err:0" + nl + t +
      "0,Ovx_DevGetProp," + dev + ",7,time:20" + nl;
  // The hide request of Destroy changes nothing on a hidden plane, so the
  // worker sends nothing before the close.
  EXPECT_EQ(Log(), expected + t + "0,Ovx_DevClose," + dev + nl);
}

}  // namespace
}  // namespace capture
