// Simulated tablet-mode library.  InitPivra creates a hidden window of the
// given class; a mode change is the registered message
// "Velmora_Pivra_ModChg" with wParam = new mode, sent to that window (a test
// finds it with FindWindowW(L"PivraClass", nullptr)) or made in-process with
// PivraSim_SetMode.  Either way the library stores the mode and posts the
// same message with wParam = mode to the window given to InitPivra.
#include <windows.h>

#include "common/win32/unique_handle.h"

#include <atomic>
#include <cstdlib>
#include <string>

#include "pivra_mode.h"

#define PIVRA_API extern "C" __declspec(dllexport)

namespace {

std::atomic<int32_t> g_mode{pivra::kDesktopMode};
HWND g_frame = nullptr;
win32::UniqueWindow g_window;
UINT g_message = 0;
std::wstring g_class;
HINSTANCE g_instance = nullptr;

void ChangeMode(int32_t mode) {
  g_mode.store(mode);
  if (g_frame != nullptr && g_message != 0) PostMessageW(g_frame, g_message, static_cast<WPARAM>(mode), 0);
}

LRESULT CALLBACK ListenerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_message && g_message != 0) {
    ChangeMode(static_cast<int32_t>(wParam));
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
  return TRUE;
}

PIVRA_API int InitPivra(HWND frame, const wchar_t* className) {
  if (g_window || frame == nullptr || !IsWindow(frame) || className == nullptr || *className == L'\0') {
    return 0;
  }
  if (pivra::InitShouldFail(std::getenv("PIVRA_INIT"))) return 0;
  g_message = RegisterWindowMessageW(L"Velmora_Pivra_ModChg");
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ListenerProc;
  wc.hInstance = g_instance;
  wc.lpszClassName = className;
  if (RegisterClassExW(&wc) == 0) return 0;
  g_class = className;
  g_window.reset(CreateWindowExW(WS_EX_TOOLWINDOW, className, L"Pivra", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, g_instance, nullptr));
  if (!g_window) {
    UnregisterClassW(g_class.c_str(), g_instance);
    g_class.clear();
    return 0;
  }
  g_mode.store(pivra::ParseMode(std::getenv("PIVRA_MODE")));
  g_frame = frame;
  return 1;
}

// Safe to call without a successful InitPivra.
PIVRA_API void FinalizePivra() {
  g_window.reset();
  if (!g_class.empty()) UnregisterClassW(g_class.c_str(), g_instance);
  g_class.clear();
  g_frame = nullptr;
}

PIVRA_API int GetPivra() { return g_mode.load(); }

PIVRA_API void PivraSim_SetMode(int mode) { ChangeMode(mode); }
