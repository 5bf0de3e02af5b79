// The version lookups through the real platform: SetupAPI and the registry
// of the test prefix (which holds the simulated board's driver
// installation), and this program's own version resource.  Read only.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/about/versions_about.h"
#include "capture/session/input_manager.h"
#include "capture/versions/versions.h"
#include "ovxcapture_sim.h"
#include "session_fixture.h"
#include "views/own_version.h"

namespace capture {
namespace {
using app::AboutVersionTexts;
using app::CollectAboutVersionTexts;
using views::kOwnLegalNotice;
using views::kOwnProductVersion;
using views::ReadOwnVersionText;
using views::VersionStringPath;

TEST(RealDriverLookup, FindsTheBoardsDriverVersion) {
  std::wstring text = L"stale";
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text, RealDeviceInstallation()), 0);
  EXPECT_EQ(text, L"1.0.2.0");
  // The seam in use is the real one unless a test replaced it.
  EXPECT_EQ(&DeviceInstallationInUse(), &RealDeviceInstallation());
}

TEST(RealDriverLookup, OtherIdsAreNotFound) {
  std::wstring text;
  EXPECT_EQ(FindDriverVersion(L"PCI\\VEN_7E21&DEV_0B59", text), 1);
  EXPECT_EQ(text, L"");
  EXPECT_EQ(FindDriverVersion(L"PCI\\VEN_7E21&DEV_0B58&SUBSYS_00017E21&REV_01", text), 1);
  EXPECT_EQ(FindDriverVersion(L"", text), -1);
}

TEST(RealDriverLookup, TheLookupCaseFoldsTheGivenId) {
  std::wstring text;
  EXPECT_EQ(FindDriverVersion(L"pci\\ven_7e21&dev_0b58", text), 0);
  EXPECT_EQ(text, L"1.0.2.0");
}

using RealSession = testing::SessionTest;

TEST_F(RealSession, DriverCheckJudgesTheInstalledDriver) {
  EXPECT_EQ(session->CheckDriverVersion(), kVersionFits);
  EXPECT_EQ(fakes.eventLog.Texts(), std::vector<std::wstring>{});
}

TEST_F(RealSession, AboutTexts) {
  const OvxFirmwareInfo firmware{0x10020305u, 0, 0, 0, 0, 0, 0, 0};
  OvxSim_SetFirmware(&firmware);
  OvxSim_SetApiVersion(0x10000100u);
  const AboutVersionTexts texts = CollectAboutVersionTexts(session);
  EXPECT_EQ(texts.driver, L"1.0.2.0");
  EXPECT_EQ(texts.firmware, L"1.0.515.5");
  EXPECT_EQ(texts.api, L"1.0.1.0");
}

TEST(OwnVersion, ProductVersionAndLegalNoticeFromTheResource) {
  std::wstring text;
  ASSERT_TRUE(ReadOwnVersionText(kOwnProductVersion, text));
  EXPECT_EQ(text, L"V1.00L11 M05");
  ASSERT_TRUE(ReadOwnVersionText(kOwnLegalNotice, text));
  EXPECT_EQ(text, L"Copyright (C) 2024 Velmora. All rights reserved.");
}

TEST(OwnVersion, UnknownKindLeavesTheText) {
  std::wstring text = L"kept";
  EXPECT_FALSE(ReadOwnVersionText(3, text));
  EXPECT_EQ(text, L"kept");
}

// The first translation names the block the strings are read from.
TEST(OwnVersion, ReadsTheBlockOfTheFirstTranslation) {
  wchar_t file[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, file, MAX_PATH), 0u);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(file, 0, size, info.data()));
  void* translation = nullptr;
  UINT bytes = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &translation, &bytes));
  ASSERT_GE(bytes, 4u);
  const auto* pair = static_cast<const WORD*>(translation);
  EXPECT_EQ(pair[0], 0x0409);
  EXPECT_EQ(pair[1], 1200);
  EXPECT_EQ(VersionStringPath(pair[0], pair[1], kOwnProductVersion),
            L"\\StringFileInfo\\040904b0\\ProductVersion");
}

}  // namespace
}  // namespace capture
