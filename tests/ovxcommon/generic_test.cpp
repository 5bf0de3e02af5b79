#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <type_traits>

#include "genericfunc.h"
#include "ioctl.h"
#include "process_state.h"
#include "test_env.h"

namespace ovxtest {
namespace {

using namespace ovx::ioctl;
using ovxsim::Reply;

std::vector<std::uint8_t> Bytes(const void* p, std::size_t n) {
  return std::vector<std::uint8_t>(static_cast<const std::uint8_t*>(p),
                                   static_cast<const std::uint8_t*>(p) + n);
}

class GenericTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    ASSERT_EQ(OpenBoard(), 0u);
    g = MakeGenericfunc();
  }
  Owned<CExportGenericfunc> g;
};

// A transport that runs out of memory making its operation.
class ExhaustedTransport final : public ovx::IDeviceTransport {
 public:
  ovx::OpenResult Open(const std::wstring&) override { return {ovx::DeviceOwner(), 2}; }
  void Close(ovx::DeviceHandle) override {}
  std::uint32_t NewOperation(ovx::DeviceHandle, std::unique_ptr<ovx::IIoOperation>*) override {
    throw std::bad_alloc();
  }
};

TEST_F(GenericTest, NoExceptionReachesTheClientAndObjectsAreNotDeletable) {
  ExhaustedTransport exhausted;
  ovx::platform::Install({nullptr, nullptr, &exhausted, nullptr, nullptr, nullptr, nullptr});
  std::uint32_t v32 = 0;
  EXPECT_EQ(g->generic_read32(0x10, &v32), 8u);
  EXPECT_EQ(g->generic_write_dma(0x10, &v32, 4), 8u);
  std::uint32_t bytes = 1;
  std::uint32_t status = 0;
  EXPECT_EQ(MakeDeviceUtil()->SendIoControl(IOCTL_READ32, nullptr, 0, nullptr, 0, &bytes, &status, 100), 0);
  EXPECT_EQ(status, 8u);
  EXPECT_EQ(bytes, 0u);
  EXPECT_EQ(MakeSystemCtrl()->SoftUpdate(), 8u);
  // Release is the only way to dispose of an object.
  EXPECT_FALSE(std::is_destructible_v<CExportDeviceUtil>);
  EXPECT_FALSE(std::is_destructible_v<CExportGenericfunc>);
  EXPECT_FALSE(std::is_destructible_v<CExportSystemCtrl>);
}

TEST_F(GenericTest, MissingArgumentsAreRefusedAndNothingIsSent) {
  std::uint8_t buf[16] = {};
  std::uint32_t v32 = 0;
  std::uint64_t v64 = 0;
  EXPECT_EQ(g->generic_read32(0, &v32), 87u);
  EXPECT_EQ(g->generic_read32(0x10, nullptr), 87u);
  EXPECT_EQ(g->generic_write32(0, 1), 87u);
  EXPECT_EQ(g->generic_read64(0, &v64), 87u);
  EXPECT_EQ(g->generic_read64(0x10, nullptr), 87u);
  EXPECT_EQ(g->generic_write64(0, 1), 87u);
  for (auto op : {&CExportGenericfunc::generic_read_block, &CExportGenericfunc::generic_write_block,
                  &CExportGenericfunc::generic_read_dma, &CExportGenericfunc::generic_write_dma}) {
    EXPECT_EQ(((*g).*op)(0, buf, 4), 87u);
    EXPECT_EQ(((*g).*op)(0x10, nullptr, 4), 87u);
    EXPECT_EQ(((*g).*op)(0x10, buf, 0), 87u);
  }
  for (auto op : {&CExportGenericfunc::generic_read_config, &CExportGenericfunc::generic_write_config}) {
    EXPECT_EQ(((*g).*op)(0, buf, 4), 87u);
    EXPECT_EQ(((*g).*op)(4, nullptr, 4), 87u);
    EXPECT_EQ(((*g).*op)(4, buf, 0), 87u);
  }
  EXPECT_EQ(g->generic_request_command(nullptr, buf, 100), 87u);
  EXPECT_EQ(g->generic_request_command(buf, nullptr, 100), 87u);
  EXPECT_TRUE(driver.Requests().empty());
}

TEST_F(GenericTest, RegistersRoundTripWithTheirRecords) {
  EXPECT_EQ(g->generic_write32(0x1000, 0xCAFEBABE), 0u);
  std::uint32_t v32 = 0;
  EXPECT_EQ(g->generic_read32(0x1000, &v32), 0u);
  EXPECT_EQ(v32, 0xCAFEBABEu);
  EXPECT_EQ(g->generic_write64(0x2000, 0x0123456789ABCDEFull), 0u);
  std::uint64_t v64 = 0;
  EXPECT_EQ(g->generic_read64(0x2000, &v64), 0u);
  EXPECT_EQ(v64, 0x0123456789ABCDEFull);

  const auto w32 = driver.Requests(IOCTL_WRITE32).at(0);
  const Write32Record r32{0x1000, 0xCAFEBABE};
  EXPECT_EQ(w32.input, Bytes(&r32, 12));
  EXPECT_FALSE(w32.hasOutput);
  const auto rd = driver.Requests(IOCTL_READ32).at(0);
  EXPECT_EQ(rd.input.size(), 8u);
  EXPECT_EQ(rd.outSize, 4u);
  EXPECT_EQ(driver.Requests(IOCTL_WRITE64).at(0).input.size(), 16u);
}

TEST_F(GenericTest, TransportStatusesComeBackUnchanged) {
  std::uint32_t v = 0;
  driver.Program(IOCTL_READ32, Reply::CompleteWith(0xC000009D));
  EXPECT_EQ(g->generic_read32(0x10, &v), 0xC000009Du);
  driver.Program(IOCTL_WRITE32, Reply::Fail(1167));
  EXPECT_EQ(g->generic_write32(0x10, 1), 1167u);
  auto util = MakeDeviceUtil();
  util->CloseDevice();
  EXPECT_EQ(g->generic_read32(0x10, &v), 6u);
}

TEST_F(GenericTest, ShortAndLongReadsAreInvalidData) {
  std::uint32_t v = 0;
  driver.Program(IOCTL_READ32, Reply::AtOnce().WithBytes(2));
  EXPECT_EQ(g->generic_read32(0x10, &v), 13u);
  std::uint64_t v64 = 0;
  driver.Program(IOCTL_READ64, Reply::Later(0).WithBytes(12));
  EXPECT_EQ(g->generic_read64(0x10, &v64), 13u);
  std::uint8_t buf[32] = {};
  driver.Program(IOCTL_READ_BLOCK, Reply::AtOnce().WithBytes(31));
  EXPECT_EQ(g->generic_read_block(0x10, buf, 32), 13u);
  driver.Program(IOCTL_READ_CONFIG, Reply::AtOnce().WithBytes(33));
  EXPECT_EQ(g->generic_read_config(0x10, buf, 32), 13u);
  driver.Program(IOCTL_DMA_READ, Reply::AtOnce().WithBytes(0));
  EXPECT_EQ(g->generic_read_dma(0x10, buf, 32), 13u);
  std::uint8_t req[32] = {}, res[32] = {};
  driver.Program(IOCTL_REQUEST_COMMAND, Reply::AtOnce().WithBytes(16));
  EXPECT_EQ(g->generic_request_command(req, res, 1000), 13u);
  EXPECT_EQ(g->generic_read_block(0x10, buf, 32), 0u);  // the right size passes
}

TEST_F(GenericTest, BlocksCarryRecordAndData) {
  std::uint8_t data[5] = {9, 8, 7, 6, 5};
  EXPECT_EQ(g->generic_write_block(0x300, data, 5), 0u);
  const auto w = driver.Requests(IOCTL_WRITE_BLOCK).at(0);
  BlockRecord rec{0x300, 5};
  std::vector<std::uint8_t> expected = Bytes(&rec, 12);
  expected.insert(expected.end(), data, data + 5);
  EXPECT_EQ(w.input, expected);
  std::uint8_t back[5] = {};
  EXPECT_EQ(g->generic_read_block(0x300, back, 5), 0u);
  EXPECT_EQ(Bytes(back, 5), Bytes(data, 5));
  EXPECT_EQ(driver.Requests(IOCTL_READ_BLOCK).at(0).input, Bytes(&rec, 12));

  EXPECT_EQ(g->generic_write_config(0x40, data, 5), 0u);
  ConfigRecord crec{0x40, 5};
  expected = Bytes(&crec, 8);
  expected.insert(expected.end(), data, data + 5);
  EXPECT_EQ(driver.Requests(IOCTL_WRITE_CONFIG).at(0).input, expected);
  EXPECT_EQ(driver.ReadConfig(0x40, 5), Bytes(data, 5));
  std::uint8_t cback[5] = {};
  EXPECT_EQ(g->generic_read_config(0x40, cback, 5), 0u);
  EXPECT_EQ(Bytes(cback, 5), Bytes(data, 5));
}

TEST_F(GenericTest, OversizedWriteIsRefusedWithoutSending) {
  std::uint8_t one = 1;
  EXPECT_EQ(g->generic_write_block(0x10, &one, 0xFFFFFFFFu), 8u);
  EXPECT_EQ(g->generic_write_config(0x10, &one, 0xFFFFFFFAu), 8u);
  EXPECT_TRUE(driver.Requests(IOCTL_WRITE_BLOCK).empty());
  EXPECT_TRUE(driver.Requests(IOCTL_WRITE_CONFIG).empty());
}

TEST_F(GenericTest, DmaIsTwoStepsAndStopsAfterAFailedFirst) {
  std::uint8_t data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  driver.Program(IOCTL_SET_DMA_READ, Reply::Fail(31));
  EXPECT_EQ(g->generic_read_dma(0x5000, data, 8), 31u);
  EXPECT_EQ(driver.Count(IOCTL_DMA_READ), 0u);
  driver.Program(IOCTL_SET_DMA_WRITE, Reply::CompleteWith(0xC0000001));
  EXPECT_EQ(g->generic_write_dma(0x5000, data, 8), 0xC0000001u);
  EXPECT_EQ(driver.Count(IOCTL_DMA_WRITE), 0u);

  EXPECT_EQ(g->generic_write_dma(0x5000, data, 8), 0u);
  const auto w = driver.Requests(IOCTL_DMA_WRITE).at(0);
  EXPECT_EQ(w.input, Bytes(data, 8));
  EXPECT_FALSE(w.hasOutput);
  std::uint8_t back[8] = {};
  EXPECT_EQ(g->generic_read_dma(0x5000, back, 8), 0u);
  EXPECT_EQ(Bytes(back, 8), Bytes(data, 8));
  const auto r = driver.Requests(IOCTL_DMA_READ).at(0);
  EXPECT_FALSE(r.hasInput);
  EXPECT_TRUE(r.hasOutput);
  EXPECT_EQ(r.outSize, 8u);
  const AddressRecord a{0x5000};
  EXPECT_EQ(driver.Requests(IOCTL_SET_DMA_READ).back().input, Bytes(&a, 8));
}

TEST_F(GenericTest, DataPhaseUsesTheDmaTimeOut) {
  ovx::ProcessState::Get().dmaTimeoutMs = 1234;
  std::uint8_t data[4] = {};
  driver.Program(IOCTL_SET_DMA_READ, Reply::Later(0));
  driver.Program(IOCTL_DMA_READ, Reply::Later(0));
  EXPECT_EQ(g->generic_read_dma(0x10, data, 4), 0u);
  EXPECT_EQ(driver.Requests(IOCTL_SET_DMA_READ).back().waitMs, 5000u);
  EXPECT_EQ(driver.Requests(IOCTL_DMA_READ).back().waitMs, 1234u);
}

TEST_F(GenericTest, RequestCommandPassesRecordsAndItsLimit) {
  CommandRequest req{};
  req.Command = 3;
  CommandResponse res{};
  driver.SetDeviceState(0x55);
  driver.Program(IOCTL_REQUEST_COMMAND, Reply::Later(0));
  EXPECT_EQ(g->generic_request_command(&req, &res, 777), 0u);
  EXPECT_EQ(res.DeviceState, 0x55u);
  const auto sent = driver.Requests(IOCTL_REQUEST_COMMAND).at(0);
  EXPECT_EQ(sent.input, Bytes(&req, 32));
  EXPECT_EQ(sent.outSize, 32u);
  EXPECT_EQ(sent.waitMs, 777u);
  driver.Program(IOCTL_REQUEST_COMMAND, Reply::Never());
  EXPECT_EQ(g->generic_request_command(&req, &res, 10), 1460u);
}

TEST_F(GenericTest, TracesEntryFailureAndExit) {
  ovx::ProcessState::Get().traceMask = 3;
  std::uint32_t v = 0;
  driver.Program(IOCTL_READ32, Reply::AtOnce().WithBytes(3));
  EXPECT_EQ(g->generic_read32(0xABCDEF0123ull, nullptr), 87u);
  EXPECT_EQ(g->generic_read32(0xABCDEF0123ull, &v), 13u);
  const std::wstring i = L"INFO : [OvxCOM]: CGenericfunc::generic_read32 ";
  const std::wstring e = L"ERROR: [OvxCOM]: CGenericfunc::generic_read32 ";
  const auto lines = debug.Matching(L"generic_read32");
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], i + L"++ DevAddr: 0xABCDEF0123 pData: 0x0000000000000000\n");
  EXPECT_EQ(lines[1], e + L"Invalid Parameter\n");
  EXPECT_EQ(lines[2], i + L"-- Status = 0x00000057\n");
  EXPECT_EQ(lines[4], e + L"Read 32bit failed: Read size is invalid: 3\n");
  EXPECT_EQ(lines[5], i + L"-- Status = 0x0000000D\n");
  debug.Clear();
  std::uint8_t buf[4] = {};
  driver.Program(IOCTL_READ_CONFIG, Reply::Fail(5));
  EXPECT_EQ(g->generic_read_config(0x10, buf, 4), 5u);
  EXPECT_EQ(debug.Matching(L"ERROR").at(0),
            L"ERROR: [OvxCOM]: CGenericfunc::generic_read_config Read block failed: Status = 0x00000005\n");
}

TEST_F(GenericTest, MutexNamesFollowTheDeviceIndex) {
  EXPECT_EQ(ovx::MutexName(0, L"SYSCTRL", 0), L"DEV0_MUTEXSYSCTRL0");
  EXPECT_EQ(ovx::MutexName(3, L"X", -2), L"DEV3_MUTEXX-2");
  EXPECT_EQ(ovx::MutexName(1, std::wstring(300, L't').c_str(), 7).size(), 99u);

  ovx::ProcessState::Get().traceMask = 2;
  OVX_HANDLE h = nullptr;
  EXPECT_EQ(g->GetMutex(&h, L"SYSCTRL", 0), 0u);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(debug.Lines(),
            (std::vector<std::wstring>{
                L"INFO : [OvxCOM]: CGenericfunc::GetMutex Try to get mutex: DEV0_MUTEXSYSCTRL0\n",
                L"INFO : [OvxCOM]: CGenericfunc::GetMutex Success to get mutex: DEV0_MUTEXSYSCTRL0\n"}));
  ovx::platform::Mutexes().Release(h);
  ovx::platform::Mutexes().Close(h);
  EXPECT_EQ(g->GetMutex(nullptr, L"SYSCTRL", 0), 87u);
}

}  // namespace
}  // namespace ovxtest
