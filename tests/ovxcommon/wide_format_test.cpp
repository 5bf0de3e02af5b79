#include <gtest/gtest.h>

#include <string>

#include "wide_format.h"

using ovx::FormatWide;
using ovx::FormatWideString;

TEST(WideFormat, NumbersAsThePlatformPrintsThem) {
  EXPECT_EQ(FormatWideString(L"%d|%d|%u|%x|%X", {-5, 2147483647, 4294967295u, 0xabcu, 0xABCu}),
            L"-5|2147483647|4294967295|abc|ABC");
  EXPECT_EQ(FormatWideString(L"-- Status = 0x%08X", {1200u}), L"-- Status = 0x000004B0");
  EXPECT_EQ(FormatWideString(L"0x%08X", {0xC0000120u}), L"0xC0000120");
  EXPECT_EQ(FormatWideString(L"%d", {0xFFFFFFFFu}), L"-1");  // 32-bit conversions take the low word
  EXPECT_EQ(FormatWideString(L"0x%I64X", {0x123456789ABCDEF0ull}), L"0x123456789ABCDEF0");
  EXPECT_EQ(FormatWideString(L"%X", {0x123456789ull}), L"23456789");
  EXPECT_EQ(FormatWideString(L"[%5d][%-4d][%03u]", {42, 7, 9u}), L"[   42][7   ][009]");
  EXPECT_EQ(FormatWideString(L"100%% %q", {}), L"100% %q");
}

TEST(WideFormat, PointersAndWideStrings) {
  EXPECT_EQ(FormatWideString(L"0x%p", {nullptr}), L"0x0000000000000000");
  EXPECT_EQ(FormatWideString(L"0x%p", {reinterpret_cast<const void*>(0x12FF40)}), L"0x000000000012FF40");
  const std::wstring path = L"SYSTEM\\CurrentControlSet";
  EXPECT_EQ(FormatWideString(L"Path = %s", {path}), L"Path = SYSTEM\\CurrentControlSet");
  EXPECT_EQ(FormatWideString(L"%s %d", {L"Capture Board", 1}), L"Capture Board 1");
  EXPECT_EQ(FormatWideString(L"%s", {static_cast<const wchar_t*>(nullptr)}), L"(null)");
  // A missing argument formats as zero or nothing, never reads past the list.
  EXPECT_EQ(FormatWideString(L"%s|%d", {}), L"(null)|0");
}

TEST(WideFormat, TruncatesAtTheBufferAndAlwaysTerminates) {
  wchar_t buf[8];
  EXPECT_EQ(FormatWide(buf, 8, L"%s", {L"abcdefghijkl"}), 7u);
  EXPECT_EQ(std::wstring(buf), L"abcdefg");
  EXPECT_EQ(FormatWide(buf, 1, L"abc", {}), 0u);
  EXPECT_EQ(buf[0], L'\0');
  EXPECT_EQ(FormatWide(buf, 8, L"%08X%08X", {1u, 2u}), 7u);
  EXPECT_EQ(std::wstring(buf), L"0000000");
}
