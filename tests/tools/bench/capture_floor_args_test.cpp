#include "capture_floor_args.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <vector>

namespace bench {
namespace {

CaptureFloorArgs Parse(std::initializer_list<std::string_view> words) {
  const std::vector<std::string_view> args(words);
  return ParseCaptureFloorArgs(args);
}

TEST(CaptureFloorArgs, AreaFromOriginAndSizeAndSeconds) {
  const CaptureFloorArgs parsed = Parse({"319", "-20", "1920", "1080", "60"});
  ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
  EXPECT_EQ(parsed.options->area, (overlap::PixelRect{319, -20, 2239, 1060}));
  EXPECT_EQ(parsed.options->seconds, 60);
  EXPECT_TRUE(Parse({"0", "0", "32768", "1", "86400"}).options.has_value());
}

TEST(CaptureFloorArgs, RejectsBadCommandLinesWithAReason) {
  for (const auto& words : std::vector<std::vector<std::string_view>>{
           {},
           {"0", "0", "1920", "1080"},
           {"0", "0", "1920", "1080", "60", "1"},
           {"0", "0", "0", "1080", "60"},                  // empty
           {"0", "0", "1920", "-1080", "60"},              // inverted
           {"0", "0", "32769", "1", "60"},                 // wider than one capture
           {"0", "0", "32768", "32768", "60"},             // more bytes than one capture
           {"0", "0", "1920", "1080", "0"},                // no time
           {"0", "0", "1920", "1080", "86401"},            // more than a day
           {"0", "0", "1920", "1080", "1.5"},              // not whole
           {"0", "0", "1920", "1080", "60s"},              // not all of the word
           {"0", "0", "1920", "1080", ""},                 // empty word
           {"x", "0", "1920", "1080", "60"},               // not a number
           {"9999999999", "0", "1", "1", "60"},            // off any screen, overflows 32 bits
           {"0", "0", "99999999999999999999", "1", "60"},  // out of range
       }) {
    const CaptureFloorArgs parsed = ParseCaptureFloorArgs(words);
    EXPECT_FALSE(parsed.options.has_value()) << ::testing::PrintToString(words);
    EXPECT_FALSE(parsed.error.empty());
  }
}

}  // namespace
}  // namespace bench
