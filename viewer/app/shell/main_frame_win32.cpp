#include "app/shell/main_frame_win32.h"

#include <wtsapi32.h>

#include <algorithm>
#include <string>

#include "app/instance_claim.h"
#include "capture/session/input_manager.h"
#include "settings/setting_text.h"
#include "settings/settings_store.h"
#include "views/ui_strings.h"

namespace shell {
namespace {

constexpr DWORD kFrameStyle = 0x00CF8000;  // overlapped window, title from the document
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
    case WM_WTSSESSION_CHANGE:
      controller_->OnSessionChange(static_cast<uint32_t>(wParam));
      break;
    case WM_DISPLAYCHANGE:
      controller_->OnDisplayChange();
      break;
    case WM_SETTINGCHANGE:
      if (settings::SettingsStore::Exists())
        settings::SettingsStore::Get(otherSession_).OnSettingChange(static_cast<uint32_t>(wParam));
      break;
    case WM_QUERYENDSESSION: {
      DestroyWindow(window_.get());
      return TRUE;
    }
    case WM_ENDSESSION:
      DestroyWindow(window_.get());
      return 0;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;  // no keyboard access to the system menu
      break;
    default:
      break;
  }
  return DefWindowProcW(window_.get(), message, wParam, lParam);
}

bool MainFrame::OnCreate() {
  if (!splitter_.CreatePanes(window_.get())) return false;
  splitter_.CreateViews(nullptr, controller_.get(), settings::SettingsStore::Get(otherSession_).Texts());
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

// The display area never gets smaller than 640 x 480 design units.
void MainFrame::OnGetMinMaxInfo(MINMAXINFO& info) const {
  RECT window;
  if (!GetWindowRect(window_.get(), &window) || window.right <= window.left || window.bottom <= window.top)
    return;
  const views::DisplayLayout& layout = controller_->Layout();
  RECT r{0, 0, views::ScaleToDisplay(640, layout), views::ScaleToDisplay(480, layout)};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(window_.get(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window_.get(), GWL_EXSTYLE)));
  info.ptMinTrackSize = POINT{r.right - r.left, r.bottom - r.top};
}

void MainFrame::SwitchTo(app::ScreenKind kind) {
  splitter_.SwitchTo(kind);
  SetPropW(window_.get(), kScreenProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(kind)));
}

app::Rect MainFrame::DisplayArea() const { return splitter_.DisplayArea(); }

void MainFrame::Relayout(const views::DisplayLayout& layout) { splitter_.Relayout(layout); }

bool MainFrame::ProbeDisplay(app::DisplayState& display) { return display_.Probe(display); }

bool MainFrame::IsMinimised() const { return IsIconic(window_.get()) != FALSE; }

// The client area takes the input's size, scaled down to fit the work area
// when it is larger, and the window is centred in the work area (its top
// edge never above it).  Before any input is known the window takes half the
// work area's width at 16:9.
bool MainFrame::FitToInput(int32_t width, int32_t height) {
  if (window_.get() == nullptr) return false;
  if (IsZoomed(window_.get())) ShowWindow(window_.get(), SW_RESTORE);
  const app::Rect work = controller_->Display().workArea;
  if (work.Width() <= 0 || work.Height() <= 0) return false;
  if (width <= 0 || height <= 0) {
    width = work.Width() / 2;
    height = width * 9 / 16;
  }
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window_.get(), GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_.get(), GWL_EXSTYLE));
  auto windowSize = [&](int32_t w, int32_t h) {
    RECT r{0, 0, w, h};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
  };
  SIZE size = windowSize(width, height);
  if (size.cx > work.Width() || size.cy > work.Height()) {
    int32_t aw = width + work.Width() - size.cx;
    int32_t ah = height + work.Height() - size.cy;
    const double rx = static_cast<double>(aw) / width;
    const double ry = static_cast<double>(ah) / height;
    if (ry > rx) {
      ah = static_cast<int32_t>(height * rx + 0.5);
    } else {
      aw = static_cast<int32_t>(width * ry + 0.5);
    }
    size = windowSize(std::max(aw, 1), std::max(ah, 1));
  }
  SetWindowPos(window_.get(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r;
  GetWindowRect(window_.get(), &r);
  const int32_t x = static_cast<int32_t>((work.left + work.right) / 2 - ((r.right - r.left) * 0.5 + 0.5));
  const int32_t y =
      std::max(work.top, (work.top + work.bottom) / 2 - static_cast<int32_t>((r.bottom - r.top) * 0.5 + 0.5));
  SetWindowPos(window_.get(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
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

}  // namespace shell
