// Reading a scenario file: bounded, so that a huge or endless file (a device,
// a pipe) cannot exhaust memory.
#ifndef OVXSIM_SCENARIO_FILE_H
#define OVXSIM_SCENARIO_FILE_H

#include <string>

namespace ovxsim {

// False with a reason ("cannot be opened", "cannot be read", "longer than
// 65536 bytes") when the file cannot be had whole.
bool ReadScenarioFile(const char* path, std::string& text, std::string& error);

// The path as it may appear in a one-line message: control characters
// become '?' and very long paths are cut.
std::string PrintablePath(const char* path);

}  // namespace ovxsim

#endif
