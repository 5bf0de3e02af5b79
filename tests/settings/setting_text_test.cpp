#include <gtest/gtest.h>

#include <climits>

#include "settings/setting_text.h"

using namespace settings;  // the code under test

TEST(DecimalText, FormatsLikePercentLd) {
  EXPECT_EQ(DecimalText(0), L"0");
  EXPECT_EQ(DecimalText(7), L"7");
  EXPECT_EQ(DecimalText(-1), L"-1");
  EXPECT_EQ(DecimalText(160), L"160");
  EXPECT_EQ(DecimalText(2147483647), L"2147483647");
  EXPECT_EQ(DecimalText(-2147483647LL - 1), L"-2147483648");
  EXPECT_EQ(DecimalText(LLONG_MIN), L"-9223372036854775808");
}

TEST(TextToNumber, FailedConversionsGiveZero) {
  EXPECT_EQ(TextToInt(L""), 0);
  EXPECT_EQ(TextToInt(L"abc"), 0);
  EXPECT_EQ(TextToInt(L"99999999999"), 0);
  EXPECT_EQ(TextToLong(L"-"), 0);
  EXPECT_EQ(TextToLong(L"2147483648"), 0);
  EXPECT_EQ(TextToLong(L"99999999999999999999"), 0);
  EXPECT_EQ(TextToDouble(L""), 0.0);
  EXPECT_EQ(TextToDouble(L"zoom"), 0.0);
  EXPECT_EQ(TextToDouble(L"1e999"), 0.0);
}

TEST(TextToNumber, DecimalTextsConvertBack) {
  EXPECT_EQ(TextToInt(L"1"), 1);
  EXPECT_EQ(TextToInt(L"-1"), -1);
  EXPECT_EQ(TextToInt(L" 12x"), 12);  // as stoi: leading blanks, trailing text
  EXPECT_EQ(TextToLong(L"16"), 16);
  EXPECT_EQ(TextToLong(L"-2147483648"), -2147483647L - 1);
  EXPECT_EQ(TextToDouble(L"8"), 8.0);
  EXPECT_EQ(TextToDouble(L"2.5"), 2.5);
}
