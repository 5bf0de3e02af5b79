// The library's logic on the real platform calls as Wine provides them.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "device_util.h"
#include "genericfunc.h"
#include "ioctl.h"
#include "process_state.h"
#include "reg_ctrl.h"
#include "send_request.h"
#include "win_test_util.h"

namespace {

const std::wstring kHwId = L"VEN_7E21&DEV_0B58&SUBSYS_00017E21&REV_01";

class Win32Test : public ::testing::Test {
 protected:
  void SetUp() override { ovx::ProcessState::Get().ResetForTesting(); }
  void TearDown() override {
    ovx::CDeviceUtil().CloseDevice();
    ovx::ProcessState::Get().ResetForTesting();
  }
};

TEST_F(Win32Test, RegistryHelpersSeeTheBoardInstallation) {
  std::vector<std::wstring> ids;
  EXPECT_EQ(ovx::CRegCtrl::SearchDeviceID(ids), 0u);
  EXPECT_EQ(ids, std::vector<std::wstring>{kHwId});
  ovx::InstanceTable table;
  EXPECT_EQ(ovx::CRegCtrl::MakeSubKeyList(L"SYSTEM\\CurrentControlSet\\Enum\\PCI\\" + kHwId, table), 259u);
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table.begin()->first, L"4&1A2B3C4D&0&0018");
  std::uint32_t v = 99;
  EXPECT_EQ(ovx::CRegCtrl::ReadRegData(L"SYSTEM\\NoSuchKey", L"X", &v, 4), 2u);
  EXPECT_EQ(ovx::CRegCtrl::ReadRegData(ovxwin::kParameters, L"NoSuchValue", &v, 4), 2u);
  EXPECT_EQ(v, 99u);
}

TEST_F(Win32Test, ReadRegDataCopiesAtMostTheDestination) {
  ovxwin::RegistryLock lock;
  win32::UniqueKey key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, ovxwin::kParameters, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            key.put(), nullptr),
            ERROR_SUCCESS);
  HKEY h = key.get();
  const std::uint64_t wide = 0x1122334455667788ull;
  ASSERT_EQ(RegSetValueExW(h, L"OvxTestQword", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&wide), 8), 0);
  std::uint32_t dest[2] = {0, 0xEEEEEEEE};
  EXPECT_EQ(ovx::CRegCtrl::ReadRegData(ovxwin::kParameters, L"OvxTestQword", dest, 4), 0u);
  EXPECT_EQ(dest[0], 0x55667788u);
  EXPECT_EQ(dest[1], 0xEEEEEEEEu);
  RegDeleteValueW(h, L"OvxTestQword");
}

TEST_F(Win32Test, EnumerationFindsTheBoardAndOpenFailsWithoutADriver) {
  ovx::CDeviceUtil util;
  DeviceListRecord records[4] = {};
  ASSERT_EQ(util.GetDeviceList(records), 0u);
  EXPECT_STREQ(records[0].DeviceName, L"Capture Board 0");
  EXPECT_EQ(records[0].SlotNumber, 0u);
  EXPECT_EQ(ovx::ProcessState::Get().DeviceCount(), 1u);
  EXPECT_EQ(util.OpenDevice(L"Capture Board 0"), 2u);
  EXPECT_EQ(ovx::ProcessState::Get().deviceHandle.load(), 0u);
}

TEST_F(Win32Test, PnPControlStopsAtTheLocateStepUnderWine) {
  ovxwin::RegistryLock lock;
  ovxwin::ScopedDword flag(ovxwin::kBoardParameters, L"RestartFlag");
  ovx::CDeviceUtil util;
  ASSERT_TRUE(flag.Set(0));
  EXPECT_EQ(util.PnPControl(), 0u);
  ASSERT_TRUE(flag.Set(std::nullopt));
  EXPECT_EQ(util.PnPControl(), 0u);  // no flag: skipped without error

  // With the flag set the device is closed first; the locate fails (0x13).
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring file = std::wstring(temp) + L"ovx-pnp-test.bin";
  const HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ovx::ProcessState::Get().deviceHandle = reinterpret_cast<ovx::DeviceHandle>(h);
  ASSERT_TRUE(flag.Set(1));
  EXPECT_EQ(util.PnPControl(), 0x13u);
  EXPECT_EQ(ovx::ProcessState::Get().deviceHandle.load(), 0u);
}

TEST_F(Win32Test, OverlappedRequestOnAHandleThatRefusesIt) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring file = std::wstring(temp) + L"ovx-transport-test.bin";
  const HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_FLAG_OVERLAPPED | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ovx::ProcessState::Get().deviceHandle = reinterpret_cast<ovx::DeviceHandle>(h);
  std::uint64_t address = 0x10;
  std::uint32_t value = 0;
  const ovx::RequestResult r =
      ovx::SendRequest(ovx::ioctl::IOCTL_READ32, &address, sizeof address, &value, sizeof value, 1000);
  EXPECT_NE(r.status, 0u);
  EXPECT_NE(r.status, 997u);
}

TEST_F(Win32Test, NamedMutexSerialisesAndAbandonedCountsAsObtained) {
  ovx::CGenericfunc first;
  OVX_HANDLE held = nullptr;
  ASSERT_EQ(first.GetMutex(&held, L"WINTEST", 3), 0u);
  const win32::UniqueKernelHandle heldOwner(held);
  std::atomic<bool> trying{false}, obtained{false}, released{false}, obtainedAfterRelease{false};
  std::thread other([&] {
    ovx::CGenericfunc second;
    OVX_HANDLE h = nullptr;
    trying = true;
    EXPECT_EQ(second.GetMutex(&h, L"WINTEST", 3), 0u);
    const win32::UniqueKernelHandle owned(h);
    obtainedAfterRelease = released.load();
    obtained = true;
    ReleaseMutex(h);
  });
  while (!trying) Sleep(1);
  // Time for a GetMutex that does not wait to come back; one that waits
  // can only come back after the release below.
  for (int i = 0; i < 200 && !obtained; ++i) Sleep(1);
  EXPECT_FALSE(obtained.load());
  released = true;
  ReleaseMutex(held);
  other.join();
  EXPECT_TRUE(obtainedAfterRelease.load());
  EXPECT_TRUE(obtained.load());

  std::thread quitter([] {
    ovx::CGenericfunc g;
    OVX_HANDLE h = nullptr;
    EXPECT_EQ(g.GetMutex(&h, L"WINTEST", 4), 0u);  // ends without releasing
  });
  quitter.join();
  OVX_HANDLE h = nullptr;
  EXPECT_EQ(first.GetMutex(&h, L"WINTEST", 4), 0u);
  const win32::UniqueKernelHandle owned(h);
  ReleaseMutex(h);
}

}  // namespace
