#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/codepage.h"

namespace lx47::platform {
namespace {

// The code points of a UTF-8 text (the conversions only produce valid UTF-8).
std::vector<char32_t> CodePoints(const std::string& utf8) {
  std::vector<char32_t> out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t v = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k) v = (v << 6) | (utf8[i + k] & 0x3F);
    out.push_back(v);
    i += n;
  }
  return out;
}

bool IsLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// What a Japanese Windows reads from a single byte that is not a lead byte.
char32_t SingleByteChar(unsigned b) {
  if (b < 0x80) return b;
  if (b >= 0xA1 && b <= 0xDF) return 0xFF61 + (b - 0xA1);  // half-width katakana
  switch (b) {
    case 0x80: return 0x0080;
    case 0xA0: return 0xF8F0;
    case 0xFD: return 0xF8F1;
    case 0xFE: return 0xF8F2;
    case 0xFF: return 0xF8F3;
  }
  return 0;
}

TEST(CodePage, EverySingleByteRoundTrips) {
  int singles = 0;
  for (unsigned b = 0; b < 256; ++b) {
    if (IsLead(b)) continue;
    ++singles;
    const std::string bytes(1, static_cast<char>(b));
    const std::string utf8 = AnsiToUtf8(bytes);
    EXPECT_EQ(CodePoints(utf8), std::vector<char32_t>{SingleByteChar(b)}) << std::hex << b;
    EXPECT_EQ(Utf8ToAnsi(utf8), bytes) << std::hex << b;
  }
  EXPECT_EQ(singles, 256 - 60);
  // Inside a text as well, next to double-byte characters.
  const std::string mixed("\xA0\x83\x6C\x80\xFD\x81\x80\xFE\xFF", 9);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(mixed)), mixed);
}

// Every lead byte with every possible second byte. A pair is valid when it
// reads as one character; each valid pair writes back as itself, except that
// a character with several codes is written with the lowest code outside the
// NEC-selected rows 0xED and 0xEE, as Windows does.
TEST(CodePage, EveryDoubleBytePairRoundTrips) {
  std::map<std::string, char32_t> valid;
  std::map<char32_t, std::string> preferred;
  for (unsigned lead = 0; lead < 256; ++lead) {
    if (!IsLead(lead)) continue;
    for (unsigned trail = 0; trail < 256; ++trail) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      const std::vector<char32_t> cps = CodePoints(AnsiToUtf8(pair));
      if (cps.size() != 1) {
        // Not a character: the lead byte is replaced alone, the second byte
        // reads by itself.
        ASSERT_EQ(cps.size(), 2u) << std::hex << lead << ' ' << trail;
        EXPECT_EQ(cps[0], U'\uFFFD') << std::hex << lead << ' ' << trail;
        continue;
      }
      ASSERT_NE(cps[0], U'\uFFFD') << std::hex << lead << ' ' << trail;
      valid[pair] = cps[0];
      const bool necSelected = lead == 0xED || lead == 0xEE;
      auto it = preferred.find(cps[0]);
      if (it == preferred.end()) {
        preferred[cps[0]] = pair;
      } else {
        const bool itNec = static_cast<unsigned char>(it->second[0]) == 0xED ||
                           static_cast<unsigned char>(it->second[0]) == 0xEE;
        if (itNec && !necSelected) it->second = pair;
      }
    }
  }
  // JIS X 0208, the NEC and IBM extensions and the 1880 user-defined codes.
  EXPECT_EQ(valid.size(), 9604u);
  int rewritten = 0;
  for (const auto& [pair, ch] : valid) {
    const std::string back = Utf8ToAnsi(AnsiToUtf8(pair));
    EXPECT_EQ(back, preferred[ch]) << std::hex << +static_cast<unsigned char>(pair[0]) << ' '
                                   << +static_cast<unsigned char>(pair[1]);
    EXPECT_EQ(CodePoints(AnsiToUtf8(back)), std::vector<char32_t>{ch});
    if (back != pair) ++rewritten;
  }
  // 374 NEC-selected IBM extensions, 9 NEC symbols and 15 IBM extensions.
  EXPECT_EQ(rewritten, 398);
}

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
  // A lone trail-less lead byte at the end, a lead byte before a byte that
  // cannot trail it, and a pair the code page leaves undefined: the lead
  // byte alone is replaced, and what follows still reads.
  EXPECT_EQ(AnsiToUtf8("A\x81"), "A\xEF\xBF\xBD");
  EXPECT_EQ(AnsiToUtf8("A\x81 B"), "A\xEF\xBF\xBD B");
  EXPECT_EQ(AnsiToUtf8("A\x85\x40" "B"), "A\xEF\xBF\xBD@B");
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
