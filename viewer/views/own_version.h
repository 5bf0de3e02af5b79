#pragma once
// Texts of the running program's own version resource, for the About box.

#include <cstdint>
#include <string>

namespace views {

enum OwnVersionKind : int {
  kOwnProductVersion = 1,
  kOwnLegalNotice = 2,
};

// "\StringFileInfo\<language><code page>\ProductVersion" (kind 1) or
// "...\LegalCopyright" (kind 2), the block name as eight lower-case hex
// digits; empty for any other kind.
[[nodiscard]] std::wstring VersionStringPath(uint16_t language, uint16_t codePage, int kind);

// The text of `kind` for the first translation of the program file's
// version resource.  Any failure (no resource, no translation, no such
// string, unknown kind) gives false and leaves `text` alone.
[[nodiscard]] bool ReadOwnVersionText(int kind, std::wstring& text);

}  // namespace views
