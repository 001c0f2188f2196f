// The pages' text rules: the white space typed texts lose, how an edit
// counts characters, and the two kinds of text field of the block.
#include <gtest/gtest.h>

#include <string>

#include "page_block.h"
#include "pagerules/page_fields.h"
#include "pagerules/text_fields.h"

namespace lx47::pagerules {
namespace {

using test::Ansi;

TEST(PageText, TrimsUnicodeWhiteSpaceOnly) {
  struct Case {
    const char* text;
    const char* both;
    const char* right;
  };
  const Case cases[] = {
      {"", "", ""},
      {" \t\r\n ", "", ""},
      {"  a b  ", "a b", "  a b"},
      {"\u3000全角\u3000", "全角", "\u3000全角"},             // the ideographic space
      {"\u00A0x\u2009\u2028", "x", "\u00A0x"},                // no-break, thin, line separator
      {"\u200Bx\u200B", "\u200Bx\u200B", "\u200Bx\u200B"},    // zero width: not white space
      {"x\xE3\x80", "x\xE3\x80", "x\xE3\x80"},                // a cut-off sequence stays
      {"\x80 x \xA0", "\x80 x \xA0", "\x80 x \xA0"},          // so does a stray byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Trimmed(c.text), c.both) << c.text;
    EXPECT_EQ(TrimmedRight(c.text), c.right) << c.text;
  }
}

TEST(PageText, CountsCharactersAsAnEditDoes) {
  EXPECT_EQ(Utf16Length(""), 0u);
  EXPECT_EQ(Utf16Length("abcdefg"), 7u);
  EXPECT_EQ(Utf16Length("パスワード"), 5u);
  EXPECT_EQ(Utf16Length("\U00020000\U00020001"), 4u);  // beyond U+FFFF: two each
}

// Cleaning writes spaces into the block itself; storing cuts between
// double-byte characters and pads with spaces.
TEST(PageText, SpacePaddedFields) {
  test::PageBlock b;
  ConfigBlock block = b.view();
  auto raw = block.raw(field::Search_Password);
  const std::uint8_t bytes[8] = {' ', 'a', 0, 'b', 0x80, 0x7F, 0, 0};
  std::copy(bytes, bytes + 8, raw.begin());
  EXPECT_EQ(CleanAndLoadSpaceText(block, field::Search_Password), " a b    ");
  EXPECT_EQ(block.get(field::Search_Password), " a b    ");

  StoreSpaceText(block, field::Search_Password, "abcdefghij");
  EXPECT_EQ(block.get(field::Search_Password), "abcdefgh");
  StoreSpaceText(block, field::Search_Password, "a漢字漢字");  // 9 bytes: the last kanji left out whole
  EXPECT_EQ(block.get(field::Search_Password), "a" + Ansi("漢字漢") + " ");
}

TEST(PageText, ZeroPaddedFields) {
  test::PageBlock b;
  ConfigBlock block = b.view();
  StoreZeroText(block, field::Msg_Connect_To_UART, "  hello\u3000");
  EXPECT_EQ(test::FieldBytes(block, field::Msg_Connect_To_UART), test::Padded("hello", 16));
  EXPECT_EQ(LoadZeroText(block, field::Msg_Connect_To_UART), "hello");
  StoreZeroText(block, field::Msg_Connect_To_UART, std::string(16, 'x'));  // full: no terminator
  EXPECT_EQ(test::FieldBytes(block, field::Msg_Connect_To_UART), std::string(16, 'x'));
  EXPECT_EQ(LoadZeroText(block, field::Msg_Connect_To_UART), std::string(16, 'x'));
  ClearZeroText(block, field::Msg_Connect_To_UART);
  EXPECT_EQ(test::FieldBytes(block, field::Msg_Connect_To_UART), std::string(16, '\0'));
}

TEST(PageFields, NamesAreTheBlockFields) {
  EXPECT_EQ(FieldName(PageField::Local_Port), "Local_Port");
  EXPECT_EQ(FieldName(PageField::Connect_Password_Enable), "Connect_Password_Enable");
  EXPECT_EQ(FieldName(PageField::Wifi_AP_Channel), "Wifi_AP_Channel");
  EXPECT_EQ(FieldName(PageField::Disconnect_Judge_Time), "Disconnect_Judge_Time");
  FieldSet s{PageField::Server_Port};
  EXPECT_TRUE(s.has(PageField::Server_Port));
  EXPECT_FALSE(s.has(PageField::Local_Port));
  EXPECT_TRUE(FieldSet::All().has(PageField::Disconnect_Judge_Time));
  EXPECT_FALSE(FieldSet::All().set(PageField::Local_Port, false).has(PageField::Local_Port));
}

}  // namespace
}  // namespace lx47::pagerules
