// Injected statuses: which calls of which function return a chosen status
// instead of doing their work.
#ifndef OVXSIM_INJECTION_TABLE_H
#define OVXSIM_INJECTION_TABLE_H

#include <cstdint>
#include <optional>
#include <vector>

#include "scenario.h"

namespace ovxsim {

class InjectionTable {
 public:
  // A status of 0 removes the earlier rules of that function with that
  // property filter (a filter < 0 removes all of the function's rules).
  void Add(const Injection& injection);
  void Clear() { rules_.clear(); }

  // Counts the call against every matching rule; the newest rule whose
  // window covers it gives the status.
  std::optional<int32_t> Check(Function function, int32_t property_id);

  std::size_t RuleCount() const { return rules_.size(); }

  // A draw has shown the plane: rules waiting for it start counting.
  void PlaneShown();

 private:
  struct Rule {
    Injection injection;
    uint64_t seen = 0;
    bool armed = true;
  };
  static constexpr std::size_t kMaxRules = 256;
  std::vector<Rule> rules_;
};

}  // namespace ovxsim

#endif
