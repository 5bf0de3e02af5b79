#pragma once
// The Blank screen's display view and the empty controller bar of the
// Blank and PlayBarHidden screens: key colour only.

#include "views/forms/base_view_win32.h"

namespace views {

class CVideoBlankView : public CBaseDisplayView {
 public:
  CVideoBlankView();
};

class CVideoBlankControllerView : public CBaseControllerView {
 public:
  CVideoBlankControllerView();
};

}  // namespace views
