// Looks at an installation as Windows tools do, for installer_test.sh:
//
//   installer_probe event-message SOURCE TEXT
//     The Event Viewer's way of showing an entry of SOURCE: the message file
//     registered for the source, event id 1 formatted with the newest
//     entry's insertion strings read back from the Application log, or with
//     TEXT where the log cannot be read back.  Prints "file <path>",
//     "types <n>", "readback <yes|no>" and "message <lang> <text>" for the
//     neutral lookup and each language of the message table.
//   installer_probe shortcut LNK
//     Prints "target <path>" of a shell link.
//   installer_probe message-box TITLE SECONDS BUTTON
//     Waits for a message box titled TITLE (owned by another window), prints "text <its text>" and
//     presses its button of id BUTTON (1 OK, 6 Yes).
//   installer_probe press TITLE SECONDS BUTTON
//     Waits for a window titled TITLE (not a message box) whose button of id
//     BUTTON is enabled, and presses it (1 Next/Install, 2 Cancel).
//   installer_probe dump KEY...
//     Prints each HKLM key below KEY ("[path]", or "[path] missing") and its
//     values sorted by name, "name=dword:0x..", "name=sz:..", "name=expand_sz:..".
//   installer_probe hold-module PATH EVENT
//     Loads the DLL PATH, prints "held" and keeps it loaded until the named
//     event EVENT is set (at most 60 s).
//   installer_probe set-event EVENT
// Exit code 0 when every step worked, 1 otherwise (with "error <what>").

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/win32/unique_handle.h"

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

int Fail(const char* what) {
  std::printf("error %s (%lu)\n", what, GetLastError());
  return 1;
}

// The newest entry of `source` with event id 1: its first insertion string.
bool ReadBackNewest(const std::wstring& source, std::wstring& text) {
  const win32::UniqueEventLog log(OpenEventLogW(nullptr, L"Application"));
  if (!log) return false;
  std::vector<BYTE> buffer(64 * 1024);
  DWORD read = 0;
  DWORD needed = 0;
  while (ReadEventLogW(log.get(), EVENTLOG_SEQUENTIAL_READ | EVENTLOG_BACKWARDS_READ, 0, buffer.data(),
                       static_cast<DWORD>(buffer.size()), &read, &needed)) {
    for (DWORD at = 0; at + sizeof(EVENTLOGRECORD) <= read;) {
      const auto* record = reinterpret_cast<const EVENTLOGRECORD*>(buffer.data() + at);
      if (record->Length == 0) break;
      const auto* name = reinterpret_cast<const wchar_t*>(record + 1);
      if (source == name && (record->EventID & 0xFFFF) == 1 && record->NumStrings >= 1) {
        text = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + record->StringOffset);
        return true;
      }
      at += record->Length;
    }
  }
  return false;
}

int EventMessage(const std::wstring& source, std::wstring text) {
  const std::wstring path = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\" + source;
  win32::UniqueKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    return Fail("no event source key");
  wchar_t raw[MAX_PATH] = {};
  DWORD bytes = sizeof(raw);
  if (RegGetValueW(key.get(), nullptr, L"EventMessageFile", RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, raw,
                   &bytes) != ERROR_SUCCESS)
    return Fail("no EventMessageFile of type REG_EXPAND_SZ");
  wchar_t file[MAX_PATH] = {};
  if (ExpandEnvironmentStringsW(raw, file, MAX_PATH) == 0) return Fail("expanding EventMessageFile");
  DWORD types = 0;
  bytes = sizeof(types);
  if (RegGetValueW(key.get(), nullptr, L"TypesSupported", RRF_RT_REG_DWORD, nullptr, &types, &bytes) !=
      ERROR_SUCCESS)
    return Fail("no TypesSupported");
  std::printf("file %s\ntypes %lu\n", Utf8(file).c_str(), types);

  const bool readBack = ReadBackNewest(source, text);
  std::printf("readback %s\n", readBack ? "yes" : "no");

  const win32::UniqueModule module(
      LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!module) return Fail("loading the message file");
  const DWORD_PTR args[] = {reinterpret_cast<DWORD_PTR>(text.c_str())};
  for (const DWORD lang : {0x0000u, 0x0409u, 0x040Cu, 0x0411u}) {
    wchar_t message[1024] = {};
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, module.get(), 1, lang,
                       message, 1024, reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(args)));
    if (n == 0) return Fail("formatting event id 1");
    std::printf("message %04lx %s\n", lang, Utf8(std::wstring(message, n)).c_str());
  }
  return 0;
}

int Shortcut(const std::wstring& lnk) {
  bool comOk = false;
  const win32::ComApartment apartment = win32::EnterComApartment(COINIT_APARTMENTTHREADED, &comOk);
  if (!comOk) return Fail("COM");
  win32::ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.put()))))
    return Fail("no shell link object");
  const auto file = win32::QueryInterfaceOf<IPersistFile>(link.get());
  if (!file || FAILED(file->Load(lnk.c_str(), STGM_READ))) return Fail("loading the shortcut");
  wchar_t target[MAX_PATH] = {};
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, 0))) return Fail("reading the shortcut's target");
  std::printf("target %s\n", Utf8(target).c_str());
  return 0;
}

// A message box's text is the static control of id 0xFFFF.
constexpr int kMessageBoxText = 0xFFFF;

struct Search {
  const wchar_t* title;
  bool messageBox;
  int button;
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  std::wstring name(title);
  while (!name.empty() && name.back() == L' ') name.pop_back();  // the setup's caption ends in a blank
  if (!IsWindowVisible(window) || name != search.title) return TRUE;
  // The setup's own window has unnamed statics (id 0xFFFF) too, but no owner.
  const bool isMessageBox =
      GetWindow(window, GW_OWNER) != nullptr && GetDlgItem(window, kMessageBoxText) != nullptr;
  const HWND button = GetDlgItem(window, search.button);
  if (isMessageBox != search.messageBox || button == nullptr || !IsWindowEnabled(button)) return TRUE;
  search.found = window;
  return FALSE;
}

int PressButton(const std::wstring& title, int seconds, int button, bool messageBox) {
  Search search{title.c_str(), messageBox, button, nullptr};
  for (int i = 0; i < seconds * 10 && search.found == nullptr; ++i) {
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) Sleep(100);
  }
  if (search.found == nullptr) return Fail("no such window");
  if (messageBox) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(search.found, kMessageBoxText, text, 1024);
    std::printf("text %s\n", Utf8(text).c_str());
  }
  PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(search.found, button)));
  std::printf("pressed\n");
  return 0;
}

std::string ValueText(DWORD type, const std::vector<BYTE>& data) {
  const auto text = [&] {
    std::wstring t(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    while (!t.empty() && t.back() == L'\0') t.pop_back();
    return Utf8(t);
  };
  char number[32];
  switch (type) {
    case REG_DWORD:
      if (data.size() != 4) break;
      std::snprintf(number, sizeof(number), "dword:0x%lx", *reinterpret_cast<const DWORD*>(data.data()));
      return number;
    case REG_SZ:
      return "sz:" + text();
    case REG_EXPAND_SZ:
      return "expand_sz:" + text();
    default:
      break;
  }
  std::snprintf(number, sizeof(number), "type %lu, %zu bytes", type, data.size());
  return number;
}

void DumpKey(const std::wstring& path) {
  win32::UniqueKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    std::printf("[%s] missing\n", Utf8(path).c_str());
    return;
  }
  std::printf("[%s]\n", Utf8(path).c_str());
  std::vector<std::pair<std::wstring, std::string>> values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    DWORD type = 0;
    std::vector<BYTE> data(4096);
    DWORD bytes = static_cast<DWORD>(data.size());
    if (RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, data.data(), &bytes) != ERROR_SUCCESS)
      break;
    data.resize(bytes);
    values.emplace_back(std::wstring(name, nameLength), ValueText(type, data));
  }
  std::sort(values.begin(), values.end());
  for (const auto& [name, text] : values) std::printf("%s=%s\n", Utf8(name).c_str(), text.c_str());
  std::vector<std::wstring> subkeys;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key.get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    subkeys.emplace_back(name, nameLength);
  }
  std::sort(subkeys.begin(), subkeys.end());
  for (const auto& sub : subkeys) DumpKey(path + L"\\" + sub);
}

int HoldModule(const std::wstring& path, const std::wstring& event) {
  const win32::UniqueKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
  if (!done) return Fail("creating the event");
  const win32::UniqueModule module(LoadLibraryW(path.c_str()));
  if (!module) return Fail("loading the module");
  std::printf("held\n");
  std::fflush(stdout);
  return WaitForSingleObject(done.get(), 60000) == WAIT_OBJECT_0 ? 0 : Fail("event not set");
}

int SetNamedEvent(const std::wstring& event) {
  const win32::UniqueKernelHandle handle(OpenEventW(EVENT_MODIFY_STATE, FALSE, event.c_str()));
  return handle && SetEvent(handle.get()) ? 0 : Fail("setting the event");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"event-message" && argc == 4) return EventMessage(argv[2], argv[3]);
  if (command == L"shortcut" && argc == 3) return Shortcut(argv[2]);
  if (command == L"hold-module" && argc == 4) return HoldModule(argv[2], argv[3]);
  if (command == L"set-event" && argc == 3) return SetNamedEvent(argv[2]);
  if (command == L"dump") {
    for (int i = 2; i < argc; ++i) DumpKey(argv[i]);
    return 0;
  }
  if ((command == L"message-box" || command == L"press") && argc == 5)
    return PressButton(argv[2], _wtoi(argv[3]), _wtoi(argv[4]), command == L"message-box");
  std::printf(
      "usage: installer_probe event-message SOURCE TEXT | shortcut LNK | message-box|press TITLE SECONDS "
      "ID\n");
  return 2;
}
