#pragma once
// The owner of every platform handle, GDI object, COM pointer and
// registration in this tree (Windows builds only): common::UniqueOwner with
// a policy per kind; no other class closes a handle itself.
//
// Move-only.  Closing keeps the thread's last error, so a caller can read
// GetLastError() after an owner went out of scope on a failure path.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <oleauto.h>
#include <setupapi.h>
#include <wtsapi32.h>

#include <type_traits>
#include <utility>

#include "common/unique_owner.h"

namespace win32 {

namespace policy {

// Closing keeps the thread's last error.
template <typename Kind>
struct KeepLastError : Kind {
  static void Close(const typename Kind::Type& value) noexcept {
    const DWORD lastError = ::GetLastError();
    Kind::Close(value);
    ::SetLastError(lastError);
  }
};

}  // namespace policy

template <typename Policy>
using UniqueHandle = common::UniqueOwner<policy::KeepLastError<Policy>>;

namespace policy {

// Kinds whose empty value is zero / null.
template <typename T, auto CloseFn>
using NullIsEmpty = common::ZeroIsEmpty<T, CloseFn>;

inline void CloseKernel(HANDLE h) noexcept { ::CloseHandle(h); }
inline void CloseKey(HKEY key) noexcept { ::RegCloseKey(key); }
inline void CloseGdi(HGDIOBJ object) noexcept { ::DeleteObject(object); }
inline void CloseMemoryDc(HDC dc) noexcept { ::DeleteDC(dc); }
inline void CloseModule(HMODULE module) noexcept { ::FreeLibrary(module); }
inline void CloseWindow(HWND window) noexcept { ::DestroyWindow(window); }
inline void CloseIcon(HICON icon) noexcept { ::DestroyIcon(icon); }
inline void ClosePowerNotify(HPOWERNOTIFY n) noexcept { ::UnregisterPowerSettingNotification(n); }
inline void CloseSessionNotify(HWND window) noexcept { ::WTSUnRegisterSessionNotification(window); }
inline void CloseEventSource(HANDLE source) noexcept { ::DeregisterEventSource(source); }
inline void CloseTouchRegistration(HWND window) noexcept { ::UnregisterTouchWindow(window); }
inline void CloseEventLog(HANDLE log) noexcept { ::CloseEventLog(log); }
inline void CloseBstr(BSTR text) noexcept { ::SysFreeString(text); }

// SetupAPI's device information sets use INVALID_HANDLE_VALUE for "none".
struct DeviceInfoSet {
  using Type = HDEVINFO;
  static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsEmpty(Type set) noexcept { return set == INVALID_HANDLE_VALUE || set == nullptr; }
  static void Close(Type set) noexcept { ::SetupDiDestroyDeviceInfoList(set); }
};

// Memory the system allocated for the caller with LocalAlloc.
template <typename T>
struct LocalMemory {
  using Type = T*;
  static constexpr Type Empty() noexcept { return nullptr; }
  static bool IsEmpty(Type p) noexcept { return p == nullptr; }
  static void Close(Type p) noexcept { ::LocalFree(p); }
};

// A VARIANT's contents (strings, interfaces); empty is VT_EMPTY.
struct Variant {
  using Type = VARIANT;
  static Type Empty() noexcept {
    VARIANT v;
    ::VariantInit(&v);
    return v;
  }
  static bool IsEmpty(const Type& v) noexcept { return v.vt == VT_EMPTY; }
  static void Close(Type v) noexcept { ::VariantClear(&v); }
};

// File and device handles use INVALID_HANDLE_VALUE for "none" (null too, to
// be safe with calls that return either).
struct File {
  using Type = HANDLE;
  static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsEmpty(Type h) noexcept { return h == INVALID_HANDLE_VALUE || h == nullptr; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};

// A window's DC goes back to the window it came from.
struct WindowDcValue {
  HWND window = nullptr;
  HDC dc = nullptr;
};
struct WindowDc {
  using Type = WindowDcValue;
  static constexpr Type Empty() noexcept { return {}; }
  static bool IsEmpty(const Type& v) noexcept { return v.dc == nullptr; }
  static void Close(const Type& v) noexcept { ::ReleaseDC(v.window, v.dc); }
};

// A registered window class goes when its owner does.
struct WindowClassValue {
  ATOM atom = 0;
  HINSTANCE instance = nullptr;
};
struct WindowClass {
  using Type = WindowClassValue;
  static constexpr Type Empty() noexcept { return {}; }
  static bool IsEmpty(const Type& v) noexcept { return v.atom == 0; }
  static void Close(const Type& v) noexcept {
    ::UnregisterClassW(reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(v.atom)), v.instance);
  }
};

// An object selected into a DC: letting go selects the previous one back.
struct SelectionValue {
  HDC dc = nullptr;
  HGDIOBJ previous = nullptr;
};
struct Selection {
  using Type = SelectionValue;
  static constexpr Type Empty() noexcept { return {}; }
  static bool IsEmpty(const Type& v) noexcept {
    return v.dc == nullptr || v.previous == nullptr || v.previous == HGDI_ERROR;
  }
  static void Close(const Type& v) noexcept { ::SelectObject(v.dc, v.previous); }
};

// An activation context (manifest) made with CreateActCtxW.
struct ActivationContext {
  using Type = HANDLE;
  static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsEmpty(Type h) noexcept { return h == INVALID_HANDLE_VALUE || h == nullptr; }
  static void Close(Type h) noexcept { ::ReleaseActCtx(h); }
};

// A window subclass installed with SetWindowSubclass.
struct SubclassValue {
  HWND window = nullptr;
  SUBCLASSPROC procedure = nullptr;
  UINT_PTR id = 0;
};
struct Subclass {
  using Type = SubclassValue;
  static constexpr Type Empty() noexcept { return {}; }
  static bool IsEmpty(const Type& v) noexcept { return v.window == nullptr; }
  static void Close(const Type& v) noexcept { ::RemoveWindowSubclass(v.window, v.procedure, v.id); }
};

template <typename I>
struct Com {
  using Type = I*;
  static constexpr Type Empty() noexcept { return nullptr; }
  static bool IsEmpty(Type p) noexcept { return p == nullptr; }
  static void Close(Type p) noexcept { p->Release(); }
};

// A COM apartment this thread entered; leaving it is CoUninitialize.
struct Apartment {
  using Type = bool;
  static constexpr Type Empty() noexcept { return false; }
  static bool IsEmpty(Type entered) noexcept { return !entered; }
  static void Close(Type) noexcept { ::CoUninitialize(); }
};

// Memory from the COM allocator (formats, strings a COM call handed out).
template <typename T>
struct CoTaskMem {
  using Type = T*;
  static constexpr Type Empty() noexcept { return nullptr; }
  static bool IsEmpty(Type p) noexcept { return p == nullptr; }
  static void Close(Type p) noexcept { ::CoTaskMemFree(p); }
};

// A property value; clearing it frees what it points to.
struct PropVariant {
  using Type = PROPVARIANT;
  static Type Empty() noexcept { return Type{}; }
  static bool IsEmpty(const Type& v) noexcept { return v.vt == VT_EMPTY; }
  static void Close(Type v) noexcept { ::PropVariantClear(&v); }
};

// A device notification client registered with an audio endpoint
// enumerator (templates, so that only users include the audio headers).
template <typename Enumerator, typename Client>
struct EndpointNotificationValue {
  Enumerator* enumerator = nullptr;
  Client* client = nullptr;
};
template <typename Enumerator, typename Client>
struct EndpointNotification {
  using Type = EndpointNotificationValue<Enumerator, Client>;
  static constexpr Type Empty() noexcept { return {}; }
  static bool IsEmpty(const Type& v) noexcept { return v.enumerator == nullptr || v.client == nullptr; }
  static void Close(const Type& v) noexcept {
    v.enumerator->UnregisterEndpointNotificationCallback(v.client);
  }
};

}  // namespace policy

using UniqueKernelHandle = UniqueHandle<policy::NullIsEmpty<HANDLE, policy::CloseKernel>>;
using UniqueFile = UniqueHandle<policy::File>;
using UniqueKey = UniqueHandle<policy::NullIsEmpty<HKEY, policy::CloseKey>>;
using UniqueBrush = UniqueHandle<policy::NullIsEmpty<HBRUSH, policy::CloseGdi>>;
using UniquePen = UniqueHandle<policy::NullIsEmpty<HPEN, policy::CloseGdi>>;
using UniqueFont = UniqueHandle<policy::NullIsEmpty<HFONT, policy::CloseGdi>>;
using UniqueBitmap = UniqueHandle<policy::NullIsEmpty<HBITMAP, policy::CloseGdi>>;
using UniqueRegion = UniqueHandle<policy::NullIsEmpty<HRGN, policy::CloseGdi>>;
using UniqueMemoryDc = UniqueHandle<policy::NullIsEmpty<HDC, policy::CloseMemoryDc>>;
using UniqueWindowDc = UniqueHandle<policy::WindowDc>;
using UniqueSelection = UniqueHandle<policy::Selection>;
using UniqueWindowClass = UniqueHandle<policy::WindowClass>;
using UniqueModule = UniqueHandle<policy::NullIsEmpty<HMODULE, policy::CloseModule>>;
using UniqueWindow = UniqueHandle<policy::NullIsEmpty<HWND, policy::CloseWindow>>;
using UniqueIcon = UniqueHandle<policy::NullIsEmpty<HICON, policy::CloseIcon>>;
using UniqueActivationContext = UniqueHandle<policy::ActivationContext>;
using UniqueSubclass = UniqueHandle<policy::Subclass>;
using UniquePowerNotify = UniqueHandle<policy::NullIsEmpty<HPOWERNOTIFY, policy::ClosePowerNotify>>;
using UniqueSessionNotify = UniqueHandle<policy::NullIsEmpty<HWND, policy::CloseSessionNotify>>;
// A window registered for touch input with RegisterTouchWindow.
using UniqueTouchRegistration = UniqueHandle<policy::NullIsEmpty<HWND, policy::CloseTouchRegistration>>;
using UniqueEventSource = UniqueHandle<policy::NullIsEmpty<HANDLE, policy::CloseEventSource>>;
using UniqueEventLog = UniqueHandle<policy::NullIsEmpty<HANDLE, policy::CloseEventLog>>;
using UniqueDeviceInfoSet = UniqueHandle<policy::DeviceInfoSet>;
template <typename T>
using UniqueLocalMemory = UniqueHandle<policy::LocalMemory<T>>;
using UniqueBstr = UniqueHandle<policy::NullIsEmpty<BSTR, policy::CloseBstr>>;
using UniqueVariant = UniqueHandle<policy::Variant>;
template <typename I>
using ComPtr = UniqueHandle<policy::Com<I>>;
using ComApartment = UniqueHandle<policy::Apartment>;
template <typename T>
using UniqueCoTaskMem = UniqueHandle<policy::CoTaskMem<T>>;
using UniquePropVariant = UniqueHandle<policy::PropVariant>;
template <typename Enumerator, typename Client>
using UniqueEndpointNotification = UniqueHandle<policy::EndpointNotification<Enumerator, Client>>;

// The window's DC, released to it; empty when GetDC fails.
[[nodiscard]] inline UniqueWindowDc GetWindowDc(HWND window) noexcept {
  return UniqueWindowDc(policy::WindowDcValue{window, ::GetDC(window)});
}

// Registers a window class until the owner goes; empty when it failed.
[[nodiscard]] inline UniqueWindowClass RegisterWindowClass(const WNDCLASSW& wc) noexcept {
  return UniqueWindowClass(policy::WindowClassValue{::RegisterClassW(&wc), wc.hInstance});
}

// Selects `object` into `dc` until the guard goes; empty when the selection failed.
[[nodiscard]] inline UniqueSelection Select(HDC dc, HGDIOBJ object) noexcept {
  return UniqueSelection(policy::SelectionValue{dc, ::SelectObject(dc, object)});
}

// Enters a COM apartment on this thread.  An apartment of another model
// already entered (RPC_E_CHANGED_MODE) is usable but not ours to leave, so
// the owner is empty then; `ok` says whether COM can be used at all.
[[nodiscard]] inline ComApartment EnterComApartment(DWORD model, bool* ok = nullptr) noexcept {
  const HRESULT hr = ::CoInitializeEx(nullptr, model);
  if (ok != nullptr) *ok = SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
  return ComApartment(SUCCEEDED(hr));
}

// A COM pointer queried from another; empty when the interface is not there.
template <typename To, typename From>
[[nodiscard]] ComPtr<To> QueryInterfaceOf(From* from) noexcept {
  ComPtr<To> to;
  if (from != nullptr) {
    void* raw = nullptr;
    if (SUCCEEDED(from->QueryInterface(__uuidof(To), &raw))) to.reset(static_cast<To*>(raw));
  }
  return to;
}

}  // namespace win32
