#include <gtest/gtest.h>

#include <string>

#include "protocol/number_parse.h"

namespace lx47 {
namespace {

using S = NumberStatus;

struct Case {
  const char* text;
  S status;
  std::uint32_t value;  // checked when status is Ok
};

void RunTable(const NumberRule& rule, std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    NumberResult r = ParseNumber(c.text, rule);
    EXPECT_EQ(r.status, c.status) << '"' << c.text << '"';
    if (c.status == S::Ok) {
      EXPECT_EQ(r.value, c.value) << '"' << c.text << '"';
    }
  }
}

TEST(NumberParse, PortRuleRefusesZeroTrailingAndOutOfRange) {
  RunTable(number_rules::kPort, {
                                    {"8080", S::Ok, 8080},
                                    {"0x1f90", S::Ok, 8080},
                                    {"0X1F90", S::Ok, 8080},
                                    {"010", S::Ok, 8},
                                    {"0100", S::Ok, 64},
                                    {"  80", S::Ok, 80},  // leading white space is skipped
                                    {"+80", S::Ok, 80},
                                    {"65535", S::Ok, 65535},
                                    {"0", S::OutOfRange, 0},
                                    {"", S::OutOfRange, 0},
                                    {"65536", S::OutOfRange, 0},
                                    {"-1", S::OutOfRange, 0},  // wraps to 4294967295
                                    {"-0", S::OutOfRange, 0},
                                    {"4294967296", S::OutOfRange, 0},
                                    {"99999999999999999999", S::OutOfRange, 0},
                                    {"8a", S::BadCharacters, 0},
                                    {"80 ", S::BadCharacters, 0},
                                    {"08", S::BadCharacters, 0},  // "0" octal, then "8" left over
                                    {"0x", S::BadCharacters, 0},
                                    {"0xg", S::BadCharacters, 0},
                                    {" ", S::BadCharacters, 0},
                                    {"+", S::BadCharacters, 0},
                                    {"abc", S::BadCharacters, 0},
                                });
}

TEST(NumberParse, LenientRuleTrimsAndIgnoresTrailing) {
  RunTable(number_rules::Lenient(65535), {
                                             {"0100", S::Ok, 64},
                                             {"", S::Ok, 0},
                                             {"  ", S::Ok, 0},
                                             {" 12 ", S::Ok, 12},
                                             {"12ab", S::Ok, 12},
                                             {"010", S::Ok, 8},
                                             {"0x10", S::Ok, 16},
                                             {"65535", S::Ok, 65535},
                                             {"abc", S::Ok, 0},  // no number reads as 0
                                             {"-0", S::Ok, 0},
                                             {"65536", S::OutOfRange, 0},
                                             {"-1", S::OutOfRange, 0},
                                             {"4294967296", S::OutOfRange, 0},
                                         });
  RunTable(number_rules::Lenient(1440), {
                                            {"1440", S::Ok, 1440},
                                            {"1441", S::OutOfRange, 0},
                                        });
}

TEST(NumberParse, HexByteRuleTakesHexDigitsOnly) {
  RunTable(number_rules::kHexByte, {
                                       {"a", S::Ok, 0x0A},
                                       {"7f", S::Ok, 0x7F},
                                       {"FF", S::Ok, 0xFF},
                                       {"", S::Ok, 0},
                                       {" 0d ", S::Ok, 0x0D},
                                       {"100", S::OutOfRange, 0},
                                       {"123456789abcdef0123", S::OutOfRange, 0},
                                       {"g1", S::BadCharacters, 0},
                                       {"0x", S::BadCharacters, 0},
                                       {"-1", S::BadCharacters, 0},
                                       {"1 2", S::BadCharacters, 0},
                                   });
}

TEST(NumberParse, StrictRuleReportsCharactersBeforeRange) {
  RunTable(number_rules::Strict(5, 60), {
                                            {"10", S::Ok, 10},
                                            {"0x10", S::Ok, 16},
                                            {"5", S::Ok, 5},
                                            {"60", S::Ok, 60},
                                            {"4", S::OutOfRange, 0},
                                            {"61", S::OutOfRange, 0},
                                            {"", S::OutOfRange, 0},
                                            {"12a", S::BadCharacters, 0},
                                            {"12 ", S::BadCharacters, 0},
                                            {"999a", S::BadCharacters, 0},  // characters win over range
                                        });
}

TEST(NumberParse, NegativeValuesWrapModulo32Bits) {
  EXPECT_EQ(ParseNumber("-1", NumberRule{}).value, 4294967295u);
  EXPECT_EQ(ParseNumber("-0x10", NumberRule{}).value, 4294967280u);
  EXPECT_EQ(ParseNumber("4294967295", NumberRule{}).value, 4294967295u);
  EXPECT_EQ(ParseNumber("4294967296", NumberRule{}).status, S::OutOfRange);
}

}  // namespace
}  // namespace lx47
