// The Wi-Fi page's rules: the status lines, the security and channel lists,
// the access-point password rule, texts at their fields' widths and in the
// code page, and the router choice.
#include <gtest/gtest.h>

#include "page_block.h"
#include "pagerules/wifi_rules.h"

namespace lx47::pagerules {
namespace {

using test::Ansi;
using test::FieldBytes;
using test::Padded;

TEST(WifiRules, StatusLines) {
  struct Case {
    std::uint8_t mode, security, channel;
    int modeName;
    const char* link;
  };
  const Case cases[] = {{0, 3, 6, 166, "WPA2"}, {1, 0, 11, 167, "open"}, {2, 7, 1, 169, "WPA2/WPA3"},
                        {3, 4, 13, 168, "WPA/WPA2"}, {7, 9, 3, 0, "unknown (9)"}};
  for (const Case& c : cases) {
    test::PageBlock b;
    b.view().set(field::Wifi_Mode, c.mode);
    b.view().set(field::Wifi_Security, c.security);
    b.view().set(field::Wifi_Channel, c.channel);
    const WifiShown shown = LoadWifi(b.view());
    EXPECT_EQ(static_cast<int>(shown.modeName), c.modeName) << int(c.mode);
    EXPECT_EQ(shown.linkSecurity, c.link) << int(c.security);
    EXPECT_EQ(shown.linkChannel, c.channel);
  }
}

// Codes without an item show "WPA/WPA2" and are stored as 4; "open" shows
// no password and stores an all-zero one whatever was typed.
TEST(WifiRules, SecurityCodesShownAndStored) {
  struct Case {
    std::uint8_t code;
    int position;
    std::uint8_t stored;
  };
  const Case cases[] = {{0, 0, 0}, {2, 1, 2}, {3, 2, 3}, {4, 3, 4}, {5, 3, 4},
                        {1, 3, 4}, {9, 3, 4}, {6, 4, 6}, {7, 5, 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.code));
    test::PageBlock b;
    ConfigBlock block = b.view();
    block.set(field::Wifi_AP_Security, c.code);
    block.set(field::Wifi_AP_Password, "secret-password");
    WifiValues v = LoadWifi(block).values;
    EXPECT_EQ(v.apSecurity, c.position);
    EXPECT_EQ(v.apPassword, c.code == 0 ? "" : "secret-password");
    v.apPassword = "typed anyway 123";
    EXPECT_TRUE(StoreWifi(block, v, FieldSet::All()).ok());
    EXPECT_EQ(block.get(field::Wifi_AP_Security), c.stored);
    EXPECT_EQ(FieldBytes(block, field::Wifi_AP_Password),
              c.code == 0 ? std::string(64, '\0') : Padded("typed anyway 123", 64));
  }
}

// Fewer than 8 characters after trimming, counted as the edit counts them,
// are refused: the password stays, the security mode, the channel and the
// texts before it are written all the same.
TEST(WifiRules, ShortAccessPointPassword) {
  struct Case {
    const char* typed;
    const char* stored;  // nullptr: refused
  };
  const Case cases[] = {{" abcdefg ", nullptr},
                        {" abcdefgh ", "abcdefgh"},
                        {"\u3000abcdefg\u3000", nullptr},
                        {"パスワードです。", "パスワードです。"},
                        {"\U00020000\U00020001\U00020002\U00020003", "????"}};  // no code-page form
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    test::PageBlock b;
    ConfigBlock block = b.view();
    block.set(field::Wifi_AP_Security, 3);
    block.set(field::Wifi_AP_Channel, 6);
    block.set(field::Wifi_AP_Password, "oldpassword");
    WifiValues v = LoadWifi(block).values;
    v.apSecurity = 1;  // WPA
    v.apChannel = 0;   // channel 1
    v.apPassword = c.typed;
    v.infraSsid = "  router-a  ";
    const StoreResult r = StoreWifi(block, v, FieldSet::All());
    EXPECT_EQ(r.ok(), c.stored != nullptr);
    if (!c.stored) {
      EXPECT_EQ(r.field, PageField::Wifi_AP_Password);
      EXPECT_EQ(r.message, TextId::ApPasswordTooShort);
    }
    EXPECT_EQ(FieldBytes(block, field::Wifi_AP_Password), Padded(c.stored ? Ansi(c.stored) : "oldpassword", 64));
    EXPECT_EQ(block.get(field::Wifi_AP_Security), 2);
    EXPECT_EQ(block.get(field::Wifi_AP_Channel), 1);
    EXPECT_EQ(FieldBytes(block, field::Wifi_Infra_SSID), Padded("router-a", 32));
  }
}

// Texts are cut at the field width, not at the edit's limit; a text that
// fills its field has no terminator, and loads whole without reading on.
TEST(WifiRules, TextFieldsAtTheirWidths) {
  test::PageBlock b;
  ConfigBlock block = b.view();
  block.set(field::Wifi_AP_Security, 4);
  WifiValues v = LoadWifi(block).values;
  const std::string ssid32(32, 's'), pass64(64, 'p'), ap63(63, 'a');
  v.infraSsid = ssid32;
  v.infraPassword = pass64;
  v.apPassword = ap63;
  v.apSsid = std::string(33, 'n');
  EXPECT_TRUE(StoreWifi(block, v, FieldSet::All()).ok());
  EXPECT_EQ(FieldBytes(block, field::Wifi_Infra_SSID), ssid32);
  EXPECT_EQ(FieldBytes(block, field::Wifi_Infra_Password), pass64);
  EXPECT_EQ(FieldBytes(block, field::Wifi_AP_Password), Padded(ap63, 64));  // byte 63 is the terminator
  EXPECT_EQ(FieldBytes(block, field::Wifi_AP_SSID), std::string(32, 'n'));
  v = LoadWifi(block).values;
  EXPECT_EQ(v.infraSsid, ssid32);
  EXPECT_EQ(v.infraPassword, pass64);
}

// Japanese texts travel in the code page: what the device sent comes back
// byte for byte, the code page's own single bytes (0x80, 0xA0, 0xFD..0xFF)
// included, and a text too long for its field is cut between characters.
TEST(WifiRules, TextsRoundTripInTheCodePage) {
  test::PageBlock b;
  ConfigBlock block = b.view();
  block.set(field::Wifi_Infra_SSID, Ansi("無線ルーター１"));
  block.set(field::Wifi_Infra_Password, std::string("\xA0net\x80", 5));
  block.set(field::Wifi_AP_SSID, std::string("\xFD\xFE\xFF" "ap", 5));
  block.set(field::Wifi_AP_Password, Ansi("パスワードｱｲｳ123"));
  block.set(field::Wifi_AP_Security, 3);
  block.set(field::Wifi_AP_Channel, 11);
  const std::vector<std::uint8_t> before = b.bytes;
  WifiValues v = LoadWifi(block).values;
  EXPECT_EQ(v.infraSsid, "無線ルーター１");
  EXPECT_EQ(v.apPassword, "パスワードｱｲｳ123");
  EXPECT_EQ(v.infraPassword.find("\uFFFD"), std::string::npos);
  EXPECT_TRUE(StoreWifi(block, v, FieldSet::All()).ok());
  EXPECT_EQ(b.bytes, before);

  // "a" and 16 kanji are 33 bytes: the last kanji does not fit in 32.
  v.infraSsid = "a漢字漢字漢字漢字漢字漢字漢字漢字";
  EXPECT_TRUE(StoreWifi(block, v, FieldSet::All()).ok());
  EXPECT_EQ(FieldBytes(block, field::Wifi_Infra_SSID), Padded(Ansi("a漢字漢字漢字漢字漢字漢字漢字漢"), 32));
}

// A channel the list has no item for selects nothing and is kept as the
// block has it rather than replaced by a list error value.
TEST(WifiRules, Channels) {
  for (int ch : {0, 1, 11, 13, 14, 200}) {
    test::PageBlock b;
    ConfigBlock block = b.view();
    block.set(field::Wifi_AP_Channel, static_cast<std::uint8_t>(ch));
    const WifiValues v = LoadWifi(block).values;
    const bool listed = ch >= 1 && ch <= 13;
    EXPECT_EQ(v.apChannel, listed ? ch - 1 : -1) << ch;
    EXPECT_TRUE(StoreWifi(block, v, FieldSet::All()).ok());
    EXPECT_EQ(block.get(field::Wifi_AP_Channel), ch);
  }
}

TEST(WifiRules, DisabledFieldsAreNotStored) {
  test::PageBlock b;
  const std::vector<std::uint8_t> before = b.bytes;
  ConfigBlock block = b.view();
  WifiValues v = LoadWifi(block).values;
  v.infraSsid = "changed";
  v.apSecurity = 1;
  v.apPassword = "short";
  v.apChannel = 2;
  EXPECT_TRUE(StoreWifi(block, v, FieldSet{PageField::Wifi_AP_Password}).ok());
  EXPECT_EQ(b.bytes, before);
}

TEST(WifiRules, RouterChoice) {
  const auto record = [](const std::string& ssid) {
    RouterScanRecord r;
    std::copy(ssid.begin(), ssid.end(), r.bytes.begin() + 2);
    return r;
  };
  // A code-page SSID reads as its text; other bytes one character each.
  EXPECT_EQ(RouterSsidText(record(Ansi("会社のルーター"))), "会社のルーター");
  EXPECT_EQ(RouterSsidText(record("caf\xE9")), "caf\u00e9");
  EXPECT_EQ(RouterSsidText(record("office")), "office");

  WifiValues v;
  v.infraSsid = "office";
  v.infraPassword = "officepass";
  EXPECT_FALSE(ChooseRouter(v, "office"));
  EXPECT_EQ(v.infraPassword, "officepass");
  EXPECT_TRUE(ChooseRouter(v, "home"));
  EXPECT_EQ(v.infraSsid, "home");
  EXPECT_EQ(v.infraPassword, "");
}

}  // namespace
}  // namespace lx47::pagerules
