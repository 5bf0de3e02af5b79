#include "capture/versions/versions.h"

#include <array>

namespace capture {
namespace {

constexpr uint32_t kFitMask = 0xF00000FFu;
constexpr uint32_t kSupported = 0x10000000u;

constexpr std::wstring_view kMatchingDeviceId = L"MatchingDeviceId";
constexpr std::wstring_view kDriverVersion = L"DriverVersion";

// Leading ASCII digits, saturating far above every limit.
uint32_t LeadingNumber(std::wstring_view piece) {
  uint64_t n = 0;
  for (wchar_t c : piece) {
    if (c < L'0' || c > L'9') break;
    n = n * 10 + static_cast<uint64_t>(c - L'0');
    if (n > 0xFFFFFFFFu) return 0xFFFFFFFFu;
  }
  return static_cast<uint32_t>(n);
}

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

std::wstring AsText(const RawData& data) {
  return data.type == kRegSz ? RegSzText(data.bytes) : std::wstring();
}

struct DriverRecord {
  std::wstring matchingId;
  std::wstring version;
};

DriverRecord ReadDriverRecord(DriverKey& key) {
  DriverRecord record;
  RawValue value;
  for (uint32_t index = 0;; ++index) {
    const FetchResult result = key.Value(index, value);
    if (result == FetchResult::End || result == FetchResult::Failed) break;
    if (result != FetchResult::Ok || value.data.type != kRegSz) continue;
    if (value.name == kMatchingDeviceId) record.matchingId = AsText(value.data);
    if (value.name == kDriverVersion) record.version = AsText(value.data);
  }
  return record;
}

}  // namespace

VersionCheckResult JudgeVersion(uint32_t version) {
  const uint32_t v = version & kFitMask;
  if (v < kSupported) return kVersionOlder;
  if (v > kSupported) return kVersionNewer;
  return kVersionFits;
}

std::wstring FormatVersion(uint32_t value) {
  const std::array<uint32_t, 4> fields = {value >> 28, (value >> 24) & 15u, (value >> 8) & 0xFFFFu,
                                          value & 255u};
  std::wstring text;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i != 0) text += L'.';
    const std::string digits = std::to_string(fields[i]);
    text.append(digits.begin(), digits.end());
  }
  return text;
}

bool ParseVersionText(std::wstring_view text, uint32_t& value) {
  std::array<uint32_t, 4> fields{};
  size_t count = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t dot = text.find(L'.', pos);
    if (dot == std::wstring_view::npos) dot = text.size();
    const std::wstring_view piece = text.substr(pos, dot - pos);
    if (!piece.empty()) {
      if (count == fields.size()) return false;  // something after the fourth piece
      fields[count++] = LeadingNumber(piece);
    }
    pos = dot + 1;
  }
  if (count != fields.size()) return false;
  if (fields[0] >= 15 || fields[1] >= 15 || fields[2] >= 65535 || fields[3] >= 255) return false;
  value = (fields[0] << 28) + (fields[1] << 24) + (fields[2] << 8) + fields[3];
  return true;
}

std::wstring RegSzText(const std::vector<uint8_t>& bytes) {
  std::wstring text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == L'\0') break;
    text.push_back(unit);
  }
  return text;
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

DriverLookup FindDriverVersion(std::wstring_view hardwareId, std::wstring& text,
                               DeviceInstallation& installation) {
  text.clear();
  if (hardwareId.empty()) return kDriverListUnavailable;
  const std::unique_ptr<DeviceList> devices = installation.PresentDevices();
  if (!devices) return kDriverListUnavailable;
  RawData driverKeyName;
  for (uint32_t index = 0;; ++index) {
    const FetchResult result = devices->Device(index, driverKeyName);
    if (result == FetchResult::End) break;
    if (result != FetchResult::Ok || driverKeyName.type != kRegSz) continue;
    const std::wstring name = RegSzText(driverKeyName.bytes);
    if (name.empty()) continue;  // would name the class root itself
    const std::unique_ptr<DriverKey> key = installation.OpenDriverKey(name);
    if (!key) continue;
    DriverRecord record = ReadDriverRecord(*key);
    if (EqualsIgnoringAsciiCase(record.matchingId, hardwareId)) {
      text = std::move(record.version);
      break;
    }
  }
  return text.empty() ? kDriverNotFound : kDriverFound;
}

DriverLookup FindDriverVersion(std::wstring_view hardwareId, std::wstring& text) {
  return FindDriverVersion(hardwareId, text, DeviceInstallationInUse());
}

}  // namespace capture
