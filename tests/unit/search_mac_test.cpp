#include <gtest/gtest.h>

#include "protocol/mac_text.h"
#include "protocol/search_mac.h"

using lx47::MacAddress;

TEST(SearchMacAdrs, Parse) {
  struct C {
    std::u16string text;
    bool parsed;
    MacAddress mac;
  };
  const MacAddress kSentinel{9, 9, 9, 9, 9, 9};
  const std::vector<C> cases = {
      {u"0011AABBCCDD", true, {0x00, 0x11, 0xAA, 0xBB, 0xCC, 0xDD}},
      {u"0011aabbccdd", true, {0x00, 0x11, 0xAA, 0xBB, 0xCC, 0xDD}},
      {u" \t0011AABBCCDD \r\n", true, {0x00, 0x11, 0xAA, 0xBB, 0xCC, 0xDD}},
      {u"0011AABBCCD", false, kSentinel},
      {u"0011AABBCCDDE", false, kSentinel},
      {u"", false, kSentinel},
      {u"00:11:22:33:", true, {0x00, 0x00, 0x01, 0x22, 0x00, 0x03}},  // colons end a pair
      // A pair is read up to its first non-hex character, and trimmed.
      {u"1G0x 1 1G  A", true, {0x01, 0x00, 0x01, 0x01, 0x00, 0x0A}},
      // A sign comes before the digits, as strtoul reads it: "-1" is all
      // ones, kept in 8 bits; a sign without digits is 0.
      {u"-1+1-A+f-0-F", true, {0xFF, 0x01, 0xF6, 0x0F, 0x00, 0xF1}},
      {u"- +--++1+ -1", true, {0x00, 0x00, 0x00, 0x01, 0x00, 0xFF}},
      // Full-width digits are characters, not digits.
      {u"\uFF10\uFF11" u"2233445566", true, {0x00, 0x22, 0x33, 0x44, 0x55, 0x66}},
  };
  for (const auto& c : cases) {
    MacAddress out = kSentinel;
    EXPECT_EQ(lx47::ParseSearchMacAdrs(c.text, out), c.parsed) << c.text.size();
    EXPECT_EQ(out, c.mac) << c.text.size();
  }
}

TEST(SearchMacAdrs, FormatIsWhatParseReads) {
  const MacAddress m{0x0A, 0xBC, 0x00, 0xFF, 0x12, 0x9E};
  EXPECT_EQ(lx47::FormatSearchMacAdrs(m), "0ABC00FF129E");
  MacAddress back{};
  const std::string s = lx47::FormatSearchMacAdrs(m);
  ASSERT_TRUE(lx47::ParseSearchMacAdrs(std::u16string(s.begin(), s.end()), back));
  EXPECT_EQ(back, m);
}

// Every MAC the tool shows goes through MacText: the list, the dialogs, the
// confirmations (upper case, colons), the adapters of the tool settings
// (whatever length they report) and the routers' BSSIDs (lower case).
TEST(MacText, SeparatorsCaseAndLength) {
  const MacAddress m{0x0A, 0xBC, 0x00, 0xFF, 0x12, 0x9E};
  EXPECT_EQ(lx47::MacText(m), "0A:BC:00:FF:12:9E");
  EXPECT_EQ(lx47::MacText(m, ":", lx47::HexCase::Lower), "0a:bc:00:ff:12:9e");
  EXPECT_EQ(lx47::MacText(m, ""), "0ABC00FF129E");
  const std::vector<std::uint8_t> eight{1, 2, 3, 4, 5, 6, 7, 0xF8};
  EXPECT_EQ(lx47::MacText(eight), "01:02:03:04:05:06:07:F8");
  EXPECT_EQ(lx47::MacText(std::vector<std::uint8_t>{}), "");
}
