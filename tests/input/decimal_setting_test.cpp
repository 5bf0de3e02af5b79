#include <gtest/gtest.h>

#include "input/decimal_setting.h"

using input::ParseDecimalDouble;

TEST(DecimalSetting, DecimalNumbers) {
  EXPECT_EQ(ParseDecimalDouble(L"8"), 8.0);
  EXPECT_EQ(ParseDecimalDouble(L"2.5"), 2.5);
  EXPECT_EQ(ParseDecimalDouble(L" \t+5."), 5.0);
  EXPECT_EQ(ParseDecimalDouble(L".75"), 0.75);
  EXPECT_EQ(ParseDecimalDouble(L"-1.5e1"), -15.0);
  EXPECT_EQ(ParseDecimalDouble(L"3E+0x"), 3.0);
  // Trailing text is ignored, an exponent without digits too.
  EXPECT_EQ(ParseDecimalDouble(L"4 times"), 4.0);
  EXPECT_EQ(ParseDecimalDouble(L"6e"), 6.0);
  EXPECT_EQ(ParseDecimalDouble(L"7e-"), 7.0);
  EXPECT_EQ(ParseDecimalDouble(L"1,5"), 1.0);  // the decimal point is '.', whatever the locale
}

TEST(DecimalSetting, FailuresGiveZero) {
  for (const wchar_t* text : {L"", L"   ", L"x", L"+", L"-.", L".e5", L"inf", L"INFINITY", L"nan", L"1e999",
                              L"-1e400", L"\x0661"}) {
    EXPECT_EQ(ParseDecimalDouble(text), 0.0) << static_cast<int>(text[0]);
  }
  // Hexadecimal stops after its leading 0.
  EXPECT_EQ(ParseDecimalDouble(L"0x1p3"), 0.0);
}
