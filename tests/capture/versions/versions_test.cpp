// Version words, version texts and the driver lookup over a fake device list.
#include "capture/versions/versions.h"

#include <gtest/gtest.h>

#include "fake_device_install.h"
#include "views/own_version.h"

namespace capture {
namespace {
using views::kOwnLegalNotice;
using views::kOwnProductVersion;
using views::ReadOwnVersionText;
using views::VersionStringPath;

using testing::BoardValues;
using testing::DisplayValues;
using testing::FakeDeviceInstallation;
using testing::FakeValue;
using testing::kBoardKey;
using testing::kDisplayKey;
using testing::Sz;

TEST(JudgeVersion, MajorOneRevisionZeroFitsWhateverMinorAndBuild) {
  EXPECT_EQ(JudgeVersion(0x10000000u), kVersionFits);
  EXPECT_EQ(JudgeVersion(0x1A12FF00u), kVersionFits);
  EXPECT_EQ(JudgeVersion(0x1FFFFF00u), kVersionFits);
  EXPECT_EQ(JudgeVersion(0x10000001u), kVersionNewer);
  EXPECT_EQ(JudgeVersion(0x100000FFu), kVersionNewer);
  EXPECT_EQ(JudgeVersion(0x20000000u), kVersionNewer);
  EXPECT_EQ(JudgeVersion(0xF0000000u), kVersionNewer);  // compared unsigned
  EXPECT_EQ(JudgeVersion(0x0FFFFFFFu), kVersionOlder);
  EXPECT_EQ(JudgeVersion(0u), kVersionOlder);
}

TEST(FormatVersion, FourFieldsInDecimal) {
  EXPECT_EQ(FormatVersion(0x10020305u), L"1.0.515.5");
  EXPECT_EQ(FormatVersion(0x10000200u), L"1.0.2.0");
  EXPECT_EQ(FormatVersion(0u), L"0.0.0.0");
  EXPECT_EQ(FormatVersion(0xFFFFFFFFu), L"15.15.65535.255");
}

uint32_t Parsed(std::wstring_view text) {
  uint32_t value = 0xDEADBEEFu;
  return ParseVersionText(text, value) ? value : 0xDEADBEEFu;
}

bool Parses(std::wstring_view text) {
  uint32_t value = 0;
  return ParseVersionText(text, value);
}

TEST(ParseVersionText, FourDecimalPieces) {
  EXPECT_EQ(Parsed(L"1.0.2.0"), 0x10000200u);
  EXPECT_EQ(Parsed(L"1.0.2.1"), 0x10000201u);
  EXPECT_EQ(Parsed(L"0.9.0.0"), 0x09000000u);
  EXPECT_EQ(Parsed(L"14.14.65534.254"), 0xEEFFFEFEu);
  EXPECT_EQ(Parsed(L"1.0.515.5"), 0x10020305u);
  EXPECT_EQ(Parsed(L"001.000.002.000"), 0x10000200u);
}

TEST(ParseVersionText, LimitsAreStrict) {
  EXPECT_FALSE(Parses(L"15.0.0.0"));
  EXPECT_FALSE(Parses(L"0.15.0.0"));
  EXPECT_FALSE(Parses(L"0.0.65535.0"));
  EXPECT_FALSE(Parses(L"0.0.0.255"));
  EXPECT_TRUE(Parses(L"14.0.0.0"));
  EXPECT_TRUE(Parses(L"0.14.65534.254"));
}

TEST(ParseVersionText, PieceCount) {
  EXPECT_FALSE(Parses(L"1.0.2"));
  EXPECT_FALSE(Parses(L"1.0.2.0.5"));
  EXPECT_FALSE(Parses(L"1.0.2.0.0"));
  EXPECT_FALSE(Parses(L""));
  EXPECT_FALSE(Parses(L"...."));
  EXPECT_FALSE(Parses(L"1"));
  EXPECT_FALSE(Parses(L"1020"));
}

TEST(ParseVersionText, EmptyPiecesAreSkippedAnywhere) {
  EXPECT_EQ(Parsed(L"1..0.2.0"), 0x10000200u);
  EXPECT_EQ(Parsed(L".1.0.2.0"), 0x10000200u);
  EXPECT_EQ(Parsed(L"1.0.2.0."), 0x10000200u);
  EXPECT_EQ(Parsed(L"...1...0...2...0..."), 0x10000200u);
  EXPECT_FALSE(Parses(L".1.0.2.0.5."));
}

TEST(ParseVersionText, NumbersBeyondThirtyTwoBitsFail) {
  EXPECT_FALSE(Parses(L"4294967296.0.2.0"));            // 2^32
  EXPECT_FALSE(Parses(L"4294967297.0.0.0"));            // would wrap to 1
  EXPECT_FALSE(Parses(L"1.0.4294967298.0"));            // would wrap to 2
  EXPECT_FALSE(Parses(L"1.0.2.18446744073709551616"));  // 2^64
  EXPECT_FALSE(Parses(L"1.0.2.99999999999999999999999999999999"));
}

// Only leading ASCII digits count; a piece that starts with anything else is 0.
TEST(ParseVersionText, SignsSpacesAndLettersReadAsLeadingDigits) {
  EXPECT_EQ(Parsed(L"1a.0.2.0"), 0x10000200u);
  EXPECT_EQ(Parsed(L"1.0.2.0beta"), 0x10000200u);
  EXPECT_EQ(Parsed(L"1.0.2x7.0"), 0x10000200u);
  EXPECT_EQ(Parsed(L"-1.0.2.0"), 0x00000200u);  // a sign is no digit: 0
  EXPECT_EQ(Parsed(L"+1.0.2.0"), 0x00000200u);
  EXPECT_EQ(Parsed(L"1.0.2.-1"), 0x10000200u);
  EXPECT_EQ(Parsed(L" 1.0.2.0"), 0x00000200u);  // a leading space is no digit either
  EXPECT_EQ(Parsed(L"1.0.2.0 "), 0x10000200u);
  EXPECT_EQ(Parsed(L"1 .0.2.0"), 0x10000200u);
  EXPECT_EQ(Parsed(L"a.b.c.d"), 0x00000000u);
  EXPECT_FALSE(Parses(L"1 0 2 0"));  // one piece
}

TEST(ParseVersionText, NonAsciiCharacters) {
  EXPECT_EQ(Parsed(L"\xFF11.0.2.0"), 0x00000200u);  // a full-width digit is no ASCII digit
  EXPECT_EQ(Parsed(L"1.0.2.0\x00E9"), 0x10000200u);
  EXPECT_FALSE(
      Parses(L"1\x3002"
             L"0\x3002"
             L"2\x3002"
             L"0"));  // ideographic full stops do not split
  EXPECT_EQ(Parsed(L"1.\x00A0"
                   L"0.2.0"),
            0x10000200u);
}

TEST(ParseVersionText, VeryLongTexts) {
  std::wstring zeros(100000, L'0');
  EXPECT_EQ(Parsed(L"1.0.2." + zeros), 0x10000200u);
  EXPECT_FALSE(Parses(L"1.0.2." + zeros + L"1" + zeros));
  std::wstring dots(100000, L'.');
  EXPECT_EQ(Parsed(dots + L"1" + dots + L"0.2.0" + dots), 0x10000200u);
  std::wstring many;
  for (int i = 0; i < 20000; ++i) many += L"1.";
  EXPECT_FALSE(Parses(many));
}

TEST(ParseVersionText, FailureLeavesTheValueAlone) {
  uint32_t value = 0x12345678u;
  EXPECT_FALSE(ParseVersionText(L"15.0.0.0", value));
  EXPECT_FALSE(ParseVersionText(L"1.0.2", value));
  EXPECT_EQ(value, 0x12345678u);
}

TEST(RegSzText, StopsAtTheTerminatorOrTheEnd) {
  EXPECT_EQ(RegSzText(testing::Utf16Bytes(L"1.0.2.0")), L"1.0.2.0");
  EXPECT_EQ(RegSzText(testing::Utf16Bytes(L"1.0.2.0", false)), L"1.0.2.0");
  std::vector<uint8_t> odd = testing::Utf16Bytes(L"AB", false);
  odd.push_back('C');
  EXPECT_EQ(RegSzText(odd), L"AB");
  std::vector<uint8_t> embedded = testing::Utf16Bytes(L"1.0");
  const auto rest = testing::Utf16Bytes(L".2.0");
  embedded.insert(embedded.end(), rest.begin(), rest.end());
  EXPECT_EQ(RegSzText(embedded), L"1.0");
  EXPECT_EQ(RegSzText({}), L"");
  EXPECT_EQ(RegSzText({0x1B, 0x30}), L"\x301B");
}

TEST(EqualsIgnoringAsciiCase, OnlyAsciiLettersFold) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase(L"PCI\\VEN_7E21&DEV_0B58", L"pci\\ven_7e21&dev_0b58"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase(L"PCI\\VEN_7E21&DEV_0B58", L"PCI\\VEN_7E21&DEV_0B5"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase(L"[", L"{"));  // '[' + 32 is '{': not a letter
  EXPECT_FALSE(EqualsIgnoringAsciiCase(L"\x00C9", L"\x00E9"));
  EXPECT_TRUE(EqualsIgnoringAsciiCase(L"", L""));
}

class DriverLookup : public ::testing::Test {
 protected:
  int Find(std::wstring_view id = kBoardHardwareId) { return FindDriverVersion(id, text, install); }
  FakeDeviceInstallation install;
  std::wstring text = L"stale";
};

TEST_F(DriverLookup, FindsTheBoardAmongOtherDevices) {
  install.AddDevice(kDisplayKey, DisplayValues());
  install.AddDevice(kBoardKey, BoardValues());
  EXPECT_EQ(Find(), 0);
  EXPECT_EQ(text, L"1.0.2.0");
  EXPECT_EQ(install.opened, (std::vector<std::wstring>{kDisplayKey, kBoardKey}));
  EXPECT_EQ(install.listsClosed, 1);
}

TEST_F(DriverLookup, StopsAtTheFirstMatch) {
  install.AddDevice(kBoardKey, BoardValues());
  install.AddDevice(kDisplayKey, BoardValues(L"9.9.9.9"));
  EXPECT_EQ(Find(), 0);
  EXPECT_EQ(text, L"1.0.2.0");
  EXPECT_EQ(install.opened.size(), 1u);
}

TEST_F(DriverLookup, TheVersionTextIsGivenRaw) {
  install.AddDevice(kBoardKey, BoardValues(L" 1.0.2.0 (beta)"));
  EXPECT_EQ(Find(), 0);
  EXPECT_EQ(text, L" 1.0.2.0 (beta)");
}

TEST_F(DriverLookup, MatchingIdIgnoresCaseButNotOtherDifferences) {
  install.AddDevice(kBoardKey, BoardValues(L"1.0.2.0", L"pci\\ven_7e21&dev_0b58"));
  EXPECT_EQ(Find(), 0);
  EXPECT_EQ(text, L"1.0.2.0");

  FakeDeviceInstallation other;
  other.AddDevice(kBoardKey, BoardValues(L"1.0.2.0", L"PCI\\VEN_7E21&DEV_0B58&SUBSYS_00017E21"));
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text, other), 1);
  EXPECT_EQ(text, L"");
}

TEST_F(DriverLookup, NoMatchingDeviceIsNotFound) {
  install.AddDevice(kDisplayKey, DisplayValues());
  EXPECT_EQ(Find(), 1);
  EXPECT_EQ(text, L"");
  FakeDeviceInstallation empty;
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text, empty), 1);
}

TEST_F(DriverLookup, EmptyHardwareIdOrNoListIsAnError) {
  install.AddDevice(kBoardKey, BoardValues());
  EXPECT_EQ(Find(L""), -1);
  EXPECT_EQ(text, L"");
  EXPECT_EQ(install.listsOpened, 0);
  install.listUnavailable = true;
  text = L"stale";
  EXPECT_EQ(Find(), -1);
  EXPECT_EQ(text, L"");
}

TEST_F(DriverLookup, MatchWithoutVersionEndsTheWalkAsNotFound) {
  install.AddDevice(kBoardKey, {{L"MatchingDeviceId", Sz(L"PCI\\VEN_7E21&DEV_0B58")}});
  install.AddDevice(kDisplayKey, BoardValues(L"1.0.2.0"));
  EXPECT_EQ(Find(), 1);
  EXPECT_EQ(install.opened.size(), 1u);
  FakeDeviceInstallation emptyVersion;
  emptyVersion.AddDevice(kBoardKey, BoardValues(L""));
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text, emptyVersion), 1);
}

TEST_F(DriverLookup, ValuesThatAreNotRegSzAreIgnored) {
  std::vector<FakeValue> values = {
      {L"MatchingDeviceId", {7 /* REG_MULTI_SZ */, testing::Utf16Bytes(L"PCI\\VEN_7E21&DEV_0B58")}},
      {L"DriverVersion", Sz(L"1.0.2.0")}};
  install.AddDevice(kBoardKey, values);
  EXPECT_EQ(Find(), 1);

  FakeDeviceInstallation dword;
  dword.AddDevice(kBoardKey, {{L"MatchingDeviceId", Sz(L"PCI\\VEN_7E21&DEV_0B58")},
                              {L"DriverVersion", {4 /* REG_DWORD */, {0x00, 0x02, 0x00, 0x10}}}});
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text, dword), 1);

  FakeDeviceInstallation expand;
  expand.AddDevice(kBoardKey, {{L"MatchingDeviceId", Sz(L"PCI\\VEN_7E21&DEV_0B58")},
                               {L"DriverVersion", {2 /* REG_EXPAND_SZ */, testing::Utf16Bytes(L"1.0.2.0")}},
                               {L"DriverVersion", Sz(L"1.0.2.1")}});
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text, expand), 0);
  EXPECT_EQ(text, L"1.0.2.1");
}

TEST_F(DriverLookup, ValueNamesMatchExactly) {
  install.AddDevice(
      kBoardKey, {{L"matchingdeviceid", Sz(L"PCI\\VEN_7E21&DEV_0B58")}, {L"DriverVersion", Sz(L"1.0.2.0")}});
  EXPECT_EQ(Find(), 1);
}

TEST_F(DriverLookup, RegSzWithoutTerminatorIsReadToItsEnd) {
  install.AddDevice(kBoardKey, {{L"MatchingDeviceId", Sz(L"PCI\\VEN_7E21&DEV_0B58", false)},
                                {L"DriverVersion", Sz(L"1.0.2.0", false)}});
  EXPECT_EQ(Find(), 0);
  EXPECT_EQ(text, L"1.0.2.0");
}

TEST_F(DriverLookup, ValuesTooLongForTheBufferArePassedOver) {
  // 131 characters and the terminator are 264 bytes: more than the buffer.
  const std::wstring longText(131, L'9');
  install.AddDevice(kBoardKey, {{L"DriverDesc", Sz(longText)},
                                {L"MatchingDeviceId", Sz(L"PCI\\VEN_7E21&DEV_0B58")},
                                {std::wstring(300, L'N'), Sz(L"x")},
                                {L"DriverVersion", Sz(L"1.0.2.0")}});
  EXPECT_EQ(Find(), 0);
  EXPECT_EQ(text, L"1.0.2.0");

  // 129 characters and the terminator just fit.
  FakeDeviceInstallation fits;
  fits.AddDevice(kBoardKey, BoardValues(L"1.0.2.0" + std::wstring(122, L' ')));
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text, fits), 0);
  EXPECT_EQ(text.size(), 129u);

  FakeDeviceInstallation longVersion;
  longVersion.AddDevice(kBoardKey, BoardValues(L"1.0.2.0" + std::wstring(124, L' ')));
  EXPECT_EQ(FindDriverVersion(kBoardHardwareId, text, longVersion), 1);
  EXPECT_EQ(text, L"");
}

TEST_F(DriverLookup, DevicesWhoseDriverKeyCannotBeHadArePassedOver) {
  // A driver key name too long for its 260-byte buffer.
  install.devices.push_back({Sz(std::wstring(200, L'x'))});
  // Not a text.
  install.devices.push_back({{4, {1, 0, 0, 0}}});
  // An empty name would open the class root.
  install.devices.push_back({Sz(L"")});
  // The read fails.
  install.devices.push_back({Sz(kBoardKey), true});
  // A driver key that does not exist.
  install.devices.push_back({Sz(L"{00000000-0000-0000-0000-000000000000}\\0000")});
  install.AddDevice(kBoardKey, BoardValues());
  EXPECT_EQ(Find(), 0);
  EXPECT_EQ(text, L"1.0.2.0");
  EXPECT_EQ(install.opened,
            (std::vector<std::wstring>{L"{00000000-0000-0000-0000-000000000000}\\0000", kBoardKey}));
}

TEST_F(DriverLookup, DriverKeyNameWithoutTerminator) {
  install.devices.push_back({Sz(kBoardKey, false)});
  install.keys[kBoardKey] = BoardValues();
  EXPECT_EQ(Find(), 0);
}

TEST(VersionStringPath, BlockOfLanguageAndCodePage) {
  EXPECT_EQ(VersionStringPath(0x0411, 1200, kOwnProductVersion),
            L"\\StringFileInfo\\041104b0\\ProductVersion");
  EXPECT_EQ(VersionStringPath(0x0409, 1200, kOwnLegalNotice), L"\\StringFileInfo\\040904b0\\LegalCopyright");
  EXPECT_EQ(VersionStringPath(0xFFFF, 0xFFFF, 1), L"\\StringFileInfo\\ffffffff\\ProductVersion");
  EXPECT_EQ(VersionStringPath(0, 0, 2), L"\\StringFileInfo\\00000000\\LegalCopyright");
  EXPECT_EQ(VersionStringPath(0x0409, 1200, 0), L"");
  EXPECT_EQ(VersionStringPath(0x0409, 1200, 3), L"");
}

TEST(ReadOwnVersionText, UnknownKindFailsAndLeavesTheText) {
  std::wstring text = L"kept";
  EXPECT_FALSE(ReadOwnVersionText(0, text));
  EXPECT_FALSE(ReadOwnVersionText(3, text));
  EXPECT_EQ(text, L"kept");
}

}  // namespace
}  // namespace capture
