#include "settings/registry_access.h"

namespace settings {

namespace {

// No system registry outside Windows: reads fail, so defaults apply.
class AbsentRegistry final : public RegistryAccess {
 public:
  bool ReadDword(RegistryRoot, const wchar_t*, const wchar_t*, const wchar_t*, bool, uint32_t&) override {
    return false;
  }
  bool DwordExists(RegistryRoot, const wchar_t*, const wchar_t*, const wchar_t*, bool) override {
    return false;
  }
  bool WriteDword(RegistryRoot, const wchar_t*, const wchar_t*, const wchar_t*, uint32_t) override {
    return false;
  }
  bool DeleteValue(RegistryRoot, const wchar_t*, const wchar_t*, const wchar_t*) override { return false; }
};

}  // namespace

RegistryAccess& PlatformRegistry() {
  static AbsentRegistry registry;
  return registry;
}

}  // namespace settings
