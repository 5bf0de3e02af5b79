// The nine exported capture API functions.
#include "board.h"
#include "ovxcapture.h"

using ovxsim::Board;

extern "C" {

OVX_API int32_t Ovx_DevOpen(OvxDevice* device, int32_t reserved) {
  return Board::Instance().DevOpen(device, reserved);
}

OVX_API int32_t Ovx_DevClose(OvxDevice* device) { return Board::Instance().DevClose(device); }

OVX_API int32_t Ovx_DevGetProp(OvxDevice* device, int32_t id, void* record) {
  return Board::Instance().DevGetProp(device, id, record);
}

OVX_API int32_t Ovx_DevSetProp(OvxDevice* device, int32_t id, const void* record) {
  return Board::Instance().DevSetProp(device, id, record);
}

OVX_API int32_t Ovx_DevSetCb(OvxDevice* device, int32_t id, OvxEventCallback callback) {
  return Board::Instance().DevSetCb(device, id, callback);
}

OVX_API int32_t Ovx_DevWdtInit(OvxDevice* device, int32_t interval_ms, int32_t error_limit) {
  return Board::Instance().DevWdtInit(device, interval_ms, error_limit);
}

OVX_API int32_t Ovx_VpCreate(OvxDevice* device, OvxPlane* plane, int32_t type, int32_t flags) {
  return Board::Instance().VpCreate(device, plane, type, flags);
}

OVX_API int32_t Ovx_VpSetProp(OvxDevice* device, OvxPlane* plane, int32_t id, const void* record) {
  return Board::Instance().VpSetProp(device, plane, id, record);
}

OVX_API int32_t Ovx_VpDrawAll(OvxDevice* device) { return Board::Instance().VpDrawAll(device); }

}  // extern "C"
