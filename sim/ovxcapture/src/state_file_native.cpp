#include <cstdio>

#include "state_file.h"

namespace ovxsim {

bool MoveOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace ovxsim
