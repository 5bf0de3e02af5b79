#include "pivra_mode.h"

#include <gtest/gtest.h>

namespace {

TEST(PivraMode, StartModeFromTheEnvironment) {
  EXPECT_EQ(1, pivra::ParseMode(nullptr));
  EXPECT_EQ(2, pivra::ParseMode("2"));
  EXPECT_EQ(0, pivra::ParseMode("0"));
  EXPECT_EQ(-3, pivra::ParseMode("-3"));
  EXPECT_EQ(1, pivra::ParseMode(""));
  EXPECT_EQ(1, pivra::ParseMode("2x"));
  EXPECT_EQ(1, pivra::ParseMode(" 2"));
  EXPECT_EQ(1, pivra::ParseMode("-"));
  EXPECT_EQ(1, pivra::ParseMode("12345678901234567890"));
  EXPECT_EQ(999999999, pivra::ParseMode("999999999"));
}

TEST(PivraMode, InitFailsOnlyWhenAskedTo) {
  EXPECT_FALSE(pivra::InitShouldFail(nullptr));
  EXPECT_FALSE(pivra::InitShouldFail(""));
  EXPECT_FALSE(pivra::InitShouldFail("FAIL "));
  EXPECT_TRUE(pivra::InitShouldFail("fail"));
}

}  // namespace
