#include <windows.h>
#include <shlobj.h>

#include "capture/reporting/services_win32.h"

namespace capture {

std::optional<std::string> Win32LogFolder::DesktopPath() {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, path)))
    return std::nullopt;
  return std::string(path);
}

bool Win32LogFolder::IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32LogFolder::CreateDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

FilePtr Win32LogFolder::OpenAppend(const std::string& path) {
  return FilePtr(std::fopen(path.c_str(), "a+"));
}

}  // namespace capture
