#include "views/forms/blank_views_win32.h"

#include "resource_ids.h"

namespace views {

// No overlap checks on the Blank screen: check states stay 0.
CVideoBlankView::CVideoBlankView() : CBaseDisplayView(IDD_VIDEO_BLANK_VIEW) {}

CVideoBlankControllerView::CVideoBlankControllerView() : CBaseControllerView(IDD_VIDEO_BLANK_CONTROLLER) {}

}  // namespace views
