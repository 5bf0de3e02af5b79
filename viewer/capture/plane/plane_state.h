#pragma once
// What the window thread wants the board's video plane to look like, and
// one request slot of the ring through which it says so.

#include <atomic>
#include <cstdint>

#include "ovxcapture.h"

namespace capture {

// Groups of a plane state; a request sets the bits of the groups it changes.
enum PlaneGroup : uint32_t {
  kGroupPlacement = 0x01,
  kGroupAngle = 0x02,
  kGroupParts = 0x04,
  kGroupEnable = 0x08,
  kGroupScreenSize = 0x10,
  kGroupAudio = 0x20,
};

struct PlaneRect {
  int32_t x, y, width, height;
  friend bool operator==(const PlaneRect&, const PlaneRect&) = default;
};

// The display mode of the monitor that shows the window (third word always 0).
struct ScreenSize {
  int32_t width, height, reserved;
  friend bool operator==(const ScreenSize&, const ScreenSize&) = default;
};

struct PlaneState {
  uint32_t flags;  // groups ever set (grows only)
  int32_t reserved0;
  int32_t planeWidth;  // plane coordinate space, from device property 4
  int32_t planeHeight;
  PlaneRect placement;  // screen pixels relative to the monitor's top-left
  int32_t angle;        // 0, 90, 180, 270
  OvxPlaneParts parts;  // crop on a parts.x x parts.y grid
  int32_t partsId;      // 3 whole input, 5 crop
  int32_t enable;       // 1 visible
  ScreenSize screen;
  int32_t reserved1[9];
  int32_t audio;  // 1 pass-through on
};

// Starting values of every state and slot body.
PlaneState InitialPlaneState();

enum SlotState : int32_t { kSlotFree = 0, kSlotReady = 1, kSlotWriting = 2, kSlotStale = 3 };

struct PlaneRequest {
  int32_t index;               // place in the ring, 0..99
  int32_t force;               // 1: send every property
  std::atomic<int32_t> state;  // SlotState; the writer stores kSlotReady last (release)
  PlaneState body;
  PlaneRequest* next;
  PlaneRequest* prev;
};

}  // namespace capture
