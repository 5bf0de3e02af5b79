#include "views/ui_strings.h"

#include <iterator>

namespace views {
namespace {

struct Row {
  uint32_t id;
  const char8_t* text[3];
};

constexpr Row kRows[] = {
#include "ui_strings_table.inc"
};

static_assert(std::size(kRows) == kLastStringId - kFirstStringId + 1, "one row per id");

void AppendCodePoint(std::wstring& out, char32_t c) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(c));
}

}  // namespace

std::wstring WideFromUtf8(std::u8string_view text) {
  std::wstring out;
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t c = 0;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      extra = 1, c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2, c = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3, c = b & 0x07;
    } else {
      AppendCodePoint(out, 0xFFFD);
      ++i;
      continue;
    }
    bool ok = true;
    for (int k = 1; ok && k <= extra; ++k) {
      if (i + static_cast<size_t>(k) >= text.size()) {
        ok = false;
        break;
      }
      const auto n = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
      if ((n & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (n & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      AppendCodePoint(out, 0xFFFD);
      ++i;
      continue;
    }
    AppendCodePoint(out, c);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

std::wstring TableString(UiLanguage language, uint32_t id) {
  if (id < kFirstStringId || id > kLastStringId) return {};
  return WideFromUtf8(kRows[id - kFirstStringId].text[static_cast<int>(language)]);
}

UiLanguage LanguageOfLocale(std::string_view locale) {
  if (locale.substr(0, 2) == "fr") return UiLanguage::French;
  if (locale.substr(0, 2) == "ja") return UiLanguage::Japanese;
  return UiLanguage::English;
}

}  // namespace views
