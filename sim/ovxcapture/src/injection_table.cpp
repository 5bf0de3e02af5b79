#include "injection_table.h"

#include <algorithm>

namespace ovxsim {

void InjectionTable::Add(const Injection& injection) {
  if (injection.status == 0) {
    std::erase_if(rules_, [&](const Rule& r) {
      return r.injection.function == injection.function &&
             (injection.property_id < 0 || r.injection.property_id == injection.property_id);
    });
    return;
  }
  if (rules_.size() >= kMaxRules) {
    rules_.erase(rules_.begin());
  }
  Rule rule;
  rule.injection = injection;
  if (rule.injection.from_call == 0) {
    rule.injection.from_call = 1;
  }
  if (rule.injection.property_id < 0) {
    rule.injection.property_id = -1;
  }
  rule.armed = !injection.after_shown;
  rules_.push_back(rule);
}

void InjectionTable::PlaneShown() {
  for (Rule& rule : rules_) rule.armed = true;
}

std::optional<int32_t> InjectionTable::Check(Function function, int32_t property_id) {
  std::optional<int32_t> status;
  for (Rule& rule : rules_) {
    const Injection& inj = rule.injection;
    if (!rule.armed || inj.function != function || (inj.property_id >= 0 && inj.property_id != property_id)) {
      continue;
    }
    const uint64_t n = ++rule.seen;
    const uint64_t from = inj.from_call;
    if (n >= from && (inj.count == 0 || n < from + inj.count)) {
      status = inj.status;  // later rules win
    }
  }
  // Rules whose window has passed never match again.
  std::erase_if(rules_, [](const Rule& r) {
    return r.injection.count != 0 && r.seen >= uint64_t{r.injection.from_call} + r.injection.count - 1;
  });
  return status;
}

}  // namespace ovxsim
