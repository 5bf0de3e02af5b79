#include "views/forms/view_factory_win32.h"

#include "views/forms/blank_views_win32.h"
#include "views/forms/caption_view_win32.h"
#include "views/forms/controller_bar_win32.h"
#include "views/forms/error_view_win32.h"
#include "views/forms/play_view_win32.h"

namespace views {

std::unique_ptr<CBaseView> CreateViewObject(ViewClass viewClass) {
  switch (viewClass) {
    case ViewClass::VideoCaptionView:
      return std::make_unique<CVideoCaptionView>();
    case ViewClass::VideoBlankView:
      return std::make_unique<CVideoBlankView>();
    case ViewClass::VideoBlankControllerView:
      return std::make_unique<CVideoBlankControllerView>();
    case ViewClass::VideoPlayView:
      return std::make_unique<CVideoPlayView>();
    case ViewClass::VideoPlayControllerView:
      return std::make_unique<CVideoPlayControllerView>();
    case ViewClass::VideoErrorView:
      return std::make_unique<CVideoErrorView>();
    case ViewClass::VideoErrorControllerView:
      return std::make_unique<CVideoErrorControllerView>();
  }
  return nullptr;
}

std::unique_ptr<CBaseView> CreateViewInPane(ViewClass viewClass, HWND pane, UINT id) {
  std::unique_ptr<CBaseView> view = CreateViewObject(viewClass);
  if (view == nullptr || !view->Create(pane, id)) return nullptr;
  return view;
}

}  // namespace views
