#include "functions.h"

#include <array>

namespace ovxsim {
namespace {

constexpr std::array<const char*, kFunctionCount> kNames = {
    "Ovx_DevOpen",    "Ovx_DevClose", "Ovx_DevGetProp", "Ovx_DevSetProp", "Ovx_DevSetCb",
    "Ovx_DevWdtInit", "Ovx_VpCreate", "Ovx_VpSetProp",  "Ovx_VpDrawAll",
};

}  // namespace

const char* FunctionName(Function f) {
  const auto index = static_cast<std::size_t>(f);
  return index < kNames.size() ? kNames[index] : "?";
}

std::optional<Function> FunctionFromName(std::string_view name) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (name == kNames[i]) {
      return static_cast<Function>(i);
    }
  }
  return std::nullopt;
}

bool FunctionTakesPropertyId(Function f) {
  return f == Function::DevGetProp || f == Function::DevSetProp || f == Function::DevSetCb ||
         f == Function::VpSetProp;
}

}  // namespace ovxsim
