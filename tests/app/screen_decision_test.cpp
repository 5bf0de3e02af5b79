#include "app/screen_decision.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace app {
namespace {

// Every field at a value that lets video play.
ScreenConditions Playing() {
  ScreenConditions c;
  c.firmwareCheck = capture::kVersionFits;
  c.driverCheck = capture::kVersionFits;
  c.inputStatus = 2;
  return c;
}

TEST(ScreenConditions, InitialValues) {
  const ScreenConditions c;
  EXPECT_EQ(c.abnormal, 0u);
  EXPECT_EQ(c.alreadyRunning, 0u);
  EXPECT_EQ(c.firmwareCheck, -2);
  EXPECT_EQ(c.driverCheck, -2);
  EXPECT_EQ(c.stopped, 0u);
  EXPECT_EQ(c.displayChanged, 0u);
  EXPECT_EQ(c.waiting, 0u);
  EXPECT_EQ(c.inputStatus, 0);
  EXPECT_EQ(c.overlapResult, 0);
  EXPECT_EQ(c.barHidden, 0u);
  EXPECT_EQ(c.resizeSettling, 0u);
  // Eleven 32-bit words, nothing else.
  EXPECT_EQ(sizeof(ScreenConditions), 11 * sizeof(uint32_t));
}

TEST(DecideScreenKind, InitialConditionsAreAbnormalBecauseNothingWasChecked) {
  EXPECT_EQ(DecideScreenKind(ScreenConditions{}), ScreenKind::Abnormal);
}

TEST(DecideScreenKind, PlayingConditionsPlay) {
  EXPECT_EQ(DecideScreenKind(Playing()), ScreenKind::Play);
  ScreenConditions c = Playing();
  c.barHidden = 1;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::PlayBarHidden);
}

// One way of making a rule match, and the fields it sets.
enum Field : uint32_t {
  kAbnormal = 1u << 0,
  kAlready = 1u << 1,
  kFirmware = 1u << 2,
  kDriver = 1u << 3,
  kStopped = 1u << 4,
  kDisplay = 1u << 5,
  kWaiting = 1u << 6,
  kInput = 1u << 7,
  kOverlap = 1u << 8,
  kBar = 1u << 9,
  kSettling = 1u << 10,
};

struct Trigger {
  std::string name;
  int rule;  // position in the priority order, 1 first
  ScreenKind kind;
  uint32_t fields;
  std::function<void(ScreenConditions&)> apply;
};

std::vector<Trigger> Triggers() {
  return {
      {"already running", 1, ScreenKind::AlreadyRunning, kAlready, [](auto& c) { c.alreadyRunning = 1; }},
      {"firmware newer", 2, ScreenKind::UpdateRequired, kFirmware, [](auto& c) { c.firmwareCheck = 1; }},
      {"firmware older", 2, ScreenKind::UpdateRequired, kFirmware, [](auto& c) { c.firmwareCheck = 2; }},
      {"driver newer", 2, ScreenKind::UpdateRequired, kDriver, [](auto& c) { c.driverCheck = 1; }},
      {"driver older", 2, ScreenKind::UpdateRequired, kDriver, [](auto& c) { c.driverCheck = 2; }},
      {"abnormal", 3, ScreenKind::Abnormal, kAbnormal, [](auto& c) { c.abnormal = 1; }},
      {"firmware unreadable", 3, ScreenKind::Abnormal, kFirmware, [](auto& c) { c.firmwareCheck = -1; }},
      {"firmware not checked", 3, ScreenKind::Abnormal, kFirmware, [](auto& c) { c.firmwareCheck = -2; }},
      {"driver API error", 3, ScreenKind::Abnormal, kDriver, [](auto& c) { c.driverCheck = -1; }},
      {"driver not found", 3, ScreenKind::Abnormal, kDriver, [](auto& c) { c.driverCheck = -2; }},
      {"input read error", 3, ScreenKind::Abnormal, kInput, [](auto& c) { c.inputStatus = 3; }},
      {"stopped", 4, ScreenKind::Stopped, kStopped, [](auto& c) { c.stopped = 1; }},
      {"display changed", 5, ScreenKind::Blank, kDisplay, [](auto& c) { c.displayChanged = 1; }},
      {"waiting", 6, ScreenKind::Waiting, kWaiting, [](auto& c) { c.waiting = 1; }},
      {"no input", 7, ScreenKind::NoSignal, kInput, [](auto& c) { c.inputStatus = 0; }},
      {"unusable input", 7, ScreenKind::NoSignal, kInput, [](auto& c) { c.inputStatus = 1; }},
      {"covered", 8, ScreenKind::Overlapped, kOverlap | kSettling,
       [](auto& c) {
         c.overlapResult = 1;
         c.resizeSettling = 0;
       }},
      {"bar hidden", 9, ScreenKind::PlayBarHidden, kBar, [](auto& c) { c.barHidden = 1; }},
  };
}

TEST(DecideScreenKind, EachRuleAloneGivesItsScreen) {
  for (const Trigger& t : Triggers()) {
    ScreenConditions c = Playing();
    t.apply(c);
    EXPECT_EQ(DecideScreenKind(c), t.kind) << t.name;
  }
}

// Each rule beats every rule after it, whichever way either is triggered
// (pairs that would write the same field cannot both hold and are left out).
TEST(DecideScreenKind, EachRuleBeatsEveryLaterRule) {
  const std::vector<Trigger> triggers = Triggers();
  int pairs = 0;
  for (const Trigger& earlier : triggers) {
    for (const Trigger& later : triggers) {
      if (later.rule <= earlier.rule || (earlier.fields & later.fields) != 0) continue;
      for (bool laterFirst : {true, false}) {
        ScreenConditions c = Playing();
        (laterFirst ? later : earlier).apply(c);
        (laterFirst ? earlier : later).apply(c);
        EXPECT_EQ(DecideScreenKind(c), earlier.kind) << earlier.name << " over " << later.name;
      }
      ++pairs;
    }
  }
  // Every pair of rules was met at least once.
  EXPECT_GT(pairs, 100);
  for (int a = 1; a <= 9; ++a) {
    for (int b = a + 1; b <= 9; ++b) {
      bool met = false;
      for (const Trigger& x : triggers) {
        for (const Trigger& y : triggers) {
          met = met || (x.rule == a && y.rule == b && (x.fields & y.fields) == 0);
        }
      }
      EXPECT_TRUE(met) << "rules " << a << " and " << b;
    }
  }
}

TEST(DecideScreenKind, AlreadyRunningWinsOverEverything) {
  ScreenConditions c = Playing();
  c.alreadyRunning = 1;
  c.abnormal = 1;
  c.firmwareCheck = -1;
  c.driverCheck = 2;
  c.stopped = 1;
  c.inputStatus = 3;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::AlreadyRunning);
}

TEST(DecideScreenKind, VersionMismatchBeatsAbnormalAndFailedCheck) {
  ScreenConditions c = Playing();
  c.firmwareCheck = 0;
  c.driverCheck = 2;
  c.abnormal = 1;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::UpdateRequired);

  c = Playing();
  c.firmwareCheck = -1;
  c.driverCheck = 1;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::UpdateRequired);

  c = Playing();
  c.firmwareCheck = 2;
  c.driverCheck = -2;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::UpdateRequired);
}

// The check words compare unsigned: -1 and -2 are the two largest values and
// count as failed; -3 and other values outside the result set fall through.
TEST(DecideScreenKind, CheckValuesCompareAsUnsignedWords) {
  for (int32_t value : {-1, -2}) {
    ScreenConditions c = Playing();
    c.firmwareCheck = value;
    EXPECT_EQ(DecideScreenKind(c), ScreenKind::Abnormal) << value;
    c = Playing();
    c.driverCheck = value;
    EXPECT_EQ(DecideScreenKind(c), ScreenKind::Abnormal) << value;
  }
  for (int32_t value : {-3, 3, 0x7FFFFFFF, static_cast<int32_t>(0x80000000u)}) {
    ScreenConditions c = Playing();
    c.firmwareCheck = value;
    c.driverCheck = value;
    EXPECT_EQ(DecideScreenKind(c), ScreenKind::Play) << value;
  }
}

TEST(DecideScreenKind, InputStatusComparesUnsigned) {
  ScreenConditions c = Playing();
  c.inputStatus = -1;  // 0xFFFFFFFF is not below 2
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::Play);
  c.inputStatus = 4;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::Play);
  c.inputStatus = 1;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::NoSignal);
}

TEST(DecideScreenKind, AnyNonzeroFlagCounts) {
  ScreenConditions c = Playing();
  c.stopped = 0xFFFFFFFFu;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::Stopped);
  c = Playing();
  c.abnormal = 0x80000000u;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::Abnormal);
}

TEST(DecideScreenKind, ListedEdgeCases) {
  ScreenConditions c = Playing();
  c.stopped = 1;
  c.displayChanged = 1;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::Stopped);

  c = Playing();
  c.inputStatus = 1;
  c.overlapResult = 1;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::NoSignal);

  c = Playing();
  c.overlapResult = 1;
  c.resizeSettling = 1;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::Play);
  c.barHidden = 1;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::PlayBarHidden);
  c.resizeSettling = 0;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::Overlapped);
  c.barHidden = 0;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::Overlapped);
}

// Over a grid of every field's meaningful values: never None, overlap result
// 2 never Overlapped, and the decision does not depend on anything but the
// input (asking twice gives the same answer).
TEST(DecideScreenKind, GridProperties) {
  const int32_t checks[] = {0, 1, 2, -1, -2};
  int cases = 0;
  ScreenConditions c;
  for (uint32_t abnormal : {0u, 1u})
    for (uint32_t already : {0u, 1u})
      for (int32_t fw : checks)
        for (int32_t drv : checks)
          for (uint32_t stopped : {0u, 1u})
            for (uint32_t display : {0u, 1u})
              for (uint32_t waiting : {0u, 1u})
                for (int32_t input : {0, 1, 2, 3})
                  for (uint32_t overlap : {0u, 1u, 2u})
                    for (uint32_t bar : {0u, 1u})
                      for (uint32_t settling : {0u, 1u}) {
                        c = {abnormal, already, fw,      drv, stopped, display,
                             waiting,  input,   overlap, bar, settling};
                        const ScreenKind kind = DecideScreenKind(c);
                        ++cases;
                        ASSERT_NE(kind, ScreenKind::None);
                        ASSERT_GE(static_cast<int32_t>(kind), 1);
                        ASSERT_LE(static_cast<int32_t>(kind), 10);
                        if (overlap == 2u) {
                          ASSERT_NE(kind, ScreenKind::Overlapped);
                        }
                        if (already != 0) {
                          ASSERT_EQ(kind, ScreenKind::AlreadyRunning);
                        }
                        if (already == 0 && (fw == 1 || fw == 2 || drv == 1 || drv == 2)) {
                          ASSERT_EQ(kind, ScreenKind::UpdateRequired);
                        }
                        if (kind == ScreenKind::Overlapped) {
                          ASSERT_EQ(settling, 0u);
                        }
                        ASSERT_EQ(DecideScreenKind(c), kind);
                      }
  EXPECT_EQ(cases, 2 * 2 * 5 * 5 * 2 * 2 * 2 * 4 * 3 * 2 * 2);
}

TEST(DecideScreenKind, OverlapNoResultNeverOverlapped) {
  ScreenConditions c = Playing();
  c.overlapResult = overlap::kOverlapNoResult;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::Play);
  c.barHidden = 1;
  EXPECT_EQ(DecideScreenKind(c), ScreenKind::PlayBarHidden);
}

}  // namespace
}  // namespace app
