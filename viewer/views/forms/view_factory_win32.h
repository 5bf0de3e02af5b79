#pragma once
// Views by class, as the frame creates them.

#include <windows.h>

#include <memory>

#include "views/forms/base_view_win32.h"

namespace views {

enum class ViewClass {
  VideoCaptionView,
  VideoBlankView,
  VideoBlankControllerView,
  VideoPlayView,
  VideoPlayControllerView,
  VideoErrorView,  // SetKind before the initial update
  VideoErrorControllerView,
};

// The object of that class, without its window.
[[nodiscard]] std::unique_ptr<CBaseView> CreateViewObject(ViewClass viewClass);

// The object with its window, a hidden child of `pane` with control id
// `id` (the pane's first-view id by default); null when the window could
// not be made.
[[nodiscard]] std::unique_ptr<CBaseView> CreateViewInPane(ViewClass viewClass, HWND pane, UINT id = 0xE900);

}  // namespace views
