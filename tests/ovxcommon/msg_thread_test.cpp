#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <future>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>

#include "handler_table.h"
#include "ioctl.h"
#include "process_state.h"
#include "test_env.h"

namespace ovxtest {
namespace {

using namespace ovx::ioctl;
using ovxsim::Reply;

// What the handlers saw; handlers are plain functions, so this is shared.
struct Seen {
  std::mutex mutex;
  std::condition_variable changed;
  struct Call {
    int handler;
    std::thread::id thread;
    std::vector<std::uint8_t> message;
    std::uint32_t word;
  };
  std::vector<Call> calls;

  void Add(int handler, void* message, std::uint32_t word) {
    std::lock_guard lock(mutex);
    const auto* bytes = static_cast<const std::uint8_t*>(message);
    calls.push_back(
        {handler, std::this_thread::get_id(), std::vector<std::uint8_t>(bytes, bytes + 40), word});
    changed.notify_all();
  }
  bool WaitFor(std::size_t n) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(10), [&] { return calls.size() >= n; });
  }
  std::vector<Call> Calls() {
    std::lock_guard lock(mutex);
    return calls;
  }
};
Seen* g_seen = nullptr;
std::atomic<std::uint32_t> g_selfRemoval{0xFFFFFFFF};
void HandlerA(void* m, std::uint32_t w) { g_seen->Add(1, m, w); }
void HandlerB(void* m, std::uint32_t w) { g_seen->Add(2, m, w); }
// Removes its own module (id 11) from inside the handler.
void SelfRemover(void* m, std::uint32_t w) {
  g_selfRemoval = MakeGenericfunc()->generic_remove_handler(11);
  g_seen->Add(3, m, w);
}

std::vector<std::uint8_t> Message(std::uint8_t fill, std::uint32_t word) {
  std::vector<std::uint8_t> m(40, fill);
  std::memcpy(m.data() + 32, &word, 4);
  return m;
}

class MessageTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    g_seen = &seen;
    ASSERT_EQ(OpenBoard(), 0u);
    g = MakeGenericfunc();
  }
  void TearDown() override {
    LibraryTest::TearDown();
    g_seen = nullptr;
  }
  QueueControlRecord Control(std::size_t i) {
    QueueControlRecord r{};
    const auto sent = driver.Requests(IOCTL_MESSAGE_QUEUE_CONTROL).at(i);
    EXPECT_EQ(sent.input.size(), 16u);
    EXPECT_FALSE(sent.hasOutput);
    std::memcpy(&r, sent.input.data(), sizeof r);
    return r;
  }
  Seen seen;
  Owned<CExportGenericfunc> g;
};

TEST_F(MessageTest, HandlersGetTheMessageAndItsWordOnTheirOwnThreads) {
  ASSERT_EQ(g->generic_register_handler(5, 16, 2, HandlerA), 0u);
  ASSERT_EQ(g->generic_register_handler(6, 8, 0, HandlerB), 0u);
  const QueueControlRecord start = Control(0);
  EXPECT_EQ(start.ModuleID, 5u);
  EXPECT_EQ(start.MaxQueue, 16u);
  EXPECT_EQ(start.Mode, 2u);
  EXPECT_EQ(start.Enable, 1u);
  ASSERT_TRUE(driver.WaitForPending(IOCTL_GET_MESSAGE, 2, 10000));

  driver.PostMessage(5, Message(0x11, 0xDEADBEEF));
  driver.PostMessage(6, Message(0x22, 42));
  driver.PostMessage(5, Message(0x33, 7));
  ASSERT_TRUE(seen.WaitFor(3));
  const auto calls = seen.Calls();
  std::set<std::thread::id> threads;
  for (const auto& c : calls) {
    std::uint32_t word = 0;
    std::memcpy(&word, c.message.data() + 32, 4);
    EXPECT_EQ(c.word, word);
    EXPECT_EQ(c.message[0], c.handler == 1 ? (c.word == 7 ? 0x33 : 0x11) : 0x22);
    EXPECT_NE(c.thread, std::this_thread::get_id());
    threads.insert(c.thread);
  }
  EXPECT_EQ(threads.size(), 2u);
  // Module 5's messages arrive in order on one thread.
  std::vector<std::uint32_t> five;
  for (const auto& c : calls)
    if (c.handler == 1) five.push_back(c.word);
  EXPECT_EQ(five, (std::vector<std::uint32_t>{0xDEADBEEF, 7}));

  EXPECT_EQ(g->generic_remove_handler(5), 0u);
  EXPECT_EQ(g->generic_remove_handler(6), 0u);
  const QueueControlRecord stop = Control(2);
  EXPECT_EQ(stop.ModuleID, 5u);
  EXPECT_EQ(stop.MaxQueue, 0u);
  EXPECT_EQ(stop.Mode, 0u);
  EXPECT_EQ(stop.Enable, 0u);
  EXPECT_EQ(driver.PendingCount(), 0u);
}

TEST_F(MessageTest, RegisteringTwiceKeepsTheFirst) {
  ASSERT_EQ(g->generic_register_handler(5, 1, 1, HandlerA), 0u);
  EXPECT_EQ(g->generic_register_handler(5, 1, 1, HandlerB), 87u);
  EXPECT_EQ(driver.Count(IOCTL_MESSAGE_QUEUE_CONTROL), 1u);
  EXPECT_TRUE(driver.QueueEnabled(5));
  driver.PostMessage(5, Message(1, 1));
  ASSERT_TRUE(seen.WaitFor(1));
  EXPECT_EQ(seen.Calls()[0].handler, 1);
}

TEST_F(MessageTest, RemovingAnUnknownModuleOrANullHandler) {
  EXPECT_EQ(g->generic_remove_handler(9), 87u);
  EXPECT_EQ(g->generic_register_handler(9, 1, 1, nullptr), 87u);
  EXPECT_TRUE(driver.Requests().empty());
}

TEST_F(MessageTest, AModuleWithoutMessagesIsEndedByRemoval) {
  ASSERT_EQ(g->generic_register_handler(3, 1, 1, HandlerA), 0u);
  ASSERT_TRUE(driver.WaitForPending(IOCTL_GET_MESSAGE, 1, 10000));
  auto other = MakeGenericfunc();
  EXPECT_EQ(other->generic_remove_handler(3), 0u);  // any object of the process
  EXPECT_EQ(driver.PendingCount(), 0u);
  EXPECT_FALSE(driver.QueueEnabled(3));
  EXPECT_TRUE(seen.Calls().empty());
  EXPECT_EQ(g->generic_remove_handler(3), 87u);
}

TEST_F(MessageTest, RegistrationOutlivesTheRegisteringObject) {
  ASSERT_EQ(g->generic_register_handler(4, 1, 1, HandlerA), 0u);
  g.reset();
  driver.PostMessage(4, Message(9, 9));
  ASSERT_TRUE(seen.WaitFor(1));
  EXPECT_EQ(MakeGenericfunc()->generic_remove_handler(4), 0u);
}

TEST_F(MessageTest, FailedStartReturnsItsStatusAndLeavesNothing) {
  driver.Program(IOCTL_MESSAGE_QUEUE_CONTROL, Reply::CompleteWith(0xC0000001));
  EXPECT_EQ(g->generic_register_handler(2, 1, 1, HandlerA), 0xC0000001u);
  EXPECT_FALSE(ovx::HandlerTable::Get().Contains(2));
  EXPECT_EQ(driver.Count(IOCTL_GET_MESSAGE), 0u);
  EXPECT_EQ(g->generic_register_handler(2, 1, 1, HandlerA), 0u);  // and the id is free again
}

TEST_F(MessageTest, ReaderThatCannotStartGivesNotEnoughMemory) {
  FailingThreads failing;
  ovx::platform::Install({nullptr, nullptr, nullptr, nullptr, nullptr, &failing, nullptr});
  EXPECT_EQ(g->generic_register_handler(2, 1, 1, HandlerA), 8u);
  EXPECT_FALSE(ovx::HandlerTable::Get().Contains(2));
  EXPECT_EQ(driver.Count(IOCTL_MESSAGE_QUEUE_CONTROL), 1u);  // the queue is not stopped
}

TEST_F(MessageTest, FailedStopCommandStillEndsTheReader) {
  ASSERT_EQ(g->generic_register_handler(7, 1, 1, HandlerA), 0u);
  ASSERT_TRUE(driver.WaitForPending(IOCTL_GET_MESSAGE, 1, 10000));
  driver.Program(IOCTL_MESSAGE_QUEUE_CONTROL, Reply::Fail(1167));
  ovx::ProcessState::Get().traceMask = 1;
  EXPECT_EQ(g->generic_remove_handler(7), 1167u);
  EXPECT_FALSE(ovx::HandlerTable::Get().Contains(7));
  EXPECT_EQ(driver.PendingCount(), 0u);
  EXPECT_EQ(debug.Lines(),
            (std::vector<std::wstring>{
                L"ERROR: [OvxCOM]: CDeviceMsgCtrl::StopRun Send command failed: Status = 0x0000048F\n",
                L"ERROR: [OvxCOM]: CGenericfunc::generic_remove_handler Stop failed\n"}));
}

TEST_F(MessageTest, WithoutADeviceTheStartFails) {
  MakeDeviceUtil()->CloseDevice();
  EXPECT_EQ(g->generic_register_handler(1, 1, 1, HandlerA), 6u);
  EXPECT_FALSE(ovx::HandlerTable::Get().Contains(1));
}

TEST_F(MessageTest, ClosingTheDeviceUnderARunningReaderStillAllowsRemoval) {
  ASSERT_EQ(g->generic_register_handler(8, 1, 1, HandlerA), 0u);
  ASSERT_TRUE(driver.WaitForPending(IOCTL_GET_MESSAGE, 1, 10000));
  MakeDeviceUtil()->CloseDevice();  // the reader now fails at once, over and over
  EXPECT_EQ(g->generic_remove_handler(8), 6u);
  EXPECT_FALSE(ovx::HandlerTable::Get().Contains(8));
}

}  // namespace
}  // namespace ovxtest

namespace ovxtest {
namespace {

TEST_F(MessageTest, AHandlerRemovingItsOwnModuleNeitherHangsNorEndsTheProcess) {
  g_selfRemoval = 0xFFFFFFFF;
  ASSERT_EQ(g->generic_register_handler(11, 1, 1, SelfRemover), 0u);
  driver.PostMessage(11, Message(5, 5));
  ASSERT_TRUE(seen.WaitFor(1));
  EXPECT_EQ(g_selfRemoval.load(), 0u);
  EXPECT_FALSE(ovx::HandlerTable::Get().Contains(11));
  EXPECT_FALSE(driver.QueueEnabled(11));
  // The reader ends by itself: no request of module 11 stays pending.
  for (int i = 0; i < 1000 && driver.PendingCount() != 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(driver.PendingCount(), 0u);
  EXPECT_EQ(g->generic_remove_handler(11), 87u);
  ASSERT_EQ(g->generic_register_handler(11, 1, 1, HandlerA), 0u);  // the id is free again
}

TEST_F(MessageTest, ASucceedingStopStillEndsARequestTheDriverKeeps) {
  // A request the driver never completes, as one sent just after the queue
  // stopped would be.
  driver.SetDefault(IOCTL_GET_MESSAGE, Reply::Never());
  ASSERT_EQ(g->generic_register_handler(12, 1, 1, HandlerA), 0u);
  ASSERT_TRUE(driver.WaitForPending(IOCTL_GET_MESSAGE, 1, 10000));
  std::promise<std::uint32_t> removed;
  std::thread remover([&] { removed.set_value(MakeGenericfunc()->generic_remove_handler(12)); });
  std::future<std::uint32_t> result = removed.get_future();
  if (result.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    ADD_FAILURE() << "removal waits for a request nobody ends";
    std::_Exit(1);
  }
  remover.join();
  EXPECT_EQ(result.get(), 0u);
  EXPECT_EQ(driver.PendingCount(), 0u);
}

}  // namespace
}  // namespace ovxtest
