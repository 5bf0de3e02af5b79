#pragma once
// Versions of the board's firmware, capture API and kernel driver: 32-bit
// words packed as major (bits 31-28), minor (27-24), build (23-8) and
// revision (7-0).  This program fits versions of major 1, revision 0.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "capture/result_codes.h"
#include "capture/versions/device_install.h"

namespace capture {

// What the walk for the driver's version text found.
enum DriverLookup : int32_t {
  kDriverFound = 0,
  kDriverNotFound = 1,          // or found without a usable version text
  kDriverListUnavailable = -1,  // empty hardware id, or no device list
};

// The board's hardware id, as the driver's installation record matches it.
inline constexpr std::wstring_view kBoardHardwareId = L"PCI\\VEN_7E21&DEV_0B58";

// kVersionFits, kVersionNewer or kVersionOlder: (version & 0xF00000FF)
// against 0x10000000, unsigned.
[[nodiscard]] VersionCheckResult JudgeVersion(uint32_t version);

// "a.b.c.d" from the four fields.
[[nodiscard]] std::wstring FormatVersion(uint32_t value);

// The driver's version text "a.b.c.d" with a and b at most 14, c at most
// 65534 and d at most 254.  Empty pieces between, before or after dots are
// skipped; exactly four pieces must remain.  Each piece counts by its
// leading ASCII digits only: "2x" is 2, and a piece without leading digits
// (a sign, a space, a letter, a non-ASCII digit) is 0.  Numbers too large
// for 32 bits fail the limits.  On failure `value` is left alone.
[[nodiscard]] bool ParseVersionText(std::wstring_view text, uint32_t& value);

// Text of a REG_SZ as returned: up to the first NUL, or all of it when the
// terminator is missing; an odd last byte is dropped.
[[nodiscard]] std::wstring RegSzText(const std::vector<uint8_t>& bytes);

// ASCII letters compare without case; everything else exactly.
[[nodiscard]] bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);

// Walks the present devices for the one whose driver key holds a REG_SZ
// "MatchingDeviceId" equal to `hardwareId` (ignoring case) and gives its
// REG_SZ "DriverVersion" as it stands.  kDriverFound with a non-empty text.  Devices and values that do not
// fit their buffers, or are not REG_SZ, are passed over.
[[nodiscard]] DriverLookup FindDriverVersion(std::wstring_view hardwareId, std::wstring& text,
                                             DeviceInstallation& installation);
[[nodiscard]] DriverLookup FindDriverVersion(std::wstring_view hardwareId, std::wstring& text);

}  // namespace capture
