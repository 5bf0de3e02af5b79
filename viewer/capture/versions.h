#pragma once
// Versions of the board's firmware, capture API and kernel driver: 32-bit
// words packed as major (bits 31-28), minor (27-24), build (23-8) and
// revision (7-0).  This program fits versions of major 1, revision 0.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "capture/device_install.h"

namespace capture {

// Results of the version checks, as the frame keeps them.
enum VersionCheckResult : int {
  kVersionFits = 0,
  kVersionNewer = 1,
  kVersionOlder = 2,
  kVersionApiError = -1,  // firmware unreadable, driver version unreadable
  kVersionNotFound = -2,  // driver not found (also "not checked yet")
};

// The board's hardware id, as the driver's installation record matches it.
inline constexpr std::wstring_view kBoardHardwareId = L"PCI\\VEN_7E21&DEV_0B58";

// kVersionFits, kVersionNewer or kVersionOlder: (version & 0xF00000FF)
// against 0x10000000, unsigned.
int JudgeVersion(uint32_t version);

// "a.b.c.d" from the four fields.
std::wstring FormatVersion(uint32_t value);

// The driver's version text "a.b.c.d" with a and b at most 14, c at most
// 65534 and d at most 254.  Empty pieces between, before or after dots are
// skipped; exactly four pieces must remain.  Each piece counts by its
// leading ASCII digits only: "2x" is 2, and a piece without leading digits
// (a sign, a space, a letter, a non-ASCII digit) is 0.  Numbers too large
// for 32 bits fail the limits.  On failure `value` is left alone.
bool ParseVersionText(std::wstring_view text, uint32_t& value);

// Text of a REG_SZ as returned: up to the first NUL, or all of it when the
// terminator is missing; an odd last byte is dropped.
std::wstring RegSzText(const std::vector<uint8_t>& bytes);

// ASCII letters compare without case; everything else exactly.
bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);

// Walks the present devices for the one whose driver key holds a REG_SZ
// "MatchingDeviceId" equal to `hardwareId` (ignoring case) and gives its
// REG_SZ "DriverVersion" as it stands.  0 found with a non-empty text; 1 not
// found, or found without a usable version text; -1 for an empty hardware
// id or a device list that cannot be had.  Devices and values that do not
// fit their buffers, or are not REG_SZ, are passed over.
int FindDriverVersion(std::wstring_view hardwareId, std::wstring& text, DeviceInstallation& installation);
int FindDriverVersion(std::wstring_view hardwareId, std::wstring& text);

}  // namespace capture
