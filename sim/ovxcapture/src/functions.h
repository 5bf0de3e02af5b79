// The nine API functions by number, so that injections, delays and the call
// record can refer to them without comparing strings on every call.
#ifndef OVXSIM_FUNCTIONS_H
#define OVXSIM_FUNCTIONS_H

#include <cstddef>
#include <optional>
#include <string_view>

namespace ovxsim {

enum class Function : int {
  DevOpen,
  DevClose,
  DevGetProp,
  DevSetProp,
  DevSetCb,
  DevWdtInit,
  VpCreate,
  VpSetProp,
  VpDrawAll,
};

inline constexpr std::size_t kFunctionCount = 9;

// The exported name, e.g. "Ovx_DevGetProp".
const char* FunctionName(Function f);

// Exact, case-sensitive match on the exported name.
std::optional<Function> FunctionFromName(std::string_view name);

// Whether calls of the function carry a property id (device or plane).
bool FunctionTakesPropertyId(Function f);

}  // namespace ovxsim

#endif
