// The Serial page's rules: the forwarding time, size and character texts,
// the baud codes (the hidden 460800, the code without an item, unknown
// codes), the small lists' values and what a refused store leaves behind.
#include <gtest/gtest.h>

#include "page_block.h"
#include "pagerules/serial_rules.h"

namespace lx47::pagerules {
namespace {

TEST(SerialRules, LoadBaudCodesAndListValues) {
  struct Case {
    std::uint8_t code;
    int position;  // -1: nothing selected
    bool offered;
  };
  const Case baud[] = {{0xC0, 9, true}, {0xD8, -1, false}, {0x00, 3, false}, {0xBB, 8, false}, {0xA0, 0, false}};
  for (const Case& c : baud) {
    test::PageBlock b = test::SerialBlock(c.code);
    const SerialShown shown = LoadSerial(b.view());
    EXPECT_EQ(shown.values.baudRate, c.position) << int(c.code);
    EXPECT_EQ(shown.offer460800, c.offered) << int(c.code);
  }

  struct ListCase {
    field::U8 f;
    std::uint8_t stored;
    int SerialValues::*list;
    int position;
  };
  const ListCase lists[] = {
      {field::Serial_Data_Bits, 7, &SerialValues::dataBits, 0},  {field::Serial_Data_Bits, 5, &SerialValues::dataBits, 1},
      {field::Serial_Parity, 2, &SerialValues::parity, 2},       {field::Serial_Parity, 9, &SerialValues::parity, 0},
      {field::Serial_Stop_Bits, 2, &SerialValues::stopBits, 1},  {field::Serial_Stop_Bits, 3, &SerialValues::stopBits, 0},
      {field::Serial_Flow_Control, 2, &SerialValues::flowControl, 1},
      {field::Serial_Flow_Control, 1, &SerialValues::flowControl, 0},
  };
  for (const ListCase& c : lists) {
    test::PageBlock b = test::SerialBlock();
    b.view().set(c.f, c.stored);
    EXPECT_EQ(LoadSerial(b.view()).values.*c.list, c.position) << c.f.offset << " " << int(c.stored);
  }

  test::PageBlock b = test::SerialBlock();
  b.view().set(field::Serial_Send_Char, 0x0A);
  b.view().set(field::Serial_Send_Time, 65535);
  const SerialValues v = LoadSerial(b.view()).values;
  EXPECT_EQ(v.sendChar, "0A");
  EXPECT_EQ(v.sendTime, "65535");
  EXPECT_EQ(v.sendSize, "100");
}

// An untouched page stores back what it showed: an unknown baud code as
// 9600, odd list values as the items they showed.
TEST(SerialRules, LoadThenStore) {
  test::PageBlock b = test::SerialBlock(0x00);
  ConfigBlock block = b.view();
  block.set(field::Serial_Data_Bits, 5);
  block.set(field::Serial_Parity, 9);
  block.set(field::Serial_Stop_Bits, 3);
  block.set(field::Serial_Flow_Control, 1);
  EXPECT_TRUE(StoreSerial(block, LoadSerial(block).values, FieldSet::All()).ok());
  EXPECT_EQ(block.get(field::Serial_Baud_Rate), 0xF4);
  EXPECT_EQ(block.get(field::Serial_Data_Bits), 8);
  EXPECT_EQ(block.get(field::Serial_Parity), 0);
  EXPECT_EQ(block.get(field::Serial_Stop_Bits), 1);
  EXPECT_EQ(block.get(field::Serial_Flow_Control), 0);

  block.set(field::Serial_Baud_Rate, 0xC0);
  EXPECT_TRUE(StoreSerial(block, LoadSerial(block).values, FieldSet::All()).ok());
  EXPECT_EQ(block.get(field::Serial_Baud_Rate), 0xC0);
}

TEST(SerialRules, StoreTexts) {
  struct Case {
    const char* name;
    const char* time;
    const char* size;
    const char* chr;
    TextId message;
    std::uint16_t expTime, expSize;
    std::uint8_t expChar;
  };
  // The block holds 50, 100 and 0x0D before each store.
  const Case cases[] = {
      {"octal time, decimal size, one hex digit", "0100", "1440", "a", kNoRefusal, 64, 1440, 0x0A},
      {"empty texts store 0", "", "", "", kNoRefusal, 0, 0, 0},
      {"trimmed, trailing characters ignored", " 65535 ", "12ab", "7f", kNoRefusal, 65535, 12, 0x7F},
      {"hex time", "0x20", "0", "FF", kNoRefusal, 32, 0, 0xFF},
      {"time 65536", "65536", "1", "1", TextId::SendTimeInvalid, 50, 100, 0x0D},
      {"negative time", "-1", "1", "1", TextId::SendTimeInvalid, 50, 100, 0x0D},
      {"size 1441 after the time is stored", "7", "1441", "1", TextId::SendSizeInvalid, 7, 100, 0x0D},
      {"character g1", "7", "8", "g1", TextId::SendCharNotHex, 7, 8, 0x0D},
      {"character 0x refused", "7", "8", "0x", TextId::SendCharNotHex, 7, 8, 0x0D},
      {"character 100", "7", "8", "100", TextId::SendCharInvalid, 7, 8, 0x0D},
  };
  const auto fieldOf = [](TextId m) {
    return m == TextId::SendTimeInvalid   ? PageField::Serial_Send_Time
           : m == TextId::SendSizeInvalid ? PageField::Serial_Send_Size
                                          : PageField::Serial_Send_Char;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::PageBlock b = test::SerialBlock();
    ConfigBlock block = b.view();
    SerialValues v = LoadSerial(block).values;
    v.sendTime = c.time;
    v.sendSize = c.size;
    v.sendChar = c.chr;
    const StoreResult r = StoreSerial(block, v, FieldSet::All());
    EXPECT_EQ(r.message, c.message);
    if (!r.ok()) {
      EXPECT_EQ(r.field, fieldOf(c.message));
    }
    EXPECT_EQ(block.get(field::Serial_Send_Time), c.expTime);
    EXPECT_EQ(block.get(field::Serial_Send_Size), c.expSize);
    EXPECT_EQ(block.get(field::Serial_Send_Char), c.expChar);
  }
}

TEST(SerialRules, StoreLists) {
  struct Case {
    const char* name;
    int SerialValues::*list;
    int position;
    field::U8 f;
    std::uint8_t stored;  // what the field holds afterwards
    PageField refused;    // Local_Port: stored
    TextId message;
  };
  const PageField none = PageField::Local_Port;
  const Case cases[] = {
      {"baud 1200", &SerialValues::baudRate, 0, field::Serial_Baud_Rate, 0xA0, none, kNoRefusal},
      {"baud 460800", &SerialValues::baudRate, 9, field::Serial_Baud_Rate, 0xC0, none, kNoRefusal},
      {"no baud", &SerialValues::baudRate, -1, field::Serial_Baud_Rate, 0xF4, PageField::Serial_Baud_Rate,
       TextId::BaudRateInvalid},
      {"7 data bits", &SerialValues::dataBits, 0, field::Serial_Data_Bits, 7, none, kNoRefusal},
      {"no data bits", &SerialValues::dataBits, -1, field::Serial_Data_Bits, 8, PageField::Serial_Data_Bits,
       TextId::DataBitsInvalid},
      {"even parity", &SerialValues::parity, 2, field::Serial_Parity, 2, none, kNoRefusal},
      {"parity beyond the list", &SerialValues::parity, 3, field::Serial_Parity, 0, PageField::Serial_Parity,
       TextId::ParityInvalid},
      {"2 stop bits", &SerialValues::stopBits, 1, field::Serial_Stop_Bits, 2, none, kNoRefusal},
      {"no stop bits", &SerialValues::stopBits, -1, field::Serial_Stop_Bits, 1, PageField::Serial_Stop_Bits,
       TextId::StopBitsInvalid},
      {"CTS/RTS", &SerialValues::flowControl, 1, field::Serial_Flow_Control, 2, none, kNoRefusal},
      {"flow position 3 is none", &SerialValues::flowControl, 3, field::Serial_Flow_Control, 0, none, kNoRefusal},
      {"no flow control", &SerialValues::flowControl, -1, field::Serial_Flow_Control, 0, PageField::Serial_Flow_Control,
       TextId::FlowControlInvalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::PageBlock b = test::SerialBlock();
    ConfigBlock block = b.view();
    SerialValues v = LoadSerial(block).values;
    v.sendTime = "77";
    v.*c.list = c.position;
    const StoreResult r = StoreSerial(block, v, FieldSet::All());
    EXPECT_EQ(r.message, c.message);
    if (!r.ok()) {
      EXPECT_EQ(r.field, c.refused);
    }
    EXPECT_EQ(block.get(c.f), c.stored);
    EXPECT_EQ(block.get(field::Serial_Send_Time), 77);  // the texts come first
  }

  // A code without an item loads with no selection: storing it is refused,
  // so such an entry counts as changed until a rate is chosen.
  test::PageBlock b = test::SerialBlock(0xD8);
  ConfigBlock block = b.view();
  EXPECT_EQ(StoreSerial(block, LoadSerial(block).values, FieldSet::All()).message, TextId::BaudRateInvalid);
  EXPECT_EQ(block.get(field::Serial_Baud_Rate), 0xD8);
}

TEST(SerialRules, OnlyEnabledFieldsAreStored) {
  test::PageBlock b = test::SerialBlock();
  const std::vector<std::uint8_t> before = b.bytes;
  ConfigBlock block = b.view();
  SerialValues v;  // nothing typed, nothing selected
  v.sendTime = "70000";
  EXPECT_TRUE(StoreSerial(block, v, FieldSet{}).ok());
  EXPECT_EQ(b.bytes, before);
  v.sendSize = "9";
  EXPECT_TRUE(StoreSerial(block, v, FieldSet{PageField::Serial_Send_Size}).ok());
  EXPECT_EQ(block.get(field::Serial_Send_Size), 9);
}

}  // namespace
}  // namespace lx47::pagerules
