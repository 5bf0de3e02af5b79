#include "app/instance_claim.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

struct FakeMutexes : app::InstanceMutexes {
  std::set<std::wstring> held;  // names some other process holds
  std::vector<std::wstring> created;
  bool CreateFirst(const std::wstring& name) override {
    created.push_back(name);
    return held.count(name) == 0;
  }
};

TEST(InstanceClaim, BothMutexesAreAlwaysCreated) {
  for (int held = 0; held < 4; ++held) {
    FakeMutexes m;
    if (held & 1) m.held.insert(app::kGlobalMutexName);
    if (held & 2) m.held.insert(app::kUserMutexName);
    app::ClaimInstance(m);
    EXPECT_EQ((std::vector<std::wstring>{L"Global\\TavrinGlobalMutex", L"TavrinUserMutex"}), m.created);
  }
}

TEST(InstanceClaim, MarksDecideHowToStart) {
  FakeMutexes first;
  EXPECT_EQ(app::StartKind::Run, app::ClaimInstance(first));
  FakeMutexes sameUser;
  sameUser.held = {app::kGlobalMutexName, app::kUserMutexName};
  EXPECT_EQ(app::StartKind::HandOver, app::ClaimInstance(sameUser));
  FakeMutexes elsewhere;
  elsewhere.held = {app::kGlobalMutexName};
  EXPECT_EQ(app::StartKind::OtherSession, app::ClaimInstance(elsewhere));
  // Only the session's own name taken (the machine-wide one free again).
  FakeMutexes stale;
  stale.held = {app::kUserMutexName};
  EXPECT_EQ(app::StartKind::Run, app::ClaimInstance(stale));
}

}  // namespace
