#include <windows.h>

#include <cstdio>

#include "state_file.h"

namespace ovxsim {

// The C runtime's rename refuses an existing target; MoveFileEx replaces it.
bool ReplaceWholeFile(const std::string& path, const std::string& text) {
  const std::string temp = path + ".tmp";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    std::remove(temp.c_str());
    return false;
  }
  return MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace ovxsim
