#pragma once
// What the message screens show and do: per screen kind the four text lines,
// the button with its caption and the message it sends to the main window,
// and whether the frame keeps checking for overlap behind the text; and the
// error controller bar, which only ever offers to leave full screen.
#include <array>
#include <cstdint>
#include <span>

#include "views/layout/display_layout.h"
#include "views/play_controller_logic.h"
#include "views/ui_strings.h"

namespace views {

// Controls of template 313 (view) and 317 (controller).
inline constexpr uint32_t kErrorLine1 = 1016;
inline constexpr uint32_t kErrorLine2 = 1017;
inline constexpr uint32_t kErrorLine3 = 1018;
inline constexpr uint32_t kErrorLine4 = 1019;
inline constexpr uint32_t kErrorButton = 1021;
inline constexpr uint32_t kErrorFullScreenButton = 1007;
inline constexpr uint32_t kErrorZoomIndicator = 1011;
inline constexpr uint32_t kErrorZoomOutButton = 1015;

// What the button asks of the main window (the message number sent).
enum class ErrorButtonAction : uint32_t {
  kNone = 0,
  kClose = 0x0010,   // WM_CLOSE: end the application
  kResume = 0x0401,  // WM_USER + 1: play again
};

struct ErrorViewContent {
  std::array<uint32_t, 4> lines{};  // string ids; 0: the line stays empty
  uint32_t buttonCaption = 0;       // string id; 0: no button
  ErrorButtonAction action = ErrorButtonAction::kNone;
  // Given to the check state and the saved check state: 1 keeps the overlap
  // check running behind the message, 2 blocks it, 0 stops it.
  uint32_t checkState = 0;
  bool known = false;  // false: kind outside 4..10, check states untouched
  [[nodiscard]] bool HasButton() const { return buttonCaption != 0; }
};

// Kinds 4 (Stopped) to 10 (AlreadyRunning); any other kind gives empty lines,
// no button and known = false.
[[nodiscard]] ErrorViewContent ErrorContentOf(uint32_t kind);

// The error controller's full-screen button: enabled only to leave full
// screen (and not in tablet mode, where the tablet decides); greyed
// enter-icon in windowed mode.
[[nodiscard]] FullScreenControls DecideErrorFullScreenControls(bool fullScreen, bool tabletMode);
// Its zoom-out button never works.
inline constexpr ZoomOutControl kErrorZoomOut{false, kIconZoomOutGrey};

// The part of the view the overlap check ignores: the lines and, when
// shown, the button (view client coordinates).  Empty rectangles add nothing.
[[nodiscard]] Rect ExclusionOf(std::span<const Rect> lines, const Rect* button);

}  // namespace views
