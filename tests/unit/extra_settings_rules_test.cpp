// The Special page's rules: times corrected on load, their range checks,
// the three messages and the TCP password, and restoring the defaults.
#include <gtest/gtest.h>

#include "page_block.h"
#include "pagerules/extra_settings_rules.h"

namespace lx47::pagerules {
namespace {

using test::Ansi;
using test::FieldBytes;
using test::Padded;

test::PageBlock SpecialBlock() {
  test::PageBlock b;
  b.view().set(field::DHCP_Lease_Time, 60);
  b.view().set(field::Disconnect_Judge_Time, 30);
  b.view().set(field::Extra_Time_Value, 10);
  return b;
}

TEST(SpecialRules, LoadCorrectsTimesInTheBlock) {
  struct Case {
    std::uint16_t lease, judge, extra;
    std::uint16_t leaseAfter, judgeAfter, extraAfter;
  };
  const Case cases[] = {{0, 5, 2, 1440, 300, 300},
                        {9, 0, 0, 9, 300, 300},
                        {10, 9, 3, 10, 300, 3},
                        {65535, 10, 1, 65535, 10, 300},
                        {1440, 65535, 65535, 1440, 65535, 65535}};
  for (const Case& c : cases) {
    test::PageBlock b = SpecialBlock();
    ConfigBlock block = b.view();
    block.set(field::DHCP_Lease_Time, c.lease);
    block.set(field::Disconnect_Judge_Time, c.judge);
    block.set(field::Extra_Time_Value, c.extra);
    const SpecialValues v = LoadSpecial(block);
    EXPECT_EQ(block.get(field::DHCP_Lease_Time), c.leaseAfter) << c.lease;
    EXPECT_EQ(block.get(field::Disconnect_Judge_Time), c.judgeAfter) << c.judge;
    EXPECT_EQ(block.get(field::Extra_Time_Value), c.extraAfter) << c.extra;
    EXPECT_EQ(v.leaseTime, std::to_string(c.leaseAfter));
    EXPECT_EQ(v.judgeTime, std::to_string(c.judgeAfter));
  }
  // Little-endian: 1440 is A0 05.
  test::PageBlock b = SpecialBlock();
  b.view().set(field::DHCP_Lease_Time, 0);
  ConfigBlock block = b.view();
  LoadSpecial(block);
  EXPECT_EQ(b.bytes[106], 0xA0);
  EXPECT_EQ(b.bytes[107], 0x05);
}

// 1..9 are refused; empty or 0 stores the default; above 65535 is refused
// too, rather than stored as its low 16 bits.
TEST(SpecialRules, TimeRanges) {
  struct Case {
    const char* lease;
    const char* judge;
    TextId message;
    int leaseStored, judgeStored;
  };
  const Case cases[] = {
      {"10", "10", kNoRefusal, 10, 10},
      {"65535", "65535", kNoRefusal, 65535, 65535},
      {"", "", kNoRefusal, 1440, 300},
      {"0", "0", kNoRefusal, 1440, 300},
      {" 12 ", "30x", kNoRefusal, 12, 30},
      {"9", "100", TextId::LeaseTimeInvalid, 60, 30},
      {"1", "100", TextId::LeaseTimeInvalid, 60, 30},
      {"65536", "100", TextId::LeaseTimeInvalid, 60, 30},
      {"99999999999", "100", TextId::LeaseTimeInvalid, 60, 30},
      {"20", "9", TextId::JudgeTimeInvalid, 20, 30},  // the lease is written before the judgement is checked
      {"20", "65546", TextId::JudgeTimeInvalid, 20, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.lease) + "/" + c.judge);
    test::PageBlock b = SpecialBlock();
    ConfigBlock block = b.view();
    SpecialValues v = LoadSpecial(block);
    v.leaseTime = c.lease;
    v.judgeTime = c.judge;
    const StoreResult r = StoreSpecial(block, v, FieldSet::All());
    EXPECT_EQ(r.message, c.message);
    if (!r.ok()) {
      EXPECT_EQ(r.field,
                c.message == TextId::LeaseTimeInvalid ? PageField::DHCP_Lease_Time : PageField::Disconnect_Judge_Time);
    }
    EXPECT_EQ(block.get(field::DHCP_Lease_Time), c.leaseStored);
    EXPECT_EQ(block.get(field::Disconnect_Judge_Time), c.judgeStored);
  }
}

TEST(SpecialRules, MessagesAndPassword) {
  test::PageBlock b = SpecialBlock();
  ConfigBlock block = b.view();
  block.set(kMessageFields[0], "hello");
  block.set(kMessageFields[1], std::string(16, 'x'));  // full: no terminator
  block.set(field::TCP_Password, " pw with spaces ");
  SpecialValues v = LoadSpecial(block);
  EXPECT_EQ(v.messageOn, (std::array<bool, 3>{true, true, false}));
  EXPECT_EQ(v.message[1], std::string(16, 'x'));
  EXPECT_EQ(v.message[2], "");
  EXPECT_TRUE(v.tcpPasswordOn);
  EXPECT_EQ(v.tcpPassword, " pw with spaces ");

  v.message[0] = "  CONNECT  ";  // trimmed
  v.messageOn[1] = false;        // unticked: zeros, whatever the text
  v.messageOn[2] = true;         // ticked with an empty text: zeros
  EXPECT_TRUE(StoreSpecial(block, v, FieldSet::All()).ok());
  EXPECT_EQ(FieldBytes(block, kMessageFields[0]), Padded("CONNECT", 16));
  EXPECT_EQ(FieldBytes(block, kMessageFields[1]), std::string(16, '\0'));
  EXPECT_EQ(FieldBytes(block, kMessageFields[2]), std::string(16, '\0'));
  EXPECT_EQ(FieldBytes(block, field::TCP_Password), Padded("pw with spaces", 32));

  v.tcpPasswordOn = false;
  EXPECT_TRUE(StoreSpecial(block, v, FieldSet::All()).ok());
  EXPECT_EQ(FieldBytes(block, field::TCP_Password), std::string(32, '\0'));

  // A password that fills its field has no terminator and comes back whole.
  block.set(field::TCP_Password, std::string(32, 'q'));
  v = LoadSpecial(block);
  EXPECT_TRUE(StoreSpecial(block, v, FieldSet::All()).ok());
  EXPECT_EQ(FieldBytes(block, field::TCP_Password), std::string(32, 'q'));

  // Nine kanji are 18 bytes: the ninth is left out whole.
  v.messageOn[2] = true;
  v.message[2] = "一二三四五六七八九";
  EXPECT_TRUE(StoreSpecial(block, v, FieldSet::All()).ok());
  EXPECT_EQ(FieldBytes(block, kMessageFields[2]), Ansi("一二三四五六七八"));
}

TEST(SpecialRules, CodePageTextsComeBackUnchanged) {
  test::PageBlock b = SpecialBlock();
  ConfigBlock block = b.view();
  block.set(kMessageFields[0], Ansi("接続しました"));
  block.set(kMessageFields[1], Ansi("切断ｼﾏｼﾀ12345678"));  // 16 bytes
  block.set(field::TCP_Password, Ansi("パスワード"));
  LoadSpecial(block);
  const std::vector<std::uint8_t> before = b.bytes;
  const SpecialValues v = LoadSpecial(block);
  EXPECT_EQ(v.message[1], "切断ｼﾏｼﾀ12345678");
  EXPECT_TRUE(StoreSpecial(block, v, FieldSet::All()).ok());
  EXPECT_EQ(b.bytes, before);
}

// The lease and judgement times are stored whatever is enabled; the texts
// only while their check boxes take part.
TEST(SpecialRules, DisabledTextsAreNotStored) {
  test::PageBlock b = SpecialBlock();
  ConfigBlock block = b.view();
  block.set(kMessageFields[0], "keep");
  SpecialValues v = LoadSpecial(block);
  v.messageOn[0] = false;
  v.leaseTime = "77";
  EXPECT_TRUE(StoreSpecial(block, v, FieldSet{}).ok());
  EXPECT_EQ(FieldBytes(block, kMessageFields[0]), Padded("keep", 16));
  EXPECT_EQ(block.get(field::DHCP_Lease_Time), 77);
}

// Restoring the defaults, then storing, clears the password and every
// message and writes 1440 and 300.
TEST(SpecialRules, DefaultsThenStore) {
  test::PageBlock b = SpecialBlock();
  ConfigBlock block = b.view();
  for (auto f : kMessageFields) block.set(f, "msg");
  block.set(field::TCP_Password, "secret");
  LoadSpecial(block);
  const SpecialValues v = SpecialDefaults();
  EXPECT_EQ(v.leaseTime, "1440");
  EXPECT_EQ(v.judgeTime, "300");
  EXPECT_FALSE(v.tcpPasswordOn);
  EXPECT_EQ(v.messageOn, (std::array<bool, 3>{}));
  EXPECT_TRUE(StoreSpecial(block, v, FieldSet::All()).ok());
  EXPECT_EQ(block.get(field::DHCP_Lease_Time), 1440);
  EXPECT_EQ(block.get(field::Disconnect_Judge_Time), 300);
  EXPECT_EQ(FieldBytes(block, field::TCP_Password), std::string(32, '\0'));
  for (auto f : kMessageFields) EXPECT_EQ(FieldBytes(block, f), std::string(16, '\0'));
}

}  // namespace
}  // namespace lx47::pagerules
