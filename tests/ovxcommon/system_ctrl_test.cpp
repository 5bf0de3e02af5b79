#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "in_process_mutexes.h"
#include "ioctl.h"
#include "power_watch.h"
#include "process_state.h"
#include "test_env.h"

namespace ovxtest {
namespace {

using namespace ovx::ioctl;
using ovxsim::Reply;

std::uint32_t CommandOf(const ovxsim::RequestRecord& r) {
  CommandRequest q{};
  EXPECT_EQ(r.input.size(), 32u);
  std::memcpy(&q, r.input.data(), sizeof q);
  return q.Command;
}

class SystemTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    ASSERT_EQ(OpenBoard(), 0u);
    s = MakeSystemCtrl();
  }
  Owned<CExportSystemCtrl> s;
};

TEST_F(SystemTest, CommandsCarryTheirCodes) {
  driver.SetDefault(IOCTL_REQUEST_COMMAND, Reply::Later(0));
  EXPECT_EQ(s->ResetRequest(), 0u);
  EXPECT_EQ(s->SoftUpdate(), 0u);
  driver.SetDeviceState(0x1234);
  std::uint32_t state = 0;
  EXPECT_EQ(s->CheckDeviceState(&state, 300), 0u);
  EXPECT_EQ(state, 0x1234u);
  const auto sent = driver.Requests(IOCTL_REQUEST_COMMAND);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(CommandOf(sent[0]), 0u);
  EXPECT_EQ(CommandOf(sent[1]), 1u);
  EXPECT_EQ(CommandOf(sent[2]), 3u);
  EXPECT_EQ(sent[0].waitMs, 5000u);
  EXPECT_EQ(sent[1].waitMs, 5000u);
  EXPECT_EQ(sent[2].waitMs, 300u);
  // Every other byte of the request is zero.
  std::vector<std::uint8_t> expected(32, 0);
  expected[16] = 3;
  EXPECT_EQ(sent[2].input, expected);
}

TEST_F(SystemTest, StateStaysWhenTheRequestDoesNotCompleteInTime) {
  driver.Program(IOCTL_REQUEST_COMMAND, Reply::Never());
  std::uint32_t state = 0xABCD;
  EXPECT_EQ(s->CheckDeviceState(&state, 0), 1460u);
  EXPECT_EQ(state, 0xABCDu);
  driver.Program(IOCTL_REQUEST_COMMAND, Reply::CompleteWith(0xC0000001));
  EXPECT_EQ(s->CheckDeviceState(&state, 100), 0xC0000001u);
  EXPECT_EQ(state, 0xABCDu);
  EXPECT_EQ(s->CheckDeviceState(nullptr, 100), 87u);
  EXPECT_EQ(driver.Count(IOCTL_REQUEST_COMMAND), 2u);
}

class NoMutexes final : public ovx::INamedMutexes {
 public:
  std::uint32_t OpenOrCreate(const std::wstring&, ovx::NamedMutex*) override { return 5; }
  std::uint32_t Wait(ovx::MutexHandle) override { return 0; }
  void Release(ovx::MutexHandle) override {}
  void Close(ovx::MutexHandle) override {}
};

TEST_F(SystemTest, NoMutexMeansBusyAndNoRequest) {
  NoMutexes none;
  ovx::platform::Install({nullptr, nullptr, nullptr, nullptr, &none, nullptr, nullptr});
  ovx::ProcessState::Get().traceMask = 1;
  EXPECT_EQ(s->SoftUpdate(), 170u);
  std::uint32_t state = 0;
  EXPECT_EQ(s->CheckDeviceState(&state, 10), 170u);
  EXPECT_EQ(driver.Count(IOCTL_REQUEST_COMMAND), 0u);
  EXPECT_EQ(debug.Matching(L"CSystemCtrl::SoftUpdate").at(0),
            L"ERROR: [OvxCOM]: CSystemCtrl::SoftUpdate Get mutex failed: Status = 0x00000005\n");
}

TEST_F(SystemTest, TheMutexIsReleasedAfterEachCommand) {
  driver.Program(IOCTL_REQUEST_COMMAND, Reply::Fail(31));
  EXPECT_EQ(s->ResetRequest(), 31u);
  // Another thread can take it now; a leaked ownership would block forever.
  std::thread other([] {
    auto g = MakeGenericfunc();
    OVX_HANDLE h = nullptr;
    ASSERT_EQ(g->GetMutex(&h, L"SYSCTRL", 0), 0u);
    ovx::platform::Mutexes().Release(h);
    ovx::platform::Mutexes().Close(h);
  });
  other.join();
}

TEST_F(SystemTest, ConcurrentCommandsNeverOverlap) {
  std::mutex m;
  int inside = 0, most = 0;
  driver.SetObserver([&](const ovxsim::RequestRecord& r, bool begin) {
    if (r.code != IOCTL_REQUEST_COMMAND) return;
    std::lock_guard lock(m);
    inside += begin ? 1 : -1;
    most = std::max(most, inside);
  });
  driver.SetDelayAll(2);
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t)
    threads.emplace_back([] {
      auto sys = MakeSystemCtrl();
      for (int i = 0; i < 5; ++i) EXPECT_EQ(sys->SoftUpdate(), 0u);
    });
  for (auto& t : threads) t.join();
  driver.SetObserver(nullptr);
  EXPECT_EQ(driver.Count(IOCTL_REQUEST_COMMAND), 15u);
  EXPECT_EQ(most, 1);
}

TEST_F(SystemTest, SystemResetPausesThenRestartsAndFindsNoBoardKey) {
  registry.AddKey(
      L"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000");
  EXPECT_EQ(s->SystemReset(), 259u);
  EXPECT_EQ(sleeper.slept, std::vector<std::uint32_t>{10000});
  EXPECT_EQ(driver.Count(IOCTL_SYSTEM_RESET), 1u);
  EXPECT_FALSE(driver.Requests(IOCTL_SYSTEM_RESET)[0].hasInput);
  EXPECT_FALSE(driver.Requests(IOCTL_SYSTEM_RESET)[0].hasOutput);
}

TEST_F(SystemTest, FailedResetNeitherPausesNorRestarts) {
  ovx::ProcessState::Get().traceMask = 1;
  driver.Program(IOCTL_SYSTEM_RESET, Reply::Fail(1117));
  EXPECT_EQ(s->SystemReset(), 1117u);
  driver.Program(IOCTL_DEVICE_RESTART, Reply::CompleteWith(0xC0000010));
  EXPECT_EQ(s->DeviceRestart(), 0xC0000010u);
  EXPECT_TRUE(sleeper.slept.empty());
  EXPECT_EQ(debug.Lines(),
            (std::vector<std::wstring>{
                L"ERROR: [OvxCOM]: CSystemCtrl::SystemReset Reset device failed: Status = 0x0000045D\n",
                L"ERROR: [OvxCOM]: CSystemCtrl::DeviceRestart Reset device failed: Status = 0xC0000010\n"}));
}

TEST_F(SystemTest, DeviceRestartRestartsFlaggedInstancesAtOnce) {
  const std::wstring params =
      L"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_7E21&DEV_0B58&SUBSYS_00017E21&REV_01\\4&1A2B3C4D&0&"
      L"0018\\Device "
      L"Parameters";
  registry.SetDword(params, L"RestartFlag", 1);
  EXPECT_EQ(s->DeviceRestart(), 0u);
  EXPECT_TRUE(sleeper.slept.empty());
  EXPECT_EQ(setup.calls.size(), 3u);
  EXPECT_EQ(driver.OpenHandles(), 0u);  // the device was closed for the restart
}

// Power handler calls, shared with the plain handler functions.
struct PowerSeen {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::pair<int, std::int32_t>> calls;
  void Add(int who, std::int32_t v) {
    std::lock_guard lock(mutex);
    calls.emplace_back(who, v);
    changed.notify_all();
  }
  bool WaitFor(std::size_t n) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(10), [&] { return calls.size() >= n; });
  }
  std::vector<std::pair<int, std::int32_t>> Calls() {
    std::lock_guard lock(mutex);
    return calls;
  }
};
PowerSeen* g_power = nullptr;
void PowerA(std::int32_t v) { g_power->Add(1, v); }
void PowerB(std::int32_t v) { g_power->Add(2, v); }

class PowerTest : public SystemTest {
 protected:
  void SetUp() override {
    SystemTest::SetUp();
    g_power = &seen;
  }
  void TearDown() override {
    SystemTest::TearDown();
    g_power = nullptr;
  }
  PowerSeen seen;
};

TEST_F(PowerTest, EventsMapToHandlerArgumentsAndCodeOneEndsTheWatch) {
  ASSERT_EQ(s->RegisterHandlerForDetectPowerChange(PowerA), 0u);
  driver.PostPowerEvent(2);
  driver.PostPowerEvent(3);
  ASSERT_TRUE(seen.WaitFor(2));
  driver.PostPowerEvent(1);
  ASSERT_TRUE(ovx::PowerWatch::Get().WaitUntilEnded(10000));
  EXPECT_EQ(seen.Calls(), (std::vector<std::pair<int, std::int32_t>>{{1, 1}, {1, 2}}));
  EXPECT_FALSE(driver.Requests(IOCTL_WAIT_POWER_EVENT)[0].hasInput);
  EXPECT_EQ(driver.Requests(IOCTL_WAIT_POWER_EVENT)[0].outSize, 4u);

  // A new registration starts a new watch.
  ASSERT_EQ(s->RegisterHandlerForDetectPowerChange(PowerB), 0u);
  driver.PostPowerEvent(3);
  ASSERT_TRUE(seen.WaitFor(3));
  EXPECT_EQ(seen.Calls().back(), (std::pair<int, std::int32_t>{2, 2}));
}

TEST_F(PowerTest, SecondRegistrationIsAcceptedButNeverCalled) {
  ASSERT_EQ(s->RegisterHandlerForDetectPowerChange(PowerA), 0u);
  ovx::ProcessState::Get().traceMask = 2;
  auto other = MakeSystemCtrl();
  EXPECT_EQ(other->RegisterHandlerForDetectPowerChange(PowerB), 0u);
  EXPECT_EQ(debug.Matching(L"Handler is already registered").size(), 1u);
  driver.PostPowerEvent(2);
  ASSERT_TRUE(seen.WaitFor(1));
  EXPECT_EQ(seen.Calls(), (std::vector<std::pair<int, std::int32_t>>{{1, 1}}));
  // One watch only: after the handler it sends its next wait, the second in
  // all (two watches would have sent three by then).
  for (int i = 0; i < 2000 && driver.Count(IOCTL_WAIT_POWER_EVENT) < 2; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(driver.Count(IOCTL_WAIT_POWER_EVENT), 2u);
}

TEST_F(PowerTest, ReleasingTheRegisteringObjectKeepsTheWatchSound) {
  ASSERT_EQ(s->RegisterHandlerForDetectPowerChange(PowerA), 0u);
  s.reset();
  driver.PostPowerEvent(2);
  ASSERT_TRUE(seen.WaitFor(1));
  EXPECT_EQ(seen.Calls(), (std::vector<std::pair<int, std::int32_t>>{{1, 1}}));
}

TEST_F(PowerTest, FailedWaitEndsTheWatchAndBadInputIsRefused) {
  driver.Program(IOCTL_WAIT_POWER_EVENT, Reply::Fail(6));
  ASSERT_EQ(s->RegisterHandlerForDetectPowerChange(PowerA), 0u);
  ASSERT_TRUE(ovx::PowerWatch::Get().WaitUntilEnded(10000));
  EXPECT_EQ(s->RegisterHandlerForDetectPowerChange(nullptr), 87u);
  FailingThreads failing;
  ovx::platform::Install({nullptr, nullptr, nullptr, nullptr, nullptr, &failing, nullptr});
  EXPECT_EQ(s->RegisterHandlerForDetectPowerChange(PowerA), 8u);
  EXPECT_FALSE(ovx::PowerWatch::Get().Running());
  EXPECT_TRUE(seen.Calls().empty());
}

}  // namespace
}  // namespace ovxtest
