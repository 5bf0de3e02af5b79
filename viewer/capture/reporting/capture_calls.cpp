#include "capture/reporting/capture_calls.h"

#include "capture/reporting/api_log.h"
#include "capture/reporting/api_log_format.h"
#include "capture/reporting/event_report.h"

namespace capture {
namespace {

// Report first, then log: the log line follows the event-log entry.
template <class MakeArgs>
int32_t Finish(int32_t status, const char* function, MakeArgs makeArgs) {
  if (status != 0) ReportStatus(status, function);
  if (ApiLog::Active()) ApiLog::Write(status, function, makeArgs());
  return status;
}

}  // namespace

int32_t CallDevOpen(OvxDevice* device) {
  return Finish(Ovx_DevOpen(device, 0), "Ovx_DevOpen", [&] { return DevOpenArgs(device, 0); });
}

int32_t CallDevClose(OvxDevice* device) {
  return Finish(Ovx_DevClose(device), "Ovx_DevClose", [&] { return DevCloseArgs(device); });
}

int32_t CallDevGetProp(OvxDevice* device, int32_t id, void* record) {
  return Finish(Ovx_DevGetProp(device, id, record), "Ovx_DevGetProp",
                [&] { return DevPropArgs(device, id, record); });
}

int32_t CallDevSetProp(OvxDevice* device, int32_t id, const void* record) {
  return Finish(Ovx_DevSetProp(device, id, record), "Ovx_DevSetProp",
                [&] { return DevPropArgs(device, id, record); });
}

int32_t CallDevSetCb(OvxDevice* device, OvxEventCallback callback) {
  return Finish(Ovx_DevSetCb(device, OVX_CALLBACK_ID, callback), "Ovx_DevSetCb",
                [&] { return DevSetCbArgs(device, OVX_CALLBACK_ID, callback); });
}

int32_t CallDevWdtInit(OvxDevice* device, int32_t intervalMs) {
  return Finish(Ovx_DevWdtInit(device, intervalMs, OVX_WDT_ERROR_LIMIT), "Ovx_DevWdtInit",
                [&] { return DevWdtInitArgs(device, intervalMs, OVX_WDT_ERROR_LIMIT); });
}

int32_t CallVpCreate(OvxDevice* device, OvxPlane* plane) {
  return Finish(Ovx_VpCreate(device, plane, OVX_VP_TYPE, OVX_VP_FLAGS), "Ovx_VpCreate",
                [&] { return VpCreateArgs(device, plane, OVX_VP_TYPE, OVX_VP_FLAGS); });
}

int32_t CallVpSetProp(OvxDevice* device, OvxPlane* plane, int32_t id, const void* record) {
  return Finish(Ovx_VpSetProp(device, plane, id, record), "Ovx_VpSetProp",
                [&] { return VpSetPropArgs(device, plane, id, record); });
}

int32_t CallVpDrawAll(OvxDevice* device) { return Ovx_VpDrawAll(device); }

}  // namespace capture
