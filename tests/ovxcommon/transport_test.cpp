#include <gtest/gtest.h>

#include "ioctl.h"
#include "process_state.h"
#include "test_env.h"

namespace ovxtest {
namespace {

using ovx::ioctl::IOCTL_READ32;
using ovxsim::Reply;
using End = ovxsim::RequestRecord::End;

class TransportTest : public LibraryTest {
 protected:
  std::int32_t Send(CExportDeviceUtil& util, std::uint32_t timeout, std::uint32_t* status,
                    std::uint32_t* bytes, std::uint32_t* out) {
    std::uint64_t address = 0x40;
    return util.SendIoControl(IOCTL_READ32, &address, sizeof address, out, 4, bytes, status, timeout);
  }
};

TEST_F(TransportTest, NothingIsSentBeforeOpenDevice) {
  auto util = MakeDeviceUtil();
  std::uint32_t status = 0, bytes = 99, out = 0;
  EXPECT_EQ(Send(*util, 5000, &status, &bytes, &out), 0);
  EXPECT_EQ(status, 6u);
  EXPECT_TRUE(driver.Requests().empty());
}

TEST_F(TransportTest, ImmediateSuccessAndImmediateFailure) {
  ASSERT_EQ(OpenBoard(), 0u);
  auto util = MakeDeviceUtil();
  driver.WriteMemory(0x40, {0x78, 0x56, 0x34, 0x12});
  std::uint32_t status = 99, bytes = 0, out = 0;
  EXPECT_EQ(Send(*util, 5000, &status, &bytes, &out), 1);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(bytes, 4u);
  EXPECT_EQ(out, 0x12345678u);

  driver.Program(IOCTL_READ32, Reply::Fail(31));
  EXPECT_EQ(Send(*util, 5000, &status, &bytes, &out), 0);
  EXPECT_EQ(status, 31u);
}

TEST_F(TransportTest, PendingPastItsLimitIsCancelledAndHasEndedOnReturn) {
  ASSERT_EQ(OpenBoard(), 0u);
  auto util = MakeDeviceUtil();
  driver.Program(IOCTL_READ32, Reply::Never());
  std::uint32_t status = 0, bytes = 0, out = 0;
  EXPECT_EQ(Send(*util, 20, &status, &bytes, &out), 0);
  EXPECT_EQ(status, 1460u);
  const auto sent = driver.Requests(IOCTL_READ32);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].end, End::Cancelled);
  EXPECT_EQ(sent[0].waitMs, 20u);
  EXPECT_EQ(driver.PendingCount(), 0u);
}

TEST_F(TransportTest, LaterCompletionWithinTheLimitDeliversItsData) {
  ASSERT_EQ(OpenBoard(), 0u);
  auto util = MakeDeviceUtil();
  driver.WriteMemory(0x40, {1, 0, 0, 0});
  driver.Program(IOCTL_READ32, Reply::Later(5));
  std::uint32_t status = 99, bytes = 0, out = 0;
  EXPECT_EQ(Send(*util, 0xFFFFFFFF, &status, &bytes, &out), 1);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(bytes, 4u);
  EXPECT_EQ(out, 1u);
}

TEST_F(TransportTest, DriverFailureStatusComesBackUnchanged) {
  ASSERT_EQ(OpenBoard(), 0u);
  auto util = MakeDeviceUtil();
  driver.Program(IOCTL_READ32, Reply::CompleteWith(0xC0000185));
  std::uint32_t status = 0, bytes = 0, out = 0;
  EXPECT_EQ(Send(*util, 5000, &status, &bytes, &out), 0);
  EXPECT_EQ(status, 0xC0000185u);
}

TEST_F(TransportTest, NoEventMeansNothingSentAndThePlatformError) {
  ASSERT_EQ(OpenBoard(), 0u);
  auto util = MakeDeviceUtil();
  driver.FailNextEvent(1450);
  std::uint32_t status = 0, bytes = 0, out = 0;
  EXPECT_EQ(Send(*util, 5000, &status, &bytes, &out), 0);
  EXPECT_EQ(status, 1450u);
  EXPECT_TRUE(driver.Requests().empty());
}

TEST_F(TransportTest, OneOpenDeviceServesEveryObjectAndAnyObjectClosesIt) {
  ASSERT_EQ(OpenBoard(), 0u);
  auto first = MakeDeviceUtil();
  auto other = MakeGenericfunc();
  std::uint32_t value = 0;
  EXPECT_EQ(other->generic_read32(0x40, &value), 0u);
  first->CloseDevice();
  EXPECT_EQ(driver.OpenHandles(), 0u);
  EXPECT_EQ(other->generic_read32(0x40, &value), 6u);
  EXPECT_EQ(driver.Count(IOCTL_READ32), 1u);
}

}  // namespace
}  // namespace ovxtest
