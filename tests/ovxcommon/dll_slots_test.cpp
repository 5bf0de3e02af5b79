// A client of ovxcommon.dll that knows nothing but the binary contract: its
// own declarations of the three interfaces in slot order, the DLL loaded by
// name and the factories found by their undecorated names.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "win_test_util.h"

namespace client {

#pragma pack(push, 1)
struct Record {
  std::uint32_t slot;
  wchar_t name[260];
};
#pragma pack(pop)
static_assert(sizeof(Record) == 524);

class DeviceUtil {
 public:
  virtual void Release() = 0;
  virtual std::uint32_t GetDeviceList(Record*) = 0;
  virtual std::uint32_t OpenDevice(const wchar_t*) = 0;
  virtual void CloseDevice() = 0;
  virtual std::int32_t SendIoControl(std::uint32_t, void*, std::uint32_t, void*, std::uint32_t,
                                     std::uint32_t*, std::uint32_t*, std::uint32_t) = 0;
  virtual std::int32_t GetDeviceIndex() = 0;

 protected:
  virtual ~DeviceUtil() = default;
};

using MessageHandler = void (*)(void*, std::uint32_t);
using PowerHandler = void (*)(std::int32_t);

class Generic {
 public:
  virtual void Release() = 0;
  virtual std::uint32_t GetMutex(HANDLE*, const wchar_t*, std::int32_t) = 0;
  virtual std::uint32_t GetDebugMask() = 0;
  virtual std::uint32_t RegisterHandler(std::uint32_t, std::uint32_t, std::uint32_t, MessageHandler) = 0;
  virtual std::uint32_t RemoveHandler(std::uint32_t) = 0;
  virtual std::uint32_t RequestCommand(void*, void*, std::uint32_t) = 0;
  virtual std::uint32_t Read32(std::uint64_t, std::uint32_t*) = 0;
  virtual std::uint32_t Write32(std::uint64_t, std::uint32_t) = 0;
  virtual std::uint32_t Read64(std::uint64_t, std::uint64_t*) = 0;
  virtual std::uint32_t Write64(std::uint64_t, std::uint64_t) = 0;
  virtual std::uint32_t ReadBlock(std::uint64_t, void*, std::uint32_t) = 0;
  virtual std::uint32_t WriteBlock(std::uint64_t, void*, std::uint32_t) = 0;
  virtual std::uint32_t ReadDma(std::uint64_t, void*, std::uint32_t) = 0;
  virtual std::uint32_t WriteDma(std::uint64_t, void*, std::uint32_t) = 0;
  virtual std::uint32_t ReadConfig(std::uint32_t, void*, std::uint32_t) = 0;
  virtual std::uint32_t WriteConfig(std::uint32_t, void*, std::uint32_t) = 0;

 protected:
  virtual ~Generic() = default;
};

class System {
 public:
  virtual void Release() = 0;
  virtual std::uint32_t ResetRequest() = 0;
  virtual std::uint32_t SystemReset() = 0;
  virtual std::uint32_t DeviceRestart() = 0;
  virtual std::uint32_t SoftUpdate() = 0;
  virtual std::uint32_t CheckDeviceState(std::uint32_t*, std::uint32_t) = 0;
  virtual std::uint32_t RegisterPowerHandler(PowerHandler) = 0;

 protected:
  virtual ~System() = default;
};

}  // namespace client

namespace {

int g_calls = 0;
void Message(void*, std::uint32_t) { ++g_calls; }
void Power(std::int32_t) { ++g_calls; }

class DllTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryW(L"ovxcommon.dll");
    ASSERT_NE(module, nullptr) << GetLastError();
  }
  template <class T>
  T* Make(const char* name) {
    auto factory = reinterpret_cast<T* (*)()>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    EXPECT_NE(factory, nullptr) << name;
    return factory != nullptr ? factory() : nullptr;
  }
  HMODULE module = nullptr;
};

TEST_F(DllTest, DecoratedNamesAreNotExported) {
  EXPECT_EQ(GetProcAddress(module, "_CreateDeviceUtilInstance"), nullptr);
  EXPECT_EQ(GetProcAddress(module, "_Z24CreateDeviceUtilInstancev"), nullptr);
}

TEST_F(DllTest, DeviceUtilSlots) {
  client::DeviceUtil* u = Make<client::DeviceUtil>("CreateDeviceUtilInstance");
  ASSERT_NE(u, nullptr);
  client::Record records[4];
  std::memset(records, 0xAB, sizeof records);
  ASSERT_EQ(u->GetDeviceList(records), 0u);  // the prefix registers one board interface
  EXPECT_STREQ(records[0].name, L"Capture Board 0");
  EXPECT_EQ(records[0].slot, 0u);
  EXPECT_EQ(records[1].slot, 0xABABABABu);
  EXPECT_EQ(u->OpenDevice(L"No such board"), 1200u);
  EXPECT_EQ(u->OpenDevice(L"Capture Board 0"), 2u);  // no driver behind the interface under Wine
  std::uint64_t address = 0x10;
  std::uint32_t value = 0, bytes = 5, status = 0;
  EXPECT_EQ(u->SendIoControl(0x221804, &address, 8, &value, 4, &bytes, &status, 5000), 0);
  EXPECT_EQ(status, 6u);
  EXPECT_EQ(u->GetDeviceIndex(), 0);
  u->CloseDevice();
  u->Release();
}

TEST_F(DllTest, GenericSlots) {
  client::Generic* g = Make<client::Generic>("CreateGenericfuncInstance");
  ASSERT_NE(g, nullptr);
  HANDLE h = nullptr;
  ASSERT_EQ(g->GetMutex(&h, L"DLLSLOTS", 1), 0u);
  ASSERT_NE(h, nullptr);
  const win32::UniqueKernelHandle owned(h);
  EXPECT_TRUE(ReleaseMutex(h));
  {
    ovxwin::RegistryLock lock;
    EXPECT_EQ(g->GetDebugMask(), ovxwin::GetDword(ovxwin::kParameters, L"DebugMask").value_or(0));
  }
  EXPECT_EQ(g->RegisterHandler(3, 4, 0, Message), 6u);  // no device open: the start fails
  EXPECT_EQ(g->RemoveHandler(3), 87u);
  std::uint8_t req[32] = {}, res[32] = {}, buf[16] = {};
  std::uint32_t v32 = 0;
  std::uint64_t v64 = 0;
  EXPECT_EQ(g->RequestCommand(req, res, 100), 6u);
  EXPECT_EQ(g->Read32(0x10, &v32), 6u);
  EXPECT_EQ(g->Read32(0, &v32), 87u);
  EXPECT_EQ(g->Write32(0x10, 1), 6u);
  EXPECT_EQ(g->Read64(0x10, &v64), 6u);
  EXPECT_EQ(g->Write64(0x10, 1), 6u);
  EXPECT_EQ(g->ReadBlock(0x10, buf, 16), 6u);
  EXPECT_EQ(g->WriteBlock(0x10, buf, 16), 6u);
  EXPECT_EQ(g->ReadDma(0x10, buf, 16), 6u);
  EXPECT_EQ(g->WriteDma(0x10, buf, 16), 6u);
  EXPECT_EQ(g->ReadConfig(0x10, buf, 16), 6u);
  EXPECT_EQ(g->WriteConfig(0x10, buf, 16), 6u);
  EXPECT_EQ(g->WriteConfig(0, buf, 16), 87u);
  g->Release();
}

TEST_F(DllTest, SystemSlots) {
  client::System* s = Make<client::System>("CreateSystemCtrlInstance");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ResetRequest(), 6u);
  EXPECT_EQ(s->SystemReset(), 6u);  // refused at once: no pause
  EXPECT_EQ(s->DeviceRestart(), 6u);
  EXPECT_EQ(s->SoftUpdate(), 6u);
  std::uint32_t state = 77;
  EXPECT_EQ(s->CheckDeviceState(&state, 10), 6u);
  EXPECT_EQ(state, 77u);
  EXPECT_EQ(s->CheckDeviceState(nullptr, 10), 87u);
  // The watch starts, its first wait fails at once (no device) and it ends.
  EXPECT_EQ(s->RegisterPowerHandler(Power), 0u);
  EXPECT_EQ(s->RegisterPowerHandler(nullptr), 87u);
  s->Release();
  EXPECT_EQ(g_calls, 0);
}

}  // namespace
