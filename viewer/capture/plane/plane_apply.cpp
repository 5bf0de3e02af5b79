#include "capture/plane/plane_apply.h"

#include "capture/plane/plane_placement.h"
#include "capture/reporting/capture_calls.h"
#include "environment/audio_context.h"

namespace capture {
namespace {

bool PartsDiffer(const PlaneState& a, const PlaneState& b) {
  return a.parts.parts.x != b.parts.parts.x || a.parts.parts.y != b.parts.parts.y ||
         a.parts.top.x != b.parts.top.x || a.parts.top.y != b.parts.top.y ||
         a.parts.size.x != b.parts.size.x || a.parts.size.y != b.parts.size.y || a.partsId != b.partsId;
}

bool IsPartsId(int32_t id) { return id == OVX_VP_PROP_PARTS_WHOLE || id == OVX_VP_PROP_PARTS_CROP; }

}  // namespace

bool ApplyPlaneState(int32_t force, OvxDevice* device, OvxPlane* plane, environment::AudioContext* audio,
                     PlaneState& applied, const PlaneState& wanted) {
  const bool all = force != 0;
  bool screenChanged = false;
  bool angleChanged = false;
  bool sent = false;

  if (all || !(applied.screen == wanted.screen)) {
    applied.screen = wanted.screen;
    screenChanged = true;
  }

  if (all || applied.angle != wanted.angle) {
    applied.angle = wanted.angle;
    angleChanged = true;
    sent = true;
    const OvxPlaneAngle record{applied.angle};
    if (CallVpSetProp(device, plane, OVX_VP_PROP_ANGLE, &record) != 0) return false;
  }

  // Compared on the panel: a new source rectangle that lands on the same
  // panel rectangle is not worth a call.
  const PlaneRect before = PlacementFor(applied);
  const PlaneRect after = PlacementFor(wanted);
  if (all || screenChanged || angleChanged || !(before == after)) {
    applied.placement = wanted.placement;
    const PlaneRect r = PlacementFor(applied);
    const OvxPlanePlacement record{{r.x, r.y}, {r.width, r.height}};
    sent = true;
    if (CallVpSetProp(device, plane, OVX_VP_PROP_PLACEMENT, &record) != 0) return false;
  }

  if (all || PartsDiffer(applied, wanted)) {
    applied.parts = wanted.parts;
    if (IsPartsId(wanted.partsId)) applied.partsId = wanted.partsId;
    sent = true;
    if (CallVpSetProp(device, plane, applied.partsId, &applied.parts) != 0) return false;
  }

  if (all || applied.audio != wanted.audio) {
    applied.audio = wanted.audio;
    if (audio != nullptr) {
      if (applied.audio == 1) {
        environment::StartAudioPassThrough(*audio);
      } else {
        environment::StopAudioPassThrough(*audio);
      }
    }
  }

  if (!all && applied.enable == wanted.enable) {
    if (!sent) return true;
    return CallVpDrawAll(device) == 0;
  }
  applied.enable = wanted.enable == 1 ? 1 : 0;
  const OvxPlaneEnable record{applied.enable};
  if (CallVpSetProp(device, plane, OVX_VP_PROP_ENABLE, &record) != 0) return false;
  return CallVpDrawAll(device) == 0;
}

}  // namespace capture
