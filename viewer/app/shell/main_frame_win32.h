#pragma once
// The viewer's only top-level window: its client area is the splitter with
// the screens' views; it turns window messages and timers into calls of the
// frame logic, and owns the device session and the settings store for its
// lifetime.
#include <windows.h>

#include <memory>
#include <set>

#include "app/frame_controller.h"
#include "app/bindings/built_in_display.h"
#include "app/bindings/session_binding.h"
#include "app/shell/pivra_binding_win32.h"
#include "app/shell/video_splitter_wnd_win32.h"
#include "common/win32/unique_handle.h"

namespace shell {

// The window property that carries the current screen kind (read by tests
// and tools from outside).
inline constexpr wchar_t kScreenProperty[] = L"TavrinScreenKind";
inline constexpr UINT kContinueMessage = WM_USER + 1;
// The system menu's "&Version" item.
inline constexpr UINT kAboutCommand = 0xE140;
inline constexpr UINT kVersionMenuString = 174;

class MainFrame : private app::FrameWindow, private app::ScreenViews, private app::FrameTimers {
 public:
  static bool RegisterWindowClass(HINSTANCE instance);

  // otherSession: a copy runs elsewhere; no device is opened.
  explicit MainFrame(bool otherSession);
  MainFrame(const MainFrame&) = delete;
  MainFrame& operator=(const MainFrame&) = delete;
  // Releases the settings store, then ends the device session.
  ~MainFrame() override;

  bool Create(HINSTANCE instance);
  HWND Handle() const { return window_.get(); }
  // Every message of the thread's loop before it is dispatched: user
  // activity, and the play view's keys and wheel from wherever the focus
  // is.  True when the message is done with.
  [[nodiscard]] bool PreTranslateMessage(const MSG& message);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnCreate();
  void OnDestroy();
  void OnGetMinMaxInfo(MINMAXINFO& info) const;
  void OnPowerBroadcast(WPARAM event, LPARAM data);
  [[nodiscard]] bool OnSysCommand(WPARAM command);
  void AddVersionMenuItem();
  void ShowAbout();
  // The end of the session does not wait for the message loop: the
  // settings are restored and the device closed before the answer.
  void ReleaseSession();

  // ScreenViews
  void SwitchTo(app::ScreenKind kind) override;
  app::Rect DisplayArea() const override;
  void Relayout(const views::DisplayLayout& layout) override;
  uint32_t CheckState() const override;
  void PauseChecks() override;
  void ResumeChecks() override;
  uint32_t CheckOverlap() override;
  void SetPlaneShown(bool shown) override;
  // FrameWindow
  bool ProbeDisplay(app::DisplayState& display) override;
  bool IsMinimised() const override;
  bool FitToInput(int32_t width, int32_t height, int32_t barHeight) override;
  void EnterFullScreen() override;
  void LeaveFullScreen() override;
  void MinimiseToForeground() override;
  void Close() override;
  void KeepAwake() override;
  // FrameTimers
  void Start(uint32_t id, uint32_t ms) override;
  void Kill(uint32_t id) override;
  bool IsRunning(uint32_t id) const override;
  uint64_t NowMs() const override;

  const bool otherSession_;
  win32::UniqueWindow window_;  // given up at WM_NCDESTROY, when the window is gone
  win32::UniquePowerNotify powerNotify_;
  win32::UniqueSessionNotify sessionNotify_;
  app::BuiltInDisplay display_;
  std::unique_ptr<app::SessionBinding> session_;
  std::unique_ptr<app::PlaneOutput> plane_;
  PivraBinding pivra_;
  CVideoSplitterWnd splitter_;
  std::unique_ptr<app::FrameController> controller_;
  std::set<uint32_t> timers_;
};

}  // namespace shell
