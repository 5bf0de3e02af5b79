#include "app/shell/main_frame_win32.h"

#include <windowsx.h>
#include <wtsapi32.h>

#include <string>

#include "app/instance_claim.h"
#include "app/about/versions_about.h"
#include "app/window_placement.h"
#include "capture/session/input_manager.h"
#include "views/forms/play_view_win32.h"
#include "views/forms/version_dialog_win32.h"
#include "settings/setting_text.h"
#include "settings/settings_store.h"
#include "views/ui_strings.h"

namespace shell {
namespace {

constexpr DWORD kFrameStyle = 0x00CF8000;         // overlapped window, title from the document
constexpr DWORD kFullScreenRemoved = 0x01CF8000;  // the frame style and maximised
// {02731015-4510-4526-99E6-E5A17EBD1AEA}
constexpr GUID kMonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA}};

int32_t SettingInt(const settings::SettingsStore& store, int32_t key) {
  return settings::TextToInt(store.Text(key));
}

app::FrameSettings ReadFrameSettings(const settings::SettingsStore& store) {
  app::FrameSettings s;
  s.detect = static_cast<uint32_t>(SettingInt(store, settings::kSettingDetect));
  s.executionInterval =
      static_cast<uint32_t>(settings::TextToLong(store.Text(settings::kSettingExecutionInterval)));
  s.audioDelay = SettingInt(store, settings::kSettingAudioDelay);
  return s;
}

app::SizeType SizeTypeOf(WPARAM type) {
  switch (type) {
    case SIZE_RESTORED:
      return app::SizeType::Restored;
    case SIZE_MINIMIZED:
      return app::SizeType::Minimised;
    case SIZE_MAXIMIZED:
      return app::SizeType::Maximised;
    default:
      return app::SizeType::Other;
  }
}

}  // namespace

bool MainFrame::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &MainFrame::WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = app::kMainWindowClass;
  return RegisterClassExW(&wc) != 0;
}

MainFrame::MainFrame(bool otherSession) : otherSession_(otherSession) {
  settings::SettingsStore& store = settings::SettingsStore::Get(otherSession);
  const app::FrameSettings settings = ReadFrameSettings(store);
  capture::InputManager* session = nullptr;
  if (!otherSession) session = capture::InputManager::Create(SettingInt(store, settings::kSettingApiLog));
  if (session != nullptr) {
    session_ = std::make_unique<app::SessionBinding>(*session);
    plane_ = std::make_unique<app::QueuePlaneOutput>(session->Queue());
  } else {
    plane_ = std::make_unique<app::NoPlaneOutput>();
  }
  app::FrameTimers& timers = *this;
  app::FrameWindow& window = *this;
  app::ScreenViews& screens = *this;
  controller_ = std::make_unique<app::FrameController>(session_.get(), *plane_, timers, window, screens,
                                                       pivra_, settings, otherSession);
}

MainFrame::~MainFrame() {
  window_.reset();
  ReleaseSession();
}

void MainFrame::ReleaseSession() {
  if (controller_ == nullptr) return;
  controller_.reset();
  settings::SettingsStore::Release();
  plane_.reset();
  session_.reset();
  capture::InputManager::Destroy();
}

bool MainFrame::Create(HINSTANCE instance) {
  const std::wstring title = views::LoadUiString(views::kIdsTitle);
  HWND hwnd = CreateWindowExW(0, app::kMainWindowClass, title.c_str(), kFrameStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, 960, 600, nullptr, nullptr, instance, this);
  return hwnd != nullptr;
}

LRESULT CALLBACK MainFrame::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MainFrame* frame = nullptr;
  if (message == WM_NCCREATE) {
    frame = static_cast<MainFrame*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    frame->window_.reset(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
  } else {
    frame = reinterpret_cast<MainFrame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (frame == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  const LRESULT result = frame->OnMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    (void)frame->window_.release();  // already destroyed
  }
  return result;
}

LRESULT MainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (controller_ == nullptr) return DefWindowProcW(window_.get(), message, wParam, lParam);
  if (message == pivra_.ModeChangeMessage() && message != 0) {
    controller_->OnTabletModeChanged(static_cast<int32_t>(wParam));
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_TIMER:
      controller_->OnTimer(static_cast<uint32_t>(wParam));
      return 0;
    case kContinueMessage:
      controller_->Continue();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the splitter covers the client area
    case WM_SIZE:
      // The rows first: the video is fitted into the display row.
      if (splitter_.hwnd() != nullptr)
        MoveWindow(splitter_.hwnd(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      controller_->OnSized(SizeTypeOf(wParam));
      return 0;
    case WM_MOVE:
      controller_->OnMoved();
      break;
    case WM_POWERBROADCAST:
      OnPowerBroadcast(wParam, lParam);
      break;
    case WM_WTSSESSION_CHANGE: {
      HWND hwnd = window_.get();
      controller_->OnSessionChange(static_cast<uint32_t>(wParam));
      if (!IsWindow(hwnd)) {
        ReleaseSession();  // logged off: the window is gone
        return 0;
      }
      break;
    }
    case WM_DISPLAYCHANGE:
      controller_->OnDisplayChange();
      break;
    case WM_SETTINGCHANGE: {
      const LRESULT result = DefWindowProcW(window_.get(), message, wParam, lParam);
      if (settings::SettingsStore::Exists())
        settings::SettingsStore::Get(otherSession_).OnSettingChange(static_cast<uint32_t>(wParam));
      return result;
    }
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION: {
      DestroyWindow(window_.get());
      ReleaseSession();
      return message == WM_QUERYENDSESSION ? TRUE : 0;
    }
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      break;
    case WM_SYSCOMMAND:
      if (OnSysCommand(wParam)) return 0;
      break;
    case WM_SETFOCUS:
      if (views::CBaseView* view = splitter_.ActiveView(); view != nullptr && view->hwnd() != nullptr) {
        SetFocus(view->hwnd());
        return 0;
      }
      break;
    case WM_ENTERSIZEMOVE:
      controller_->OnEnterSizeMove();
      break;
    case WM_EXITSIZEMOVE:
      controller_->OnExitSizeMove();
      break;
    case WM_STYLECHANGED:
      if (wParam == static_cast<WPARAM>(GWL_STYLE)) {
        const auto* change = reinterpret_cast<const STYLESTRUCT*>(lParam);
        controller_->OnStyleChanged((change->styleOld & WS_POPUP) != 0, (change->styleNew & WS_POPUP) != 0);
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window_.get(), message, wParam, lParam);
}

bool MainFrame::OnCreate() {
  AddVersionMenuItem();
  if (!splitter_.CreatePanes(window_.get())) return false;
  splitter_.CreateViews(controller_.get(), controller_.get(),
                        settings::SettingsStore::Get(otherSession_).Texts());
  pivra_.SetFrame(window_.get());
  controller_->Start();
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_.get(), GWLP_HINSTANCE));
  if (HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(128))) {
    SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  SetWindowPos(window_.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  powerNotify_.reset(
      RegisterPowerSettingNotification(window_.get(), &kMonitorPowerOn, DEVICE_NOTIFY_WINDOW_HANDLE));
  controller_->OnWindowCreated();
  if (WTSRegisterSessionNotification(window_.get(), NOTIFY_FOR_THIS_SESSION))
    sessionNotify_.reset(window_.get());
  return true;
}

// The timers not killed here end with the window.
void MainFrame::OnDestroy() {
  // Registrations end while their window still exists.
  sessionNotify_.reset();
  powerNotify_.reset();
  controller_->Stop();
  splitter_.DestroyViews();
  SetThreadExecutionState(ES_CONTINUOUS);
  pivra_.Unload();
  RemovePropW(window_.get(), kScreenProperty);
  PostQuitMessage(0);
}

void MainFrame::OnPowerBroadcast(WPARAM event, LPARAM data) {
  if (event == PBT_APMSUSPEND || event == PBT_APMSTANDBY) {
    controller_->OnSuspendNotice();
    Sleep(1000);  // let the board settle before the system sleeps
  } else if (event == PBT_POWERSETTINGCHANGE && data != 0) {
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(data);
    if (setting->DataLength >= 1) controller_->OnMonitorPower(setting->Data[0]);
  }
}

// The picture never gets smaller than 640 x 480 design units, the bars
// below (and above, in full screen) come on top.
void MainFrame::OnGetMinMaxInfo(MINMAXINFO& info) const {
  RECT window;
  if (!GetWindowRect(window_.get(), &window) || window.right <= window.left || window.bottom <= window.top)
    return;
  const views::DisplayLayout& layout = controller_->Layout();
  const int32_t bars = views::ScaleToDisplay(200, layout) +
                       (controller_->FullScreen() ? views::ScaleToDisplay(70, layout) : 0);
  RECT r{0, 0, views::ScaleToDisplay(640, layout), views::ScaleToDisplay(480, layout) + bars};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(window_.get(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window_.get(), GWL_EXSTYLE)));
  info.ptMinTrackSize = POINT{r.right - r.left, r.bottom - r.top};
}

bool MainFrame::OnSysCommand(WPARAM command) {
  switch (command & 0xFFF0) {
    case kAboutCommand:
      ShowAbout();
      return true;
    case SC_KEYMENU:
      return true;  // no keyboard access to the system menu
    case SC_RESTORE:
      controller_->OnSystemRestore();  // leaves full screen first
      return false;
    default:
      return false;
  }
}

void MainFrame::AddVersionMenuItem() {
  HMENU menu = GetSystemMenu(window_.get(), FALSE);
  if (menu == nullptr) return;
  const std::wstring text = views::LoadUiString(kVersionMenuString);
  InsertMenuW(menu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, kAboutCommand, text.c_str());
  DrawMenuBar(window_.get());
}

void MainFrame::ShowAbout() {
  const app::AboutVersionTexts texts = app::CollectAboutVersionTexts(capture::InputManager::Instance());
  views::VersionDialog dialog(texts.driver, texts.firmware, texts.api);
  static_cast<void>(dialog.DoModal(window_.get()));
}

bool MainFrame::PreTranslateMessage(const MSG& message) {
  if (controller_ == nullptr || window_.get() == nullptr) return false;
  if (message.hwnd != window_.get() && !IsChild(window_.get(), message.hwnd)) return false;
  switch (message.message) {
    case WM_KEYUP:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      controller_->OnUserActivity();
      break;
    case WM_MOUSEMOVE:
      controller_->OnPointerMove(GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam));
      break;
    default:
      break;
  }
  auto* play = dynamic_cast<views::CVideoPlayView*>(splitter_.View(app::ViewSlot::Play));
  return play != nullptr && play->PreTranslateInput(message);
}

void MainFrame::SwitchTo(app::ScreenKind kind) {
  splitter_.SwitchTo(kind);
  SetPropW(window_.get(), kScreenProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(kind)));
}

app::Rect MainFrame::DisplayArea() const { return splitter_.DisplayArea(); }

void MainFrame::Relayout(const views::DisplayLayout& layout) { splitter_.Relayout(layout); }

uint32_t MainFrame::CheckState() const { return splitter_.CheckState(); }

void MainFrame::PauseChecks() { splitter_.PauseChecks(); }

void MainFrame::ResumeChecks() { splitter_.ResumeChecks(); }

uint32_t MainFrame::CheckOverlap() { return splitter_.CheckOverlap(); }

void MainFrame::SetPlaneShown(bool shown) { splitter_.SetPlaneShown(shown); }

bool MainFrame::ProbeDisplay(app::DisplayState& display) { return display_.Probe(display); }

bool MainFrame::IsMinimised() const { return IsIconic(window_.get()) != FALSE; }

bool MainFrame::FitToInput(int32_t width, int32_t height, int32_t barHeight) {
  HWND hwnd = window_.get();
  if (hwnd == nullptr) return false;
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  if (IsZoomed(hwnd) && (style & WS_POPUP) == 0) ShowWindow(hwnd, SW_RESTORE);
  const app::Rect work = controller_->Display().workArea;
  if (work.Width() <= 0 || work.Height() <= 0) return false;
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
  const app::Size size = app::PlacementWindowSize(work, width, height, barHeight, [&](app::Size client) {
    RECT r{0, 0, client.width, client.height};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return app::Size{r.right - r.left, r.bottom - r.top};
  });
  SetWindowPos(hwnd, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Centred by the size the window really took (never below its minimum).
  RECT r;
  GetWindowRect(hwnd, &r);
  const app::Point at = app::PlacementOrigin(work, r.right - r.left, r.bottom - r.top);
  SetWindowPos(hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void MainFrame::EnterFullScreen() {
  HWND hwnd = window_.get();
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>((style & ~kFullScreenRemoved) | WS_POPUP));
  ShowWindow(hwnd, SW_MAXIMIZE);
  UpdateWindow(hwnd);
}

void MainFrame::LeaveFullScreen() {
  HWND hwnd = window_.get();
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>((style & ~WS_POPUP) | kFrameStyle));
  ShowWindow(hwnd, SW_RESTORE);
  UpdateWindow(hwnd);
}

void MainFrame::MinimiseToForeground() {
  ShowWindow(window_.get(), SW_MINIMIZE);
  SetForegroundWindow(window_.get());
}

void MainFrame::Close() { DestroyWindow(window_.get()); }

void MainFrame::KeepAwake() {
  SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}

void MainFrame::Start(uint32_t id, uint32_t ms) {
  if (window_.get() == nullptr) return;
  if (SetTimer(window_.get(), id, ms, nullptr) != 0) timers_.insert(id);
}

void MainFrame::Kill(uint32_t id) {
  if (timers_.erase(id) != 0 && window_.get() != nullptr) KillTimer(window_.get(), id);
}

bool MainFrame::IsRunning(uint32_t id) const { return timers_.count(id) != 0; }

uint64_t MainFrame::NowMs() const { return GetTickCount64(); }

}  // namespace shell
