#include <windows.h>

#include <cwchar>
#include <vector>

#include "views/own_version.h"

namespace views {

bool ReadOwnVersionText(int kind, std::wstring& text) {
  if (VersionStringPath(0, 0, kind).empty()) return false;
  wchar_t file[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, file, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;  // a cut path names another file
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
  if (size == 0) return false;
  std::vector<BYTE> info(size);
  if (!GetFileVersionInfoW(file, 0, size, info.data())) return false;

  void* translation = nullptr;
  UINT translationBytes = 0;
  if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &translation, &translationBytes) ||
      translation == nullptr || translationBytes < 2 * sizeof(WORD)) {
    return false;
  }
  const auto* pair = static_cast<const WORD*>(translation);
  const std::wstring path = VersionStringPath(pair[0], pair[1], kind);

  void* value = nullptr;
  UINT chars = 0;
  if (!VerQueryValueW(info.data(), path.c_str(), &value, &chars) || value == nullptr) return false;
  const auto* begin = static_cast<const wchar_t*>(value);
  text.assign(begin, wcsnlen(begin, chars));
  return true;
}

}  // namespace views
