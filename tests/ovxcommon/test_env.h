// The fixture of the native library tests: fakes behind every seam, the
// simulated driver as transport, a fresh process state.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fakes.h"
#include "ovxcommon.h"
#include "sim_driver.h"

namespace ovxtest {

inline const std::wstring kBoardPath =
    L"\\\\?\\pci#ven_7e21&dev_0b58&subsys_00017e21&rev_01#4&1a2b3c4d&0&0018#board";

struct ReleaseObject {
  template <class T>
  void operator()(T* p) const {
    if (p != nullptr) p->Release();
  }
};
template <class T>
using Owned = std::unique_ptr<T, ReleaseObject>;

Owned<CExportDeviceUtil> MakeDeviceUtil();
Owned<CExportGenericfunc> MakeGenericfunc();
Owned<CExportSystemCtrl> MakeSystemCtrl();

std::wstring RecordName(const DeviceListRecord& record);

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // One board in the device set, listed and opened; returns the open status.
  std::uint32_t OpenBoard();
  // Sets "DebugMask" and runs the library's load again.
  void Load(std::optional<std::uint32_t> debugMask, std::optional<std::uint32_t> dmaTimeout = std::nullopt);

  FakeRegistry registry;
  FakeDebugOutput debug;
  FakeDeviceSetup setup;
  CountingSleeper sleeper;
  ovxsim::SimDriver driver;
};

}  // namespace ovxtest
