#pragma once
// The views call the frame through the frame's own listener interfaces; one
// definition, named here for the view code.

#include "app/view_listeners.h"

namespace views {

using app::IVideoPlayListner;
using app::ScreenModeChangeListner;

}  // namespace views
