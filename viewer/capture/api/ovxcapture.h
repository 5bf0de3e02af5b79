/*
 * Capture board API (ovxcapture.dll).
 *
 * Every function returns a signed 32-bit status, 0 for success.  The caller
 * keeps an 8-byte device slot and a 4-byte plane slot and passes their
 * addresses; Ovx_DevOpen and Ovx_VpCreate fill them.  The library accepts
 * calls from several threads at once and delivers device events on a thread
 * of its own through the callback set with Ovx_DevSetCb.
 */
#ifndef OVXCAPTURE_H
#define OVXCAPTURE_H

#include <stdint.h>

#if defined(_WIN32) && !defined(OVXCAPTURE_STATIC)
#if defined(OVXCAPTURE_BUILD)
#define OVX_API __declspec(dllexport)
#else
#define OVX_API __declspec(dllimport)
#endif
#else
#define OVX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef uint64_t OvxDevice; /* device slot contents, opaque */
typedef uint32_t OvxPlane;  /* plane slot contents, opaque */

/* Device property ids (Ovx_DevGetProp / Ovx_DevSetProp). */
enum {
  OVX_DEV_PROP_FIRMWARE = 1,
  OVX_DEV_PROP_API = 2,
  OVX_DEV_PROP_WATCHDOG = 3,
  OVX_DEV_PROP_OUTPUT = 4,
  OVX_DEV_PROP_INPUT = 6,
  OVX_DEV_PROP_TIME = 7
};

/* Plane property ids (Ovx_VpSetProp). */
enum {
  OVX_VP_PROP_ENABLE = 1,
  OVX_VP_PROP_PLACEMENT = 2,
  OVX_VP_PROP_PARTS_WHOLE = 3,
  OVX_VP_PROP_PARTS_CROP = 5,
  OVX_VP_PROP_ANGLE = 10,
  OVX_VP_PROP_INDEX = 11
};

/* Event bits of the input record. */
enum {
  OVX_EVENT_INPUT_PRESENT = 0x02,
  OVX_EVENT_NO_INPUT = 0x04,
  OVX_EVENT_INPUT_UNUSABLE = 0x10,
  OVX_EVENT_NOTICE = 0x20
};

/* Ovx_DevSetCb takes this id; Ovx_VpCreate takes these constants. */
enum { OVX_CALLBACK_ID = 6, OVX_VP_TYPE = 2, OVX_VP_FLAGS = 0, OVX_WDT_ERROR_LIMIT = 5 };

typedef struct OvxPoint {
  int32_t x, y;
} OvxPoint;
typedef struct OvxSize {
  int32_t x, y;
} OvxSize;

typedef struct OvxFirmwareInfo { /* property 1 */
  uint32_t version_no;
  uint32_t firminfo_1, firminfo_2, firminfo_3, firminfo_4, firminfo_5, firminfo_6, firminfo_7;
} OvxFirmwareInfo;

typedef struct OvxApiVersion {
  uint32_t version_no;
} OvxApiVersion; /* property 2 */

typedef struct OvxWatchdogInfo { /* property 3 */
  uint32_t state, interval, err_count, ovx_count, ovx_err;
} OvxWatchdogInfo;

typedef struct OvxEventSize { /* properties 4 and 6, and the callback record */
  uint32_t event;
  OvxSize size;
} OvxEventSize;

typedef struct OvxTime {
  int32_t time;
} OvxTime; /* property 7 */

typedef struct OvxPlaneEnable {
  int32_t enable;
} OvxPlaneEnable; /* plane 1 */
typedef struct OvxPlanePlacement {
  OvxPoint top;
  OvxSize size;
} OvxPlanePlacement; /* plane 2 */
typedef struct OvxPlaneParts {
  OvxSize parts;
  OvxPoint top;
  OvxSize size;
} OvxPlaneParts; /* plane 3, 5 */
typedef struct OvxPlaneAngle {
  int32_t angle;
} OvxPlaneAngle; /* plane 10 */
typedef struct OvxPlaneIndex {
  int32_t index;
} OvxPlaneIndex; /* plane 11 */

/* Device event callback: runs on a library thread; the record is valid only during the call. */
typedef void (*OvxEventCallback)(OvxEventSize* record);

OVX_API int32_t Ovx_DevOpen(OvxDevice* device, int32_t reserved);
OVX_API int32_t Ovx_DevClose(OvxDevice* device);
OVX_API int32_t Ovx_DevGetProp(OvxDevice* device, int32_t id, void* record);
OVX_API int32_t Ovx_DevSetProp(OvxDevice* device, int32_t id, const void* record);
OVX_API int32_t Ovx_DevSetCb(OvxDevice* device, int32_t id, OvxEventCallback callback);
OVX_API int32_t Ovx_DevWdtInit(OvxDevice* device, int32_t interval_ms, int32_t error_limit);
OVX_API int32_t Ovx_VpCreate(OvxDevice* device, OvxPlane* plane, int32_t type, int32_t flags);
OVX_API int32_t Ovx_VpSetProp(OvxDevice* device, OvxPlane* plane, int32_t id, const void* record);
OVX_API int32_t Ovx_VpDrawAll(OvxDevice* device);

#ifdef __cplusplus
}
#endif

#endif /* OVXCAPTURE_H */
