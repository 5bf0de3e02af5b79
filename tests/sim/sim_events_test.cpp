// Device events of the simulated board: delivery on the board's own thread,
// synchronous FireEvent, the timeline under the manual clock, callbacks that
// call back into the board, and calls from several threads at once.
#include <atomic>
#include <thread>
#include <vector>

#include "sim_test_support.h"

namespace {

using simtest::CallbackRecorder;
using simtest::SimTest;

class SimEventsTest : public SimTest {
 protected:
  void OpenWithCallback() {
    ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
    ASSERT_EQ(Ovx_DevSetCb(&device_, OVX_CALLBACK_ID, CallbackRecorder::Callback), 0);
    ASSERT_EQ(State().callback_set, 1);
  }
  std::vector<simtest::Delivery> Deliveries() { return CallbackRecorder::Get().Deliveries(); }
};

TEST_F(SimEventsTest, FireEventDeliversOnTheBoardThreadBeforeReturning) {
  OpenWithCallback();
  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 1920, 1080), 1);
  const auto got = Deliveries();  // no waiting: the callback has already returned
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].record.event, static_cast<uint32_t>(OVX_EVENT_INPUT_PRESENT));
  EXPECT_EQ(got[0].record.size.x, 1920);
  EXPECT_EQ(got[0].record.size.y, 1080);
  EXPECT_NE(got[0].thread_id, OvxSim_CurrentThreadId());
  // The input property follows the event.
  OvxEventSize input{};
  ASSERT_EQ(Ovx_DevGetProp(&device_, OVX_DEV_PROP_INPUT, &input), 0);
  EXPECT_EQ(input.event, static_cast<uint32_t>(OVX_EVENT_INPUT_PRESENT));
  EXPECT_EQ(input.size.x, 1920);

  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_NO_INPUT | OVX_EVENT_NOTICE, 0, 0), 1);
  const auto more = Deliveries();
  ASSERT_EQ(more.size(), 2u);
  EXPECT_EQ(more[1].record.event, static_cast<uint32_t>(OVX_EVENT_NO_INPUT | OVX_EVENT_NOTICE));
  EXPECT_EQ(more[1].thread_id, more[0].thread_id);  // one event thread
}

TEST_F(SimEventsTest, FireEventWithoutCallbackOnlyChangesTheInput) {
  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 800, 600), 0);  // closed device
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 1280, 720), 0);
  EXPECT_TRUE(Deliveries().empty());
  EXPECT_EQ(State().input.size.x, 1280);
  // Removing the callback stops delivery.
  ASSERT_EQ(Ovx_DevSetCb(&device_, OVX_CALLBACK_ID, CallbackRecorder::Callback), 0);
  ASSERT_EQ(Ovx_DevSetCb(&device_, OVX_CALLBACK_ID, nullptr), 0);
  EXPECT_EQ(State().callback_set, 0);
  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_NO_INPUT, 0, 0), 0);
  EXPECT_TRUE(Deliveries().empty());
}

TEST_F(SimEventsTest, DefaultSourceArrivesHalfASecondAfterOpen) {
  OvxSim_AdvanceTime(5000);  // time before the open does not count
  OpenWithCallback();
  OvxSim_AdvanceTime(499);
  EXPECT_TRUE(Deliveries().empty());
  EXPECT_EQ(State().input.event, static_cast<uint32_t>(OVX_EVENT_NO_INPUT));
  OvxSim_AdvanceTime(1);
  const auto got = Deliveries();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].record.event, static_cast<uint32_t>(OVX_EVENT_INPUT_PRESENT));
  EXPECT_EQ(got[0].record.size.x, 1920);
  EXPECT_EQ(got[0].record.size.y, 1080);
  EXPECT_NE(got[0].thread_id, OvxSim_CurrentThreadId());
  OvxSim_AdvanceTime(100000);
  EXPECT_EQ(Deliveries().size(), 1u);  // once only
}

TEST_F(SimEventsTest, AdvanceTimeDeliversDueEventsInOrder) {
  ASSERT_EQ(OvxSim_LoadScenarioText("at 30 event 0x02 300 3\n"
                                    "at 10 event 0x02 100 1\n"
                                    "at 20 input 0x04 0 0\n"
                                    "at 20 event 0x10 200 2\n"
                                    "at 20 watchdog ovx_err=5\n"
                                    "at 40 event 0x20 400 4\n",
                                    nullptr, 0),
            1);
  OpenWithCallback();
  OvxSim_AdvanceTime(15);
  ASSERT_EQ(Deliveries().size(), 1u);
  EXPECT_EQ(State().watchdog.ovx_err, 0u);
  OvxSim_AdvanceTime(20);  // 35: the events at 20 and 30, not 40
  const auto got = Deliveries();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].record.size.x, 100);
  EXPECT_EQ(got[1].record.size.x, 200);
  EXPECT_EQ(got[1].record.event, 0x10u);
  EXPECT_EQ(got[2].record.size.x, 300);
  EXPECT_EQ(State().watchdog.ovx_err, 5u);
  EXPECT_EQ(State().input.size.x, 300);
  OvxSim_AdvanceTime(5);
  EXPECT_EQ(Deliveries().size(), 4u);
}

TEST_F(SimEventsTest, EventsWithoutCallbackAreNotDeliveredLater) {
  ASSERT_EQ(OvxSim_LoadScenarioText("at 10 event 0x02 640 480\nat 20 event 0x04 0 0\n", nullptr, 0), 1);
  ASSERT_EQ(Ovx_DevOpen(&device_, 0), 0);
  OvxSim_AdvanceTime(10);
  EXPECT_EQ(State().input.size.x, 640);
  ASSERT_EQ(Ovx_DevSetCb(&device_, OVX_CALLBACK_ID, CallbackRecorder::Callback), 0);
  EXPECT_TRUE(Deliveries().empty());
  OvxSim_AdvanceTime(10);
  ASSERT_EQ(Deliveries().size(), 1u);
  EXPECT_EQ(Deliveries()[0].record.event, static_cast<uint32_t>(OVX_EVENT_NO_INPUT));
}

TEST_F(SimEventsTest, CloseDropsTheCallback) {
  OpenWithCallback();
  ASSERT_EQ(Ovx_DevClose(&device_), 0);
  EXPECT_EQ(State().callback_set, 0);
  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 1, 1), 0);
  OvxSim_AdvanceTime(1000);
  EXPECT_TRUE(Deliveries().empty());
  // A new open delivers again once a callback is set.
  OpenWithCallback();
  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 2, 2), 1);
  EXPECT_EQ(Deliveries().size(), 1u);
}

// A callback that uses the board itself, as a careless client might.
OvxDevice reentrant_device = 0;
std::atomic<int> reentrant_status{1};
std::atomic<int> reentrant_nested{-1};

void ReentrantCallback(OvxEventSize* record) {
  OvxEventSize input{};
  reentrant_status = Ovx_DevGetProp(&reentrant_device, OVX_DEV_PROP_INPUT, &input);
  if (record->event == OVX_EVENT_NOTICE) {
    reentrant_nested = OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 5, 5);  // inline, no self-wait
  }
  if (record->event == OVX_EVENT_NO_INPUT) {
    Ovx_DevClose(&reentrant_device);  // closing from inside must not wait for itself
  }
  CallbackRecorder::Get().Add(*record);
}

TEST_F(SimEventsTest, CallbackMayCallTheBoard) {
  ASSERT_EQ(Ovx_DevOpen(&reentrant_device, 0), 0);
  ASSERT_EQ(Ovx_DevSetCb(&reentrant_device, OVX_CALLBACK_ID, ReentrantCallback), 0);
  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_NOTICE, 1, 1), 1);
  EXPECT_EQ(reentrant_status.load(), 0);
  EXPECT_EQ(reentrant_nested.load(), 1);
  auto got = Deliveries();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].record.event, static_cast<uint32_t>(OVX_EVENT_INPUT_PRESENT));  // the nested one first
  EXPECT_EQ(got[1].record.event, static_cast<uint32_t>(OVX_EVENT_NOTICE));

  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_NO_INPUT, 0, 0), 1);
  EXPECT_EQ(State().opened, 0);
  EXPECT_EQ(Deliveries().size(), 3u);
  // The board still works: open again, deliver, close from here.
  ASSERT_EQ(Ovx_DevOpen(&reentrant_device, 0), 0);
  ASSERT_EQ(Ovx_DevSetCb(&reentrant_device, OVX_CALLBACK_ID, CallbackRecorder::Callback), 0);
  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 9, 9), 1);
  EXPECT_EQ(Deliveries().size(), 4u);
  EXPECT_EQ(Ovx_DevClose(&reentrant_device), 0);
}

// A callback that holds the event thread until the test lets it go.
std::mutex gate_mutex;
std::condition_variable gate_changed;
bool gate_entered = false;
bool gate_open = false;
std::atomic<bool> gate_left{false};

void GateCallback(OvxEventSize*) {
  std::unique_lock lock(gate_mutex);
  gate_entered = true;
  gate_changed.notify_all();
  gate_changed.wait(lock, [] { return gate_open; });
  gate_left = true;
}

bool WaitForCallOf(const char* function) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    OvxSimCall call{};
    const uint32_t n = OvxSim_CallCount();
    if (n > 0 && OvxSim_GetCall(n - 1, &call) == 1 && std::string(call.function) == function) {
      return true;
    }
    std::this_thread::yield();
  }
  return false;
}

TEST_F(SimEventsTest, RemovingTheCallbackWaitsForARunningOne) {
  OpenWithCallback();
  ASSERT_EQ(Ovx_DevSetCb(&device_, OVX_CALLBACK_ID, GateCallback), 0);
  std::thread firer([] { OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 1, 1); });
  {
    std::unique_lock lock(gate_mutex);
    ASSERT_TRUE(gate_changed.wait_for(lock, std::chrono::seconds(10), [] { return gate_entered; }));
  }
  std::atomic<bool> left_when_removed{false};
  std::thread remover([&] {
    EXPECT_EQ(Ovx_DevSetCb(&device_, OVX_CALLBACK_ID, nullptr), 0);
    left_when_removed = gate_left.load();
  });
  // The removal is recorded before it waits, so it is waiting now.
  ASSERT_TRUE(WaitForCallOf("Ovx_DevSetCb"));
  {
    std::lock_guard lock(gate_mutex);
    gate_open = true;
  }
  gate_changed.notify_all();
  remover.join();
  firer.join();
  EXPECT_TRUE(left_when_removed.load());
}

TEST_F(SimEventsTest, ConcurrentCallsFromWindowAndWorkerThreads) {
  OpenWithPlane();
  ASSERT_EQ(Ovx_DevSetCb(&device_, OVX_CALLBACK_ID, CallbackRecorder::Callback), 0);
  OvxSim_ClearCalls();
  constexpr int kRounds = 200;
  std::atomic<int> failures{0};
  uint64_t worker_id = 0;
  std::thread worker([&] {
    worker_id = OvxSim_CurrentThreadId();
    for (int i = 0; i < kRounds; ++i) {
      const OvxPlanePlacement placement{{i, i}, {100 + i, 100}};
      const OvxPlaneEnable enable{i % 2};
      failures += Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_PLACEMENT, &placement) != 0;
      failures += Ovx_VpSetProp(&device_, &plane_, OVX_VP_PROP_ENABLE, &enable) != 0;
      failures += Ovx_VpDrawAll(&device_) != 0;
    }
  });
  std::thread events([&] {
    for (int i = 0; i < kRounds; ++i) {
      failures += OvxSim_FireEvent(i % 2 != 0 ? OVX_EVENT_INPUT_PRESENT : OVX_EVENT_NO_INPUT, i, i) != 1;
    }
  });
  for (int i = 0; i < kRounds; ++i) {
    OvxEventSize input{};
    OvxWatchdogInfo wdt{};
    failures += Ovx_DevGetProp(&device_, OVX_DEV_PROP_INPUT, &input) != 0;
    failures += Ovx_DevGetProp(&device_, OVX_DEV_PROP_WATCHDOG, &wdt) != 0;
    OvxSimState s{};
    OvxSim_GetState(&s);
  }
  worker.join();
  events.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(Deliveries().size(), static_cast<std::size_t>(kRounds));
  EXPECT_EQ(State().draw_count, static_cast<uint32_t>(kRounds));
  OvxSimPlane shown{};
  OvxSim_GetCommittedPlane(&shown);
  EXPECT_EQ(shown.placement.size.x, 100 + kRounds - 1);

  const uint32_t n = OvxSim_CallCount();
  ASSERT_EQ(n, static_cast<uint32_t>(5 * kRounds));
  uint64_t previous = 0;
  const uint64_t window_id = OvxSim_CurrentThreadId();
  for (uint32_t i = 0; i < n; ++i) {
    OvxSimCall c{};
    ASSERT_EQ(OvxSim_GetCall(i, &c), 1);
    EXPECT_GT(c.sequence, previous);
    previous = c.sequence;
    const bool plane_call = std::string(c.function) != "Ovx_DevGetProp";
    EXPECT_EQ(c.thread_id, plane_call ? worker_id : window_id) << c.function;
  }
}

TEST_F(SimEventsTest, ResetWithAnOpenDeviceAndCallbackStopsCleanly) {
  OpenWithCallback();
  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 1, 1), 1);
  OvxSim_Reset();
  EXPECT_EQ(State().opened, 0);
  EXPECT_EQ(State().callback_set, 0);
  OpenWithCallback();
  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 2, 2), 1);
  EXPECT_EQ(Deliveries().size(), 2u);
}

// No reset at the end: the process must end without hanging while the
// device is open, a callback is set and the event thread runs.
class SimExitTest : public testing::Test {};

TEST_F(SimExitTest, ExitWithTheDeviceOpen) {
  OvxSim_Reset();
  OvxDevice device = 0;
  ASSERT_EQ(Ovx_DevOpen(&device, 0), 0);
  ASSERT_EQ(Ovx_DevSetCb(&device, OVX_CALLBACK_ID, CallbackRecorder::Callback), 0);
  EXPECT_EQ(OvxSim_FireEvent(OVX_EVENT_INPUT_PRESENT, 1, 1), 1);
}

TEST_F(SimEventsTest, RealTimeDefaultDeliversTheArrivalByItself) {
  simtest::UnsetEnv("OVXSIM_SCENARIO");
  EXPECT_EQ(OvxSim_LoadEnvironmentScenario(), 0);  // built-in default, real-time clock
  OpenWithCallback();
  ASSERT_TRUE(CallbackRecorder::Get().WaitForCount(1));
  const auto got = Deliveries();
  EXPECT_EQ(got[0].record.event, static_cast<uint32_t>(OVX_EVENT_INPUT_PRESENT));
  EXPECT_EQ(got[0].record.size.x, 1920);
}

}  // namespace
