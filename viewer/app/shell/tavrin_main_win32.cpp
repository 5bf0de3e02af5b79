// The application: single instance, then the main frame and its message loop.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/instance_claim.h"
#include "app/shell/instance_mutexes_win32.h"
#include "app/shell/main_frame_win32.h"

namespace {

// This user's copy runs in this session: bring it to the front.
void HandOver() {
  HWND running = FindWindowW(app::kMainWindowClass, nullptr);
  if (running == nullptr) return;
  if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
  SetForegroundWindow(running);
}

int RunMessageLoop(shell::MainFrame& frame) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (frame.PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterApplicationRestart(nullptr, 0);

  shell::Win32InstanceMutexes mutexes;
  const app::StartKind start = app::ClaimInstance(mutexes);
  if (start == app::StartKind::HandOver) {
    HandOver();
    return 0;
  }
  if (!shell::MainFrame::RegisterWindowClass(instance)) return 1;
  auto frame = std::make_unique<shell::MainFrame>(start == app::StartKind::OtherSession);
  if (!frame->Create(instance)) return 0;
  ShowWindow(frame->Handle(), SW_SHOW);
  UpdateWindow(frame->Handle());
  const int code = RunMessageLoop(*frame);
  frame.reset();
  return code;
}
