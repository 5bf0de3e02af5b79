// The session's firmware and driver checks and the About texts, against the
// simulated board and a fake device list.
#include <gtest/gtest.h>

#include "app/about/versions_about.h"
#include "capture/session/input_manager.h"
#include "capture/versions/versions.h"
#include "fake_device_install.h"
#include "ovxcapture_sim.h"
#include "session_fixture.h"

namespace capture {
namespace {
using app::AboutVersionTexts;
using app::CollectAboutVersionTexts;

using testing::BoardValues;
using testing::DisplayValues;
using testing::FakeDeviceInstallation;
using testing::kBoardKey;
using testing::kDisplayKey;

using Texts = std::vector<std::wstring>;

class VersionChecks : public testing::SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    OvxSim_ClearCalls();
  }

  int FirmwareResult(uint32_t versionNo) {
    OvxFirmwareInfo info{versionNo, 1, 2, 3, 4, 5, 6, 7};
    OvxSim_SetFirmware(&info);
    fakes.eventLog.texts.clear();
    return session->CheckFirmwareVersion();
  }

  int DriverResult(const std::wstring& version) {
    FakeDeviceInstallation install;
    install.AddDevice(kDisplayKey, DisplayValues());
    install.AddDevice(kBoardKey, BoardValues(version));
    ScopedDeviceInstallation scope(install);
    fakes.eventLog.texts.clear();
    return session->CheckDriverVersion();
  }
};

TEST_F(VersionChecks, FirmwareExamples) {
  EXPECT_EQ(FirmwareResult(0x10000000u), kVersionFits);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});
  EXPECT_EQ(FirmwareResult(0x1A12FF00u), kVersionFits);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});
  EXPECT_EQ(FirmwareResult(0x10000001u), kVersionNewer);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Firmware version is new."});
  EXPECT_EQ(FirmwareResult(0x0FFFFFFFu), kVersionOlder);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Firmware version is old."});
  EXPECT_EQ(FirmwareResult(0x20000000u), kVersionNewer);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Firmware version is new."});
}

TEST_F(VersionChecks, FirmwareCheckReadsPropertyOneOnce) {
  FirmwareResult(0x10000000u);
  ASSERT_EQ(OvxSim_CallCount(), 1u);
  OvxSimCall call{};
  ASSERT_TRUE(OvxSim_GetCall(0, &call));
  EXPECT_STREQ(call.function, "Ovx_DevGetProp");
  EXPECT_EQ(call.property_id, 1);
  EXPECT_EQ(call.device_slot, session->DeviceSlot());
}

TEST_F(VersionChecks, UnreadableFirmwareIsMinusOneWithOnlyTheStatusReported) {
  OvxSim_InjectStatus("Ovx_DevGetProp", 1, -9, 1, 1);
  EXPECT_EQ(session->CheckFirmwareVersion(), kVersionApiError);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Ovx_DevGetProp(-9)"});
}

TEST_F(VersionChecks, ClosedDeviceGivesNoVersionsAndMakesNoCalls) {
  session->CloseDevice();
  OvxSim_ClearCalls();
  OvxFirmwareInfo info{};
  EXPECT_FALSE(session->GetFirmwareInfo(info));
  uint32_t api = 77;
  EXPECT_FALSE(session->GetApiVersion(api));
  EXPECT_EQ(api, 77u);
  EXPECT_EQ(session->CheckFirmwareVersion(), kVersionApiError);
  EXPECT_EQ(OvxSim_CallCount(), 0u);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});
}

TEST_F(VersionChecks, GetFirmwareInfoGivesTheWholeRecord) {
  const OvxFirmwareInfo board{0x10020305u, 11, 12, 13, 14, 15, 16, 17};
  OvxSim_SetFirmware(&board);
  OvxFirmwareInfo info{};
  ASSERT_TRUE(session->GetFirmwareInfo(info));
  EXPECT_EQ(info.version_no, 0x10020305u);
  EXPECT_EQ(info.firminfo_1, 11u);
  EXPECT_EQ(info.firminfo_7, 17u);
}

TEST_F(VersionChecks, ApiVersionOnSuccessOnly) {
  OvxSim_SetApiVersion(0x10010203u);
  uint32_t value = 0;
  ASSERT_TRUE(session->GetApiVersion(value));
  EXPECT_EQ(value, 0x10010203u);
  OvxSim_InjectStatus("Ovx_DevGetProp", 2, -4, 1, 1);
  value = 55;
  EXPECT_FALSE(session->GetApiVersion(value));
  EXPECT_EQ(value, 55u);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Ovx_DevGetProp(-4)"});
}

TEST_F(VersionChecks, DriverExamples) {
  EXPECT_EQ(DriverResult(L"1.0.2.0"), kVersionFits);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});
  EXPECT_EQ(DriverResult(L"1.0.2.1"), kVersionNewer);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Driver version is new."});
  EXPECT_EQ(DriverResult(L"0.9.0.0"), kVersionOlder);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Driver version is old."});
  EXPECT_EQ(DriverResult(L"15.0.0.0"), kVersionApiError);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Driver version is API Error."});
  EXPECT_EQ(DriverResult(L"1.0.2"), kVersionApiError);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Driver version is API Error."});
  EXPECT_EQ(DriverResult(L"1.0.2.0.5"), kVersionApiError);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Driver version is API Error."});
  EXPECT_EQ(DriverResult(L"1..0.2.0"), kVersionFits);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});
  EXPECT_EQ(DriverResult(L"2.0.0.0"), kVersionNewer);
  EXPECT_EQ(DriverResult(L"1.3.77.0"), kVersionFits);
}

TEST_F(VersionChecks, DriverNotFound) {
  FakeDeviceInstallation install;
  install.AddDevice(kDisplayKey, DisplayValues());
  ScopedDeviceInstallation scope(install);
  EXPECT_EQ(session->CheckDriverVersion(), kVersionNotFound);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Driver not found."});
}

TEST_F(VersionChecks, LowerCaseMatchingIdStillMatches) {
  FakeDeviceInstallation install;
  install.AddDevice(kBoardKey, BoardValues(L"1.0.2.0", L"pci\\ven_7e21&dev_0b58"));
  ScopedDeviceInstallation scope(install);
  EXPECT_EQ(session->CheckDriverVersion(), kVersionFits);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});
}

TEST_F(VersionChecks, NoDeviceListIsAnApiError) {
  FakeDeviceInstallation install;
  install.listUnavailable = true;
  ScopedDeviceInstallation scope(install);
  EXPECT_EQ(session->CheckDriverVersion(), kVersionApiError);
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{L"Driver version is API Error."});
}

TEST_F(VersionChecks, DriverCheckNeedsNoDevice) {
  session->CloseDevice();
  OvxSim_ClearCalls();
  EXPECT_EQ(DriverResult(L"1.0.2.0"), kVersionFits);
  EXPECT_EQ(OvxSim_CallCount(), 0u);
}

TEST_F(VersionChecks, AboutTextsWithASession) {
  const OvxFirmwareInfo board{0x10020305u, 0, 0, 0, 0, 0, 0, 0};
  OvxSim_SetFirmware(&board);
  OvxSim_SetApiVersion(0x10010000u);
  FakeDeviceInstallation install;
  install.AddDevice(kBoardKey, BoardValues(L"1.0.2.0 (signed)"));
  ScopedDeviceInstallation scope(install);
  const AboutVersionTexts texts = CollectAboutVersionTexts(session);
  EXPECT_EQ(texts.driver, L"1.0.2.0 (signed)");  // raw, not reformatted
  EXPECT_EQ(texts.firmware, L"1.0.515.5");
  EXPECT_EQ(texts.api, L"1.0.256.0");
}

TEST_F(VersionChecks, AboutTextsThatCannotBeHadStayEmpty) {
  FakeDeviceInstallation install;
  install.AddDevice(kDisplayKey, DisplayValues());
  ScopedDeviceInstallation scope(install);
  OvxSim_InjectStatus("Ovx_DevGetProp", 1, -2, 1, 1);
  OvxSim_InjectStatus("Ovx_DevGetProp", 2, -3, 1, 1);
  const AboutVersionTexts texts = CollectAboutVersionTexts(session);
  EXPECT_EQ(texts.driver, L"");
  EXPECT_EQ(texts.firmware, L"");
  EXPECT_EQ(texts.api, L"");
  // The About box reports nothing of its own beyond the failed calls.
  EXPECT_EQ(fakes.eventLog.Texts(), (Texts{L"Ovx_DevGetProp(-2)", L"Ovx_DevGetProp(-3)"}));
}

TEST_F(VersionChecks, AboutTextsWithoutASessionAreAllEmpty) {
  FakeDeviceInstallation install;
  install.AddDevice(kBoardKey, BoardValues());
  ScopedDeviceInstallation scope(install);
  OvxSim_ClearCalls();
  const AboutVersionTexts texts = CollectAboutVersionTexts(nullptr);
  EXPECT_EQ(texts.driver, L"");  // installed, but there is no session
  EXPECT_EQ(texts.firmware, L"");
  EXPECT_EQ(texts.api, L"");
  EXPECT_EQ(OvxSim_CallCount(), 0u);
}

TEST_F(VersionChecks, AboutDriverTextOnlyWhenFoundWithText) {
  FakeDeviceInstallation install;
  install.listUnavailable = true;
  ScopedDeviceInstallation scope(install);
  EXPECT_EQ(CollectAboutVersionTexts(session).driver, L"");
  EXPECT_EQ(fakes.eventLog.Texts(), Texts{});  // the About box does not judge versions
}

}  // namespace
}  // namespace capture
