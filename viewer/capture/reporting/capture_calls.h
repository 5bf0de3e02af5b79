#pragma once
// Every call into the capture library goes through these: a nonzero status
// is reported to the event log as "<function>(<status>)", and with the API
// log on the call is logged whatever its result.  Ovx_VpDrawAll is the one
// call that is neither reported nor logged.

#include <cstdint>

#include "ovxcapture.h"

namespace capture {

[[nodiscard]] int32_t CallDevOpen(OvxDevice* device);
[[nodiscard]] int32_t CallDevClose(OvxDevice* device);
[[nodiscard]] int32_t CallDevGetProp(OvxDevice* device, int32_t id, void* record);
[[nodiscard]] int32_t CallDevSetProp(OvxDevice* device, int32_t id, const void* record);
[[nodiscard]] int32_t CallDevSetCb(OvxDevice* device, OvxEventCallback callback);
[[nodiscard]] int32_t CallDevWdtInit(OvxDevice* device, int32_t intervalMs);
[[nodiscard]] int32_t CallVpCreate(OvxDevice* device, OvxPlane* plane);
[[nodiscard]] int32_t CallVpSetProp(OvxDevice* device, OvxPlane* plane, int32_t id, const void* record);
[[nodiscard]] int32_t CallVpDrawAll(OvxDevice* device);

}  // namespace capture
