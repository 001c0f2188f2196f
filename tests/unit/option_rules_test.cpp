// The Option page's rules: the password rules and the cleaning of their
// bytes, the disconnect and keep-alive texts, and when the connection
// password is written at all.
#include <gtest/gtest.h>

#include "page_block.h"
#include "pagerules/option_rules.h"

namespace lx47::pagerules {
namespace {

// Bytes outside printable ASCII become spaces in the block itself; a
// password shows without its trailing spaces, its leading ones kept.
TEST(OptionRules, Load) {
  test::PageBlock b = test::OptionBlock();
  ConfigBlock block = b.view();
  auto search = block.raw(field::Search_Password);
  const std::uint8_t raw[8] = {' ', 'a', 0, 'b', 0x80, 0, 0, 0};
  std::copy(raw, raw + 8, search.begin());
  block.set(field::Connect_Password, "");
  block.set(field::Connect_Password_Enable, 7);
  const OptionValues v = LoadOption(block);
  EXPECT_EQ(v.searchPassword, " a b");
  EXPECT_EQ(block.get(field::Search_Password), " a b    ");
  EXPECT_EQ(v.connectPassword, "");
  EXPECT_TRUE(v.connectPasswordEnable);
  EXPECT_EQ(v.disconnectTime, "300");
  EXPECT_EQ(v.keepaliveInterval, "60");
}

TEST(OptionRules, Store) {
  struct Case {
    const char* name;
    const char* search;
    const char* connect;
    const char* disconnect;
    const char* keepalive;
    PageField refused;
    TextId message;
    std::string expSearch, expConnect;
    std::uint16_t expDisconnect, expKeepalive;
  };
  const PageField none = PageField::Local_Port;
  const Case cases[] = {
      {"leading space refused", " ab", "conn", "1", "1", PageField::Search_Password, TextId::SearchPasswordLeadingSpace,
       "find    ", "conn    ", 300, 60},
      {"spaces only is no password", "   ", "conn", "0", "0", none, kNoRefusal, "        ", "conn    ", 0, 0},
      {"trailing spaces dropped", "ab  ", "x y  ", "65535", "010", none, kNoRefusal, "ab      ", "x y     ", 65535, 8},
      {"empty", "", "", "12ab", " 7 ", none, kNoRefusal, "        ", "        ", 12, 7},
      {"connection password with a leading space, search stored before it", "new", " cd", "1", "1",
       PageField::Connect_Password, TextId::ConnectPasswordLeadingSpace, "new     ", "conn    ", 300, 60},
      {"disconnect 65536", "find", "conn", "65536", "1", PageField::TCP_Disconnect_Time, TextId::DisconnectTimeInvalid,
       "find    ", "conn    ", 300, 60},
      {"keep-alive refused after the disconnect time is stored", "find", "conn", "0x10", "99999",
       PageField::TCP_Keepalive_Interval, TextId::KeepaliveIntervalInvalid, "find    ", "conn    ", 16, 60},
      {"negative keep-alive", "find", "conn", "1", "-1", PageField::TCP_Keepalive_Interval,
       TextId::KeepaliveIntervalInvalid, "find    ", "conn    ", 1, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::PageBlock b = test::OptionBlock();
    ConfigBlock block = b.view();
    OptionValues v = LoadOption(block);
    v.searchPassword = c.search;
    v.connectPassword = c.connect;
    v.disconnectTime = c.disconnect;
    v.keepaliveInterval = c.keepalive;
    const StoreResult r = StoreOption(block, v, FieldSet::All());
    EXPECT_EQ(r.message, c.message);
    if (!r.ok()) {
      EXPECT_EQ(r.field, c.refused);
    }
    EXPECT_EQ(block.get(field::Search_Password), c.expSearch);
    EXPECT_EQ(block.get(field::Connect_Password), c.expConnect);
    EXPECT_EQ(block.get(field::TCP_Disconnect_Time), c.expDisconnect);
    EXPECT_EQ(block.get(field::TCP_Keepalive_Interval), c.expKeepalive);
  }
}

// The switch is written only while its check box takes part (on screen and
// enabled); switched off, it keeps the old password bytes.
TEST(OptionRules, ConnectionPasswordOnlyWhileItsSwitchTakesPart) {
  const auto run = [](FieldSet enabled, bool on) {
    test::PageBlock b = test::OptionBlock();
    ConfigBlock block = b.view();
    block.set(field::Connect_Password_Enable, 0);
    OptionValues v = LoadOption(block);
    v.connectPasswordEnable = on;
    v.connectPassword = "newpw";
    EXPECT_TRUE(StoreOption(block, v, enabled).ok());
    return std::pair{block.get(field::Connect_Password_Enable), block.get(field::Connect_Password)};
  };
  using Result = std::pair<std::uint8_t, std::string>;
  const FieldSet both{PageField::Connect_Password_Enable, PageField::Connect_Password};
  EXPECT_EQ(run(FieldSet{PageField::Connect_Password}, true), (Result{0, "conn    "})) << "switch not on screen";
  EXPECT_EQ(run(both, true), (Result{1, "newpw   "}));
  EXPECT_EQ(run(FieldSet{PageField::Connect_Password_Enable}, true), (Result{1, "conn    "})) << "edit disabled";
  EXPECT_EQ(run(both, false), (Result{0, "conn    "})) << "unchecked keeps the old bytes";
}

TEST(OptionRules, DisabledFieldsAreNotChecked) {
  test::PageBlock b = test::OptionBlock();
  const std::vector<std::uint8_t> before = b.bytes;
  ConfigBlock block = b.view();
  OptionValues v = LoadOption(block);
  v.disconnectTime = "70000";
  v.searchPassword = " x";
  EXPECT_TRUE(StoreOption(block, v, FieldSet{}).ok());
  EXPECT_EQ(b.bytes, before);
}

}  // namespace
}  // namespace lx47::pagerules
