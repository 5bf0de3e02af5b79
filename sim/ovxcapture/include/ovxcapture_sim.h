/*
 * Control interface of the simulated capture board.  Exported by the
 * stand-in ovxcapture.dll (and linked statically by native tests) next to
 * the nine API functions; the real library has none of these, and tavrin
 * never calls them.  Tests use them to choose a scenario, inject failures,
 * drive device events and read back the record of calls.
 *
 * The board reads its scenario when first used: the file named by the
 * environment variable OVXSIM_SCENARIO, else the built-in default (see
 * sim/ovxcapture/README.md for the format).
 */
#ifndef OVXCAPTURE_SIM_H
#define OVXCAPTURE_SIM_H

#include <stddef.h>
#include <stdint.h>

#include "ovxcapture.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Back to power-on state with the built-in default scenario: no injected
 * status, no delay, empty call record, device closed, callback removed,
 * pending timed events dropped.  The clock is manual after a reset. */
OVX_API void OvxSim_Reset(void);

/* Replace the scenario by a text in the scenario format.  Returns 1 on
 * success; on a malformed text returns 0, keeps the built-in default and
 * writes a one-line reason ("line N: ...") into message (may be null). */
OVX_API int32_t OvxSim_LoadScenarioText(const char* text, char* message, size_t message_size);

/* Same from a file; a missing file is an error like a malformed text. */
OVX_API int32_t OvxSim_LoadScenarioFile(const char* path, char* message, size_t message_size);

/* Make calls of `function` (e.g. "Ovx_DevGetProp") return `status`.
 * property_id < 0: any property; otherwise only calls with that id.
 * from_call: the injection applies from the from_call-th matching call on
 * (1 = the next one), counted from now; count: how many calls it lasts
 * (0 = for good).  A status of 0 removes earlier injections for that match. */
OVX_API void OvxSim_InjectStatus(const char* function, int32_t property_id, int32_t status,
                                 uint32_t from_call, uint32_t count);

/* Each call of `function` sleeps delay_ms before it returns (slow board). */
OVX_API void OvxSim_SetCallDelay(const char* function, uint32_t delay_ms);

/* Board state. */
OVX_API void OvxSim_SetFirmware(const OvxFirmwareInfo* info);
OVX_API void OvxSim_SetApiVersion(uint32_t version_no);
OVX_API void OvxSim_SetWatchdog(const OvxWatchdogInfo* info);
OVX_API void OvxSim_SetOutput(const OvxEventSize* output);
OVX_API void OvxSim_SetInput(const OvxEventSize* input);

/* Deliver one device event through the registered callback on the board's
 * event thread (the input record becomes `event`, `width` x `height`).
 * Returns once the callback has returned; 0 when no callback is registered
 * (nothing is delivered), 1 otherwise. */
OVX_API int32_t OvxSim_FireEvent(uint32_t event, int32_t width, int32_t height);

/* Manual clock: advance the board's time, delivering every scenario event
 * that falls due (each on the event thread, in order) before returning.
 * In real-time mode (scenario "clock realtime") events come by themselves. */
OVX_API void OvxSim_AdvanceTime(uint32_t ms);

/* One recorded call. */
typedef struct OvxSimCall {
  uint64_t sequence;   /* 1, 2, ... over all functions */
  char function[32];   /* "Ovx_DevOpen", ... */
  int32_t property_id; /* id argument, or -1 when the function has none */
  int32_t status;      /* what the call returned */
  int32_t args[8];     /* the record or numeric arguments as passed in (in) or returned (out) */
  uint32_t arg_count;
  uint64_t thread_id;      /* caller's thread */
  const void* device_slot; /* address passed */
  const void* plane_slot;  /* address passed, or null */
} OvxSimCall;

OVX_API uint32_t OvxSim_CallCount(void);
/* Copies call `index` (0-based, oldest first); 0 when out of range. */
OVX_API int32_t OvxSim_GetCall(uint32_t index, OvxSimCall* call);
OVX_API void OvxSim_ClearCalls(void);

/* Current board-side state, for assertions. */
typedef struct OvxSimState {
  int32_t opened;
  int32_t callback_set;
  int32_t plane_created;
  int32_t audio_delay;
  OvxWatchdogInfo watchdog;
  OvxEventSize input;
  OvxEventSize output;
  int32_t plane_enable; /* values last set, committed or not */
  int32_t plane_angle;
  OvxPlanePlacement plane_placement;
  int32_t plane_parts_id;
  OvxPlaneParts plane_parts;
  uint32_t draw_count; /* Ovx_VpDrawAll calls that succeeded */
} OvxSimState;

OVX_API void OvxSim_GetState(OvxSimState* state);

/* --- Additions to the control interface --- */

/* Statuses the board itself returns (injected ones are whatever was chosen). */
enum {
  OVXSIM_STATUS_NOT_OPEN = -1,     /* device not open */
  OVXSIM_STATUS_BAD_ARGUMENT = -2, /* null pointer, bad handle in a slot, value out of range */
  OVXSIM_STATUS_BAD_PROPERTY = -3, /* unknown or read-only property id, callback id not 6 */
  OVXSIM_STATUS_WRONG_STATE = -4   /* device already open, no plane yet, plane already created */
};

/* Plane values as of the last successful Ovx_VpDrawAll (what the panel shows). */
typedef struct OvxSimPlane {
  int32_t enable;
  int32_t angle;
  OvxPlanePlacement placement;
  int32_t parts_id;
  OvxPlaneParts parts;
} OvxSimPlane;

OVX_API void OvxSim_GetCommittedPlane(OvxSimPlane* plane);

/* The shown plane as a text file, rewritten (temporary file, then rename)
 * after every successful Ovx_VpDrawAll and Ovx_DevClose.  The path starts as
 * the environment variable OVXSIM_STATE_FILE; null or empty: no file.  The
 * format is in sim/ovxcapture/README.md. */
OVX_API void OvxSim_SetStateFile(const char* path);

/* The id the call record gives the calling thread (small numbers, 1 up). */
OVX_API uint64_t OvxSim_CurrentThreadId(void);

/* Call `index` as one readable line; 0 when out of range.  The text is
 * cut to fit and always terminated when text_size > 0. */
OVX_API int32_t OvxSim_FormatCall(uint32_t index, char* text, size_t text_size);

/* Load the scenario named by OVXSIM_SCENARIO again, as on first use: a
 * missing or malformed file gives one line on stderr and the built-in
 * default.  The clock is real time unless the file says otherwise.
 * Returns 1 when the file was used, 0 otherwise (also when unset). */
OVX_API int32_t OvxSim_LoadEnvironmentScenario(void);

/* The board's clock in ms (manual: the sum of OvxSim_AdvanceTime). */
OVX_API uint64_t OvxSim_ClockMs(void);

#ifdef __cplusplus
}
#endif

#endif /* OVXCAPTURE_SIM_H */
