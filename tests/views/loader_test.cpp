// The platform loader picks the table of the interface language.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "views/ui_strings.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace views {
namespace {

void ExpectTable(UiLanguage language) {
  for (uint32_t id = kFirstStringId; id <= kLastStringId; ++id) {
    ASSERT_EQ(LoadUiString(id), TableString(language, id)) << "id " << id;
  }
  EXPECT_TRUE(LoadUiString(kLastStringId + 1).empty());
}

#ifdef _WIN32
// Run with LC_ALL set to a language (Wine takes the process locale from it).
TEST(UiStringLoader, ProcessLanguageFromTheEnvironment) {
  const char* locale = std::getenv("LC_ALL");
  ExpectTable(LanguageOfLocale(locale != nullptr ? locale : ""));
}

TEST(UiStringLoader, ThreadLocaleSwitchesTheTable) {
  const LCID saved = GetThreadLocale();
  SetThreadLocale(MAKELCID(MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), SORT_DEFAULT));
  ExpectTable(UiLanguage::French);
  SetThreadLocale(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT));
  ExpectTable(UiLanguage::Japanese);
  SetThreadLocale(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
  ExpectTable(UiLanguage::English);
  SetThreadLocale(saved);
}
#else
TEST(UiStringLoader, LanguageFromTheLocaleVariables) {
  setenv("LC_ALL", "fr_FR.UTF-8", 1);
  ExpectTable(UiLanguage::French);
  setenv("LC_ALL", "ja_JP.UTF-8", 1);
  ExpectTable(UiLanguage::Japanese);
  setenv("LC_ALL", "", 1);
  setenv("LC_MESSAGES", "", 1);
  setenv("LANG", "fr_CA", 1);
  ExpectTable(UiLanguage::French);
  setenv("LANG", "de_DE", 1);
  ExpectTable(UiLanguage::English);
}
#endif

}  // namespace
}  // namespace views
