#include "views/own_version.h"

namespace views {

std::wstring VersionStringPath(uint16_t language, uint16_t codePage, int kind) {
  const wchar_t* name = nullptr;
  if (kind == kOwnProductVersion) name = L"ProductVersion";
  if (kind == kOwnLegalNotice) name = L"LegalCopyright";
  if (name == nullptr) return {};
  const uint32_t block = (static_cast<uint32_t>(language) << 16) | codePage;
  std::wstring path = L"\\StringFileInfo\\";
  for (int shift = 28; shift >= 0; shift -= 4) path += L"0123456789abcdef"[(block >> shift) & 15u];
  path += L'\\';
  path += name;
  return path;
}

}  // namespace views
