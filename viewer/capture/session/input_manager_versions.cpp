// The firmware and driver checks of the device start, and the version
// queries of the About box.  A mismatch goes to the event log as one line.
#include "capture/reporting/capture_calls.h"
#include "capture/reporting/event_report.h"
#include "capture/session/input_manager.h"
#include "capture/versions/versions.h"
#include "views/ui_strings.h"

namespace capture {
namespace {

void Report(uint32_t stringId) { ReportEvent(views::LoadUiString(stringId)); }

}  // namespace

bool InputManager::GetFirmwareInfo(OvxFirmwareInfo& info) {
  if (opened_ == 0) return false;
  return CallDevGetProp(&device_, OVX_DEV_PROP_FIRMWARE, &info) == 0;
}

VersionCheckResult InputManager::CheckFirmwareVersion() {
  OvxFirmwareInfo info{};
  if (!GetFirmwareInfo(info)) return kVersionApiError;
  const VersionCheckResult result = JudgeVersion(info.version_no);
  if (result == kVersionOlder) Report(views::kIdsFirmwareOld);
  if (result == kVersionNewer) Report(views::kIdsFirmwareNew);
  return result;
}

bool InputManager::GetApiVersion(uint32_t& value) {
  if (opened_ == 0) return false;
  OvxApiVersion record{};
  if (CallDevGetProp(&device_, OVX_DEV_PROP_API, &record) != 0) return false;
  value = record.version_no;
  return true;
}

// Needs no open device: the driver's installation record is enough.
VersionCheckResult InputManager::CheckDriverVersion() {
  std::wstring text;
  DriverLookup found = FindDriverVersion(kBoardHardwareId, text);
  uint32_t version = 0;
  if (found == kDriverFound && !ParseVersionText(text, version)) found = kDriverListUnavailable;
  if (found == kDriverListUnavailable) {
    Report(views::kIdsDriverApiError);
    return kVersionApiError;
  }
  if (found == kDriverNotFound) {
    Report(views::kIdsDriverNotFound);
    return kVersionNotFound;
  }
  const VersionCheckResult result = JudgeVersion(version);
  if (result == kVersionOlder) Report(views::kIdsDriverOld);
  if (result == kVersionNewer) Report(views::kIdsDriverNew);
  return result;
}

}  // namespace capture
