#include <gtest/gtest.h>

#include "views/ui_strings.h"

namespace views {
namespace {

constexpr UiLanguage kAll[] = {UiLanguage::English, UiLanguage::French, UiLanguage::Japanese};

TEST(UiStrings, EveryIdHasTextInEveryLanguage) {
  for (UiLanguage language : kAll) {
    for (uint32_t id = kFirstStringId; id <= kLastStringId; ++id) {
      EXPECT_FALSE(TableString(language, id).empty()) << id;
    }
    EXPECT_TRUE(TableString(language, kFirstStringId - 1).empty());
    EXPECT_TRUE(TableString(language, kLastStringId + 1).empty());
  }
}

TEST(UiStrings, ExactTexts) {
  EXPECT_EQ(TableString(UiLanguage::English, 128), L"Tavrin");
  EXPECT_EQ(TableString(UiLanguage::English, 133), L" a video signal.");
  EXPECT_EQ(TableString(UiLanguage::French, 129), L"Plein \u00e9cran");
  EXPECT_EQ(TableString(UiLanguage::French, 163), L"veuillez appuyer sur le bouton \"Continuez\",");
  EXPECT_EQ(TableString(UiLanguage::French, 145), L"permettreson utilisation sur ce produit.");
  EXPECT_EQ(TableString(UiLanguage::Japanese, 129), L"\u5168\u753b\u9762\u8868\u793a");
  EXPECT_EQ(TableString(UiLanguage::Japanese, 174), L"\u30d0\u30fc\u30b8\u30e7\u30f3\u60c5\u5831(&V)");
  EXPECT_EQ(TableString(UiLanguage::English, 164), L"please tap the [Continue] button.");
  EXPECT_EQ(TableString(UiLanguage::English, 174), L"&Version");
}

TEST(UiStrings, LogMessagesAreEnglishInEveryTable) {
  for (uint32_t id : {150u, 151u, 152u, 153u, 154u, 155u, 175u, 176u}) {
    EXPECT_EQ(TableString(UiLanguage::French, id), TableString(UiLanguage::English, id)) << id;
    EXPECT_EQ(TableString(UiLanguage::Japanese, id), TableString(UiLanguage::English, id)) << id;
  }
  EXPECT_EQ(TableString(UiLanguage::English, kIdsWatchdogOverLimit), L"WatchDogTimer was over limit.");
  EXPECT_EQ(TableString(UiLanguage::English, kIdsWatchdogFired), L"WatchDogTimer was fired.");
  EXPECT_EQ(TableString(UiLanguage::English, kIdsDriverApiError), L"Driver version is API Error.");
}

TEST(UiStrings, MessageScreensAlwaysHaveFourLines) {
  // Lines without text are one space, so that four lines can always be placed.
  const uint32_t screens[] = {132, 136, 140, 144, 157, 161};
  for (UiLanguage language : kAll) {
    for (uint32_t first : screens) {
      for (uint32_t id = first; id < first + 4; ++id) EXPECT_FALSE(TableString(language, id).empty());
    }
    for (uint32_t id : {149u, 165u, 166u, 167u}) EXPECT_EQ(TableString(language, id), L" ");
  }
  int jaText = 0, jaBlank = 0, enText = 0;
  for (uint32_t id = 136; id < 140; ++id) {
    (TableString(UiLanguage::Japanese, id) == L" " ? jaBlank : jaText)++;
    if (TableString(UiLanguage::English, id) != L" ") ++enText;
  }
  EXPECT_EQ(jaText, 2);
  EXPECT_EQ(jaBlank, 2);
  EXPECT_EQ(enText, 4);
}

TEST(UiStrings, AboutTitleUsesNoBreakSpaces) {
  const auto title = [](UiLanguage l) {
    return TableString(l, 168) + TableString(l, 128) + TableString(l, 169);
  };
  EXPECT_EQ(title(UiLanguage::English), L"About Tavrin\u00a0");
  EXPECT_EQ(title(UiLanguage::French), L"\u00c0 propos de \u00ab\u00a0Tavrin\u00a0\u00bb");
  EXPECT_EQ(title(UiLanguage::Japanese), L" Tavrin \u306e\u30d0\u30fc\u30b8\u30e7\u30f3\u60c5\u5831");
}

TEST(UiStrings, LocaleNamesSelectTheTable) {
  EXPECT_EQ(LanguageOfLocale("fr_FR.UTF-8"), UiLanguage::French);
  EXPECT_EQ(LanguageOfLocale("fr"), UiLanguage::French);
  EXPECT_EQ(LanguageOfLocale("ja_JP"), UiLanguage::Japanese);
  EXPECT_EQ(LanguageOfLocale("de_DE"), UiLanguage::English);
  EXPECT_EQ(LanguageOfLocale("C.UTF-8"), UiLanguage::English);
  EXPECT_EQ(LanguageOfLocale(""), UiLanguage::English);
  EXPECT_EQ(LanguageOfLocale("f"), UiLanguage::English);
}

TEST(UiStrings, Utf8DecodingReplacesMalformedSequences) {
  EXPECT_EQ(WideFromUtf8(u8"abc"), L"abc");
  EXPECT_EQ(WideFromUtf8(u8"\u00e9\u3053"), L"\u00e9\u3053");
  const std::u8string bad = {char8_t(0xC3), char8_t('x'), char8_t(0xFF), char8_t(0xE3), char8_t(0x81)};
  EXPECT_EQ(WideFromUtf8(bad), L"\ufffdx\ufffd\ufffd\ufffd");
  const std::u8string overlong = {char8_t(0xC0), char8_t(0x80)};
  EXPECT_EQ(WideFromUtf8(overlong), L"\ufffd\ufffd");
  const std::wstring emoji = WideFromUtf8(u8"\U0001F600");
  EXPECT_EQ(emoji.size(), sizeof(wchar_t) == 2 ? 2u : 1u);
}

}  // namespace
}  // namespace views
