// Drives a running viewer from outside, as the system and the user would:
// finds its main window, reads the screen it shows, sends it messages.
//
//   tavrin_probe wait-screen <kind> <seconds>   until the window shows <kind>; prints "screen N"
//   tavrin_probe screen                        prints "screen N" (0 when no window)
//   tavrin_probe windows                       prints "windows N": main windows of the viewer
//   tavrin_probe title                         prints "title <text>" (ASCII only)
//   tavrin_probe iconic                        prints "iconic 0|1"
//   tavrin_probe wait-iconic <0|1> <seconds>   until the window is (not) minimised
//   tavrin_probe send <what> [arg]             lock, unlock, logoff, continue, close, suspend,
//                                              display, monitor-off, monitor-on, tablet <mode>,
//                                              press (the message screen's button), minimise,
//                                              maximise, restore (the system commands)
//   tavrin_probe hold-global <seconds>         holds only the machine-wide instance mutex until a
//                                              viewer window has come and gone (at most <seconds>)
//   tavrin_probe display-view                  prints "view l t r b", the shown display view's client
//                                              area on the screen, or "view none"
//   tavrin_probe button                        prints "button l t r b", the shown message button's
//                                              screen rectangle, or "button none"
//   tavrin_probe wait-gone <seconds>           until no main window is left
//   tavrin_probe wait-button <kind> <seconds>  until the window shows <kind> with its button; prints
//                                              "screen N button X Y", X Y the screen point at the
//                                              button's middle (for a real click), or "screen N"
//   tavrin_probe wait-global <seconds>         until someone holds the machine-wide instance mutex
//   tavrin_probe window                        prints "window popup P zoomed Z iconic I rect l t r b
//                                              client w h"
//   tavrin_probe control <id>                  prints "control X Y", the middle of the shown controller
//                                              view's control <id> on the screen
//   tavrin_probe cover <l> <t> <r> <b> <s> [timed]
//                                              shows a topmost window of this program there for <s>
//                                              seconds (another program over the viewer); timed:
//                                              prints "overlapped after T" (or "never") at the end,
//                                              T counted from when the viewer was seen maximised
//   tavrin_probe resize <w> <h>                asks the window for this size (as a user's drag would)
//   tavrin_probe wait-about <seconds>          until the About box shows; prints its four version
//                                              texts, then closes it with OK
//   tavrin_probe menus                         prints "menus N": popup menus shown on the screen
//   tavrin_probe first-screen <kind> <seconds> prints "after T": seconds until <kind> first shows
//   tavrin_probe end-session <state file>      sends the end of the session's query; prints "answer N"
//                                              and the state file's "open" line as it stands the moment
//                                              the answer came
// Exit code 0 on success, 1 when a wait ran out or the window is missing.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "common/win32/unique_handle.h"

namespace {

constexpr wchar_t kClass[] = L"Velmora Tavrin MainWndClass";
constexpr wchar_t kScreenProperty[] = L"TavrinScreenKind";

HWND MainWindow() { return FindWindowW(kClass, nullptr); }

// The shown display view's button: splitter (0xE900), display row's pane
// (0xE902), its shown view (0xE900), the button (1021).
HWND MessageButton(HWND main) {
  HWND splitter = GetDlgItem(main, 0xE900);
  HWND pane = splitter != nullptr ? GetDlgItem(splitter, 0xE902) : nullptr;
  HWND view = pane != nullptr ? GetDlgItem(pane, 0xE900) : nullptr;
  return view != nullptr ? GetDlgItem(view, 1021) : nullptr;
}

int ScreenOf(HWND hwnd) {
  return hwnd == nullptr ? 0 : static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(hwnd, kScreenProperty)));
}

int CountWindows() {
  int n = 0;
  HWND h = nullptr;
  while ((h = FindWindowExW(nullptr, h, kClass, nullptr)) != nullptr) ++n;
  return n;
}

bool Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, 10000, &result) != 0;
}

// The power-setting record must be in the receiver's memory.
bool SendMonitorPower(HWND hwnd, BYTE state) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  const win32::UniqueKernelHandle owned(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid));
  if (!owned) return false;
  HANDLE process = owned.get();
  struct {
    POWERBROADCAST_SETTING head;
    BYTE rest[3];
  } record{};
  record.head.PowerSetting = {0x02731015, 0x4510, 0x4526, {0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA}};
  record.head.DataLength = 4;
  record.head.Data[0] = state;
  void* remote = VirtualAllocEx(process, nullptr, sizeof record, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  bool ok = remote != nullptr && WriteProcessMemory(process, remote, &record, sizeof record, nullptr) &&
            Send(hwnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(remote));
  if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return ok;
}

int SendCommand(const std::wstring& what, int arg) {
  HWND hwnd = MainWindow();
  if (hwnd == nullptr) {
    std::printf("no window\n");
    return 1;
  }
  bool ok = false;
  if (what == L"lock")
    ok = Send(hwnd, WM_WTSSESSION_CHANGE, 7, 0);
  else if (what == L"unlock")
    ok = Send(hwnd, WM_WTSSESSION_CHANGE, 8, 0);
  else if (what == L"logoff")
    ok = Send(hwnd, WM_WTSSESSION_CHANGE, 6, 0);
  else if (what == L"continue")
    ok = Send(hwnd, WM_USER + 1, 0, 0);
  else if (what == L"close")
    ok = PostMessageW(hwnd, WM_CLOSE, 0, 0) != 0;
  else if (what == L"minimise")
    ok = ShowWindowAsync(hwnd, SW_MINIMIZE) != 0;
  else if (what == L"maximise")
    ok = PostMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0) != 0;
  else if (what == L"restore")
    ok = PostMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0) != 0;
  else if (what == L"press") {
    // The message screen's button, clicked (posted: its action may end the window).
    HWND button = MessageButton(hwnd);
    ok = button != nullptr && IsWindowVisible(button) && PostMessageW(button, BM_CLICK, 0, 0) != 0;
  } else if (what == L"suspend")
    ok = Send(hwnd, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  else if (what == L"display")
    ok = Send(hwnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1280));
  else if (what == L"monitor-off")
    ok = SendMonitorPower(hwnd, 0);
  else if (what == L"monitor-on")
    ok = SendMonitorPower(hwnd, 1);
  else if (what == L"tablet") {
    HWND listener = FindWindowW(L"PivraClass", nullptr);
    ok = listener != nullptr && Send(listener, RegisterWindowMessageW(L"Velmora_Pivra_ModChg"), arg, 0);
  } else {
    std::printf("unknown message\n");
    return 2;
  }
  std::printf(ok ? "sent\n" : "send failed\n");
  return ok ? 0 : 1;
}

// The shown controller view's control: splitter, controller row's pane
// (0xE903), its shown view (0xE900), the control.
HWND ControllerControl(HWND main, int id) {
  HWND splitter = GetDlgItem(main, 0xE900);
  HWND pane = splitter != nullptr ? GetDlgItem(splitter, 0xE903) : nullptr;
  HWND view = pane != nullptr ? GetDlgItem(pane, 0xE900) : nullptr;
  return view != nullptr ? GetDlgItem(view, id) : nullptr;
}

LRESULT CALLBACK CoverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

int Cover(const RECT& r, double seconds, bool timed) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = CoverProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TavrinProbeCover";
  RegisterClassW(&wc);
  win32::UniqueWindow owned(CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"cover", WS_POPUP | WS_VISIBLE,
                                            r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                                            nullptr, wc.hInstance, nullptr));
  if (!owned) return 1;
  HWND cover = owned.get();
  SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  std::printf("cover\n");
  std::fflush(stdout);
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  ULONGLONG zoomed = 0;
  ULONGLONG overlapped = 0;
  while (GetTickCount64() < end) {
    HWND main = MainWindow();
    if (zoomed == 0 && main != nullptr && IsZoomed(main)) zoomed = GetTickCount64();
    if (zoomed != 0 && overlapped == 0 && ScreenOf(main) == 7) overlapped = GetTickCount64();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    // Stays above the viewer even when that is brought to the front.
    SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Sleep(50);
  }
  owned.reset();
  if (timed) {
    if (overlapped != 0) {
      std::printf("overlapped after %.2f\n", (overlapped - zoomed) / 1000.0);
    } else {
      std::printf("never\n");
    }
  }
  return 0;
}

// The About box the viewer owns, when it shows.
HWND AboutBox() {
  HWND main = MainWindow();
  HWND dialog = nullptr;
  while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr) {
    if (GetWindow(dialog, GW_OWNER) == main && IsWindowVisible(dialog)) return dialog;
  }
  return nullptr;
}

// A window's text, anything beyond ASCII as '?'.
std::string Ascii(HWND window) {
  wchar_t text[256] = {};
  if (window != nullptr) GetWindowTextW(window, text, 256);
  std::string ascii;
  for (const wchar_t* p = text; *p != 0; ++p) ascii += *p < 128 ? static_cast<char>(*p) : '?';
  return ascii;
}

bool WaitFor(double seconds, bool (*done)(int), int arg) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (;;) {
    if (done(arg)) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(50);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  const auto number = [&](int i, double fallback) {
    return argc > i ? std::wcstod(argv[i], nullptr) : fallback;
  };
  if (command == L"screen") {
    std::printf("screen %d\n", ScreenOf(MainWindow()));
    return 0;
  }
  if (command == L"iconic") {
    HWND hwnd = MainWindow();
    if (hwnd == nullptr) return 1;
    std::printf("iconic %d\n", IsIconic(hwnd) ? 1 : 0);
    return 0;
  }
  if (command == L"wait-iconic" && argc >= 3) {
    const int want = static_cast<int>(number(2, 1));
    const bool ok = WaitFor(
        number(3, 10),
        [](int w) {
          HWND hwnd = MainWindow();
          return hwnd != nullptr && (IsIconic(hwnd) ? 1 : 0) == w;
        },
        want);
    std::printf(ok ? "iconic %d\n" : "not iconic %d\n", want);
    return ok ? 0 : 1;
  }
  if (command == L"windows") {
    std::printf("windows %d\n", CountWindows());
    return 0;
  }
  if (command == L"title") {
    HWND hwnd = MainWindow();
    if (hwnd == nullptr) return 1;
    std::printf("title %s\n", Ascii(hwnd).c_str());
    return 0;
  }
  if (command == L"wait-screen" && argc >= 3) {
    const int kind = static_cast<int>(number(2, 0));
    const bool ok = WaitFor(
        number(3, 10), [](int k) { return ScreenOf(MainWindow()) == k; }, kind);
    std::printf("screen %d\n", ScreenOf(MainWindow()));
    return ok ? 0 : 1;
  }
  if (command == L"wait-gone") {
    const bool ok = WaitFor(
        number(2, 10), [](int) { return MainWindow() == nullptr; }, 0);
    std::printf(ok ? "gone\n" : "still there\n");
    return ok ? 0 : 1;
  }
  if (command == L"display-view") {
    HWND main = MainWindow();
    HWND splitter = main != nullptr ? GetDlgItem(main, 0xE900) : nullptr;
    HWND pane = splitter != nullptr ? GetDlgItem(splitter, 0xE902) : nullptr;
    HWND view = pane != nullptr ? GetDlgItem(pane, 0xE900) : nullptr;
    RECT r{};
    if (view == nullptr || !GetClientRect(view, &r)) {
      std::printf("view none\n");
      return 1;
    }
    MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&r), 2);
    std::printf("view %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (command == L"button") {
    HWND button = MainWindow() != nullptr ? MessageButton(MainWindow()) : nullptr;
    RECT r{};
    if (button == nullptr || !IsWindowVisible(button) || !GetWindowRect(button, &r)) {
      std::printf("button none\n");
      return 1;
    }
    std::printf("button %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (command == L"wait-button" && argc >= 3) {
    const int kind = static_cast<int>(number(2, 0));
    const bool ok = WaitFor(
        number(3, 10),
        [](int k) {
          HWND button = MainWindow() != nullptr ? MessageButton(MainWindow()) : nullptr;
          return ScreenOf(MainWindow()) == k && button != nullptr && IsWindowVisible(button);
        },
        kind);
    RECT r{};
    HWND button = MainWindow() != nullptr ? MessageButton(MainWindow()) : nullptr;
    if (!ok || button == nullptr || !GetWindowRect(button, &r)) {
      std::printf("screen %d\n", ScreenOf(MainWindow()));
      return 1;
    }
    std::printf("screen %d button %ld %ld\n", kind, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return 0;
  }
  if (command == L"window") {
    HWND hwnd = MainWindow();
    RECT r{}, c{};
    if (hwnd == nullptr || !GetWindowRect(hwnd, &r) || !GetClientRect(hwnd, &c)) return 1;
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    std::printf("window popup %d zoomed %d iconic %d rect %ld %ld %ld %ld client %ld %ld\n",
                (style & WS_POPUP) != 0 ? 1 : 0, IsZoomed(hwnd) ? 1 : 0, IsIconic(hwnd) ? 1 : 0, r.left,
                r.top, r.right, r.bottom, c.right, c.bottom);
    return 0;
  }
  if (command == L"control" && argc >= 3) {
    HWND control =
        MainWindow() != nullptr ? ControllerControl(MainWindow(), static_cast<int>(number(2, 0))) : nullptr;
    RECT r{};
    if (control == nullptr || !IsWindowVisible(control) || !GetWindowRect(control, &r)) {
      std::printf("control none\n");
      return 1;
    }
    std::printf("control %ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return 0;
  }
  if (command == L"cover" && argc >= 7) {
    const RECT r{static_cast<LONG>(number(2, 0)), static_cast<LONG>(number(3, 0)),
                 static_cast<LONG>(number(4, 0)), static_cast<LONG>(number(5, 0))};
    return Cover(r, number(6, 1), argc >= 8 && std::wstring(argv[7]) == L"timed");
  }
  if (command == L"resize" && argc >= 4) {
    HWND hwnd = MainWindow();
    if (hwnd == nullptr) return 1;
    SetWindowPos(hwnd, nullptr, 0, 0, static_cast<int>(number(2, 0)), static_cast<int>(number(3, 0)),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    std::printf("resized\n");
    return 0;
  }
  if (command == L"wait-about") {
    const bool ok = WaitFor(
        number(2, 10), [](int) { return AboutBox() != nullptr; }, 0);
    HWND box = AboutBox();
    if (!ok || box == nullptr) {
      std::printf("no about box\n");
      return 1;
    }
    std::printf("about program '%s' driver '%s' firmware '%s' api '%s'\n",
                Ascii(GetDlgItem(box, 1026)).c_str(), Ascii(GetDlgItem(box, 1027)).c_str(),
                Ascii(GetDlgItem(box, 1028)).c_str(), Ascii(GetDlgItem(box, 1029)).c_str());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
  }
  if (command == L"menus") {
    int n = 0;
    HWND menu = nullptr;
    while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) != nullptr)
      n += IsWindowVisible(menu) ? 1 : 0;
    std::printf("menus %d\n", n);
    return 0;
  }
  if (command == L"first-screen" && argc >= 4) {
    // Polled: a late look only makes the time longer, never shorter.
    const int kind = static_cast<int>(number(2, 0));
    const ULONGLONG start = GetTickCount64();
    const bool ok = WaitFor(
        number(3, 10), [](int k) { return ScreenOf(MainWindow()) == k; }, kind);
    std::printf(ok ? "after %.2f\n" : "never (%.2f)\n", (GetTickCount64() - start) / 1000.0);
    return ok ? 0 : 1;
  }
  if (command == L"end-session" && argc >= 3) {
    HWND hwnd = MainWindow();
    if (hwnd == nullptr) return 1;
    const LRESULT answer = SendMessageW(hwnd, WM_QUERYENDSESSION, 0, 0);
    std::string open = "open ?";
    if (FILE* f = _wfopen(argv[2], L"r")) {
      char line[128];
      while (std::fgets(line, sizeof line, f) != nullptr) {
        if (std::strncmp(line, "open ", 5) == 0) open.assign(line, std::strcspn(line, "\r\n"));
      }
      std::fclose(f);
    }
    std::printf("answer %d %s\n", static_cast<int>(answer), open.c_str());
    return 0;
  }
  if (command == L"send" && argc >= 3) return SendCommand(argv[2], static_cast<int>(number(3, 0)));
  if (command == L"wait-global") {
    const bool ok = WaitFor(
        number(2, 10),
        [](int) {
          return static_cast<bool>(
              win32::UniqueKernelHandle(OpenMutexW(SYNCHRONIZE, FALSE, L"Global\\TavrinGlobalMutex")));
        },
        0);
    std::printf(ok ? "held\n" : "free\n");
    return ok ? 0 : 1;
  }
  if (command == L"hold-global") {
    const win32::UniqueKernelHandle mutex(CreateMutexW(nullptr, TRUE, L"Global\\TavrinGlobalMutex"));
    if (!mutex) return 1;
    std::printf("holding\n");
    std::fflush(stdout);
    // Until a viewer window has come and gone, or the time is up.
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(number(2, 10) * 1000);
    bool seen = false;
    while (GetTickCount64() < end) {
      const bool present = MainWindow() != nullptr;
      if (seen && !present) break;
      seen = seen || present;
      Sleep(50);
    }
    return 0;
  }
  return 2;
}
