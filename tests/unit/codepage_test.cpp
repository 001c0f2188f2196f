#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"

namespace lx47::platform {
namespace {

TEST(CodePage, JapaneseRoundTripsThroughCp932) {
  const std::string utf8 = "ネットワーク設定（0～65535 秒）abc";
  std::string ansi = Utf8ToAnsi(utf8);
  // "ネ" is 0x83 0x6C in CP932; ASCII stays one byte.
  ASSERT_GE(ansi.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(ansi[0]), 0x83);
  EXPECT_EQ(static_cast<unsigned char>(ansi[1]), 0x6C);
  EXPECT_EQ(ansi.substr(ansi.size() - 3), "abc");
  EXPECT_EQ(AnsiToUtf8(ansi), utf8);
  // Half-width katakana are single bytes (0xA1..0xDF).
  EXPECT_EQ(Utf8ToAnsi("ｱ"), "\xB1");
  EXPECT_EQ(AnsiToUtf8("\xB1"), "ｱ");
}

TEST(CodePage, BadInputIsReplacedWithoutLosingTheRest) {
  // A lone trail-less lead byte at the end and an undefined byte in the middle.
  EXPECT_EQ(AnsiToUtf8("A\x81"), "A\xEF\xBF\xBD");
  EXPECT_EQ(AnsiToUtf8("A\xFF" "B"), "A\xEF\xBF\xBD" "B");
  // A character CP932 lacks, and a broken UTF-8 sequence, each become one '?'.
  EXPECT_EQ(Utf8ToAnsi("a\xF0\x9F\x98\x80z"), "a?z");
  EXPECT_EQ(Utf8ToAnsi("a\xE3" "bc"), "a?bc");
  EXPECT_EQ(Utf8ToAnsi(""), "");
}

TEST(CodePage, PrefixNeverEndsInsideADoubleByteCharacter) {
  const std::string ansi = Utf8ToAnsi("aネbネ");  // a, 83 6C, b, 83 6C
  ASSERT_EQ(ansi.size(), 6u);
  struct { std::size_t max, expected; } cases[] = {
      {0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 4}, {5, 4}, {6, 6}, {100, 6},
  };
  for (auto c : cases) EXPECT_EQ(AnsiPrefixLength(ansi, c.max), c.expected) << c.max;
  // A trail byte in the ASCII range (0x40..0x7E) is not mistaken for a character start.
  const std::string kana = Utf8ToAnsi("ソ");  // 83 5C: the trail byte is '\'
  EXPECT_EQ(AnsiPrefixLength(kana + kana, 3), 2u);
  // A lead byte without its trail byte at the end is left out.
  EXPECT_EQ(AnsiPrefixLength("ab\x83", 10), 2u);
}

}  // namespace
}  // namespace lx47::platform
