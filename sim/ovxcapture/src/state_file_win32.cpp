#include <windows.h>

#include "state_file.h"

namespace ovxsim {

// The C runtime's rename refuses an existing target; MoveFileEx replaces it.
bool MoveOver(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace ovxsim
