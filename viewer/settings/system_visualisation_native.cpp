#include "settings/system_visualisation.h"

namespace settings {

namespace {

// No touch-feedback switches outside Windows.
class AbsentVisualisation final : public SystemVisualisation {
 public:
  bool Get(Visualisation, unsigned long&) override { return false; }
  bool Set(Visualisation, unsigned long) override { return false; }
};

}  // namespace

SystemVisualisation& PlatformVisualisation() {
  static AbsentVisualisation visualisation;
  return visualisation;
}

}  // namespace settings
