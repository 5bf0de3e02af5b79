#pragma once
// Brings the board's video plane from what it was last told (applied) to
// what the window thread wants (wanted): only the differences are sent,
// every property unless force is 0, then one Ovx_VpDrawAll.  Worker thread.

#include <cstdint>

#include "capture/plane/plane_state.h"
#include "ovxcapture.h"

namespace environment {
class AudioContext;
}

namespace capture {

// False when a property call failed; the applied state then already holds
// the new value of that group and the remaining groups wait for a later
// change or a forced request.  audio may be null (no pass-through).
[[nodiscard]] bool ApplyPlaneState(int32_t force, OvxDevice* device, OvxPlane* plane,
                                   environment::AudioContext* audio, PlaneState& applied,
                                   const PlaneState& wanted);

}  // namespace capture
