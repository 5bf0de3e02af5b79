#pragma once
// The interface texts, ids 128 to 176, in English, French and Japanese.

#include <cstdint>
#include <string>
#include <string_view>

namespace views {

enum class UiLanguage { English, French, Japanese };

inline constexpr uint32_t kFirstStringId = 128;
inline constexpr uint32_t kLastStringId = 176;

// Named ids the program uses by number.
enum StringId : uint32_t {
  kIdsTitle = 128,
  kIdsFullScreen = 129,
  kIdsNormalScreen = 130,
  kIdsZoomOut = 131,
  kIdsNoSignal = 132,
  kIdsOverlapped = 136,
  kIdsAbnormal = 140,
  kIdsUpdateRequired = 144,
  kIdsContinue = 148,
  kIdsWaiting = 149,
  kIdsFirmwareOld = 150,
  kIdsFirmwareNew = 151,
  kIdsDriverOld = 152,
  kIdsDriverNew = 153,
  kIdsDriverNotFound = 154,
  kIdsDriverApiError = 155,
  kIdsOk = 156,
  kIdsAlreadyRunning = 157,
  kIdsStopped = 161,
  kIdsWaitingRest = 165,
  kIdsAboutStart = 168,
  kIdsAboutEnd = 169,
  kIdsAboutDriver = 170,
  kIdsAboutFirmware = 171,
  kIdsAboutApi = 172,
  kIdsAboutUnknown = 173,
  kIdsVersionMenu = 174,
  kIdsWatchdogOverLimit = 175,
  kIdsWatchdogFired = 176,
};

// The text of one table; empty for an id outside the table.
std::wstring TableString(UiLanguage language, uint32_t id);

// The text in the user's interface language, as the platform's resource
// loader picks it on Windows; natively the language comes from LC_ALL,
// LC_MESSAGES or LANG ("fr…", "ja…", else English).  Empty when missing.
std::wstring LoadUiString(uint32_t id);

// The language a locale name selects ("fr_FR.UTF-8" → French).
UiLanguage LanguageOfLocale(std::string_view locale);

// UTF-8 to the platform's wide text (UTF-16 on Windows, UTF-32 elsewhere);
// malformed sequences become U+FFFD.
std::wstring WideFromUtf8(std::u8string_view text);

}  // namespace views
