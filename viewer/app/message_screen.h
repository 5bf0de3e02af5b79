#pragma once
// The message screens: which four text lines and which button each kind
// shows, and where they go in the display area.
#include <array>
#include <cstdint>
#include <optional>

#include "app/frame_ports.h"
#include "app/screen_decision.h"

namespace app {

enum class ButtonAction { None, Continue, Close };

struct MessageScreen {
  std::array<uint32_t, 4> lines{};  // string ids
  uint32_t button = 0;              // string id of the caption, 0 without a button
  ButtonAction action = ButtonAction::None;
};

// Kinds Stopped to AlreadyRunning; nothing for the others.
std::optional<MessageScreen> MessageScreenOf(ScreenKind kind);

// Design units of the 3840 x 2560 reference display, in pixels of a display
// of this size and angle (sides exchanged at 90 and 270); truncated, 0 for a
// zero display.
int32_t ScaleToDisplay(int32_t value, const DisplayState& display);

struct MessageLayout {
  std::array<Rect, 4> lines;
  Rect button;
  int32_t fontHeight = 0;
  int32_t buttonFontHeight = 0;
};

// Line 3 in the middle of the area, lines 2 and 1 above it, line 4 below,
// the button under line 4; all centred across.
MessageLayout LayOutMessage(const Rect& area, const DisplayState& display);

}  // namespace app
