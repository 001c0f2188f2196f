// Edits as the window makes them: each value through its page's control and
// rules, the refusals with the page's message and nothing else changed, the
// values a page would leave out refused (set) or kept (load), and the
// enabling rules of the form.
#include <gtest/gtest.h>

#include "ctl/block_changes.h"
#include "ctl/edits.h"
#include "ctl/exit_status.h"
#include "ctl_blocks.h"

namespace lx47::ctl {
namespace {

using pagerules::kModeClient;
using pagerules::kModeMixed;
using pagerules::kModeServer;

std::vector<Edit> Edits(std::initializer_list<std::pair<const char*, const char*>> list) {
  std::vector<Edit> edits;
  for (const auto& [name, value] : list) {
    const FieldDef* f = FindField(name);
    EXPECT_NE(f, nullptr) << name;
    edits.push_back({f, std::string(value)});
  }
  return edits;
}

std::string Changed(const DeviceEntry& e, const EditResult& r) {
  std::string names;
  for (const BlockChange& c : BlockChanges(e.Block, r.block)) names += (names.empty() ? "" : " ") + c.field;
  return names;
}

TEST(CtlEdits, EachValueChangesItsFieldsAndNothingElse) {
  struct Case {
    const char* name;
    std::uint8_t mode;
    bool dhcp;
    std::initializer_list<std::pair<const char*, const char*>> edits;
    bool extended;
    const char* changed;  // the block fields whose bytes differ afterwards
  };
  const Case cases[] = {
      {"port", kModeClient, false, {{"Local_Port", "9000"}}, false, "Local_Port"},
      {"octal, as the page reads it", kModeClient, false, {{"Local_Port", "010"}}, false, "Local_Port"},
      {"baud in bits per second", kModeServer, false, {{"Serial_Baud_Rate", "115200"}}, false, "Serial_Baud_Rate"},
      {"460800 as once unlocked", kModeServer, false, {{"Serial_Baud_Rate", "460800"}}, false, "Serial_Baud_Rate"},
      {"lists by their item texts", kModeServer, false,
       {{"Serial_Parity", "even"}, {"Serial_Flow_Control", "cts/rts"}}, false, "Serial_Parity Serial_Flow_Control"},
      {"manual address", kModeServer, true, {{"DHCP_Enable", "off"}, {"Device_IP_Address", "10.47.0.50"}}, false,
       "DHCP_Enable Device_IP_Address"},
      {"Server from a Client entry", kModeClient, false, {{"Operation_Mode", "TCP Server"}}, false, "Operation_Mode"},
      {"Mixed with the extended settings", kModeClient, false, {{"Operation_Mode", "mixed"}, {"Server_Port", "6000"}},
       true, "Operation_Mode Server_Port"},
      {"connection password after choosing Server", kModeClient, false,
       {{"Operation_Mode", "server"}, {"Connect_Password_Enable", "on"}, {"Connect_Password", "abc"}}, true,
       "Operation_Mode Connect_Password_Enable Connect_Password"},
      {"a message on and a text in the code page", kModeServer, false,
       {{"Msg_Connect_To_UART", "hello"}, {"Wifi_Infra_SSID", "会社"}}, false, "Wifi_Infra_SSID Msg_Connect_To_UART"},
      {"the same value changes nothing", kModeServer, false, {{"Wifi_AP_Channel", "6"}}, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DeviceEntry e = test::CtlDevice(1, c.mode, c.dhcp);
    const EditResult r = ApplyEdits(e, Edits(c.edits), {c.extended, Unwritten::Refuse});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Changed(e, r), c.changed);
  }
}

TEST(CtlEdits, RefusalsNameTheFieldWithThePagesMessage) {
  struct Case {
    std::uint8_t mode;
    bool dhcp;
    std::pair<const char*, const char*> edit;
    bool extended;
    const char* error;
  };
  const Case cases[] = {
      {kModeClient, false, {"Local_Port", "0"}, false, "Local_Port：[ネットワーク設定]－「ポート番号」の指定が無効または範囲外です。"},
      {kModeClient, false, {"Local_Port", "0x1f90"}, false, "Local_Port：0～9 の数字だけを指定してください。"},
      {kModeClient, false, {"Device_IP_Address", "0.1.2.3"}, false,
       "Device_IP_Address：[ネットワーク設定]－「ローカル IP アドレス」の指定に問題があります。"},
      {kModeClient, false, {"Device_IP_Address", "10.47.0.256"}, false,
       "Device_IP_Address：IPv4 アドレス（例 192.168.0.10）を指定してください。"},
      {kModeClient, true, {"Device_IP_Address", "10.47.0.50"}, false,
       "Device_IP_Address：DHCP が有効なため、書き込まれません。"},
      {kModeServer, false, {"Operation_Mode", "client"}, false,
       "Operation_Mode：オペレーション モードは、TCP Client のデバイスでだけ変更できます。"},
      {kModeClient, false, {"Operation_Mode", "mixed"}, false, "Operation_Mode：拡張設定です（--extended を付けると使えます）。"},
      {kModeServer, false, {"Server_Port", "80"}, false,
       "Server_Port：オペレーション モードが TCP Client か Mixed の時だけ書き込まれます。"},
      {kModeServer, false, {"Connect_Password_Enable", "on"}, true,
       "Connect_Password_Enable：TCP Client のデバイスで TCP Server を選んだ時と、Mixed のデバイスでだけ書き込まれます。"},
      {kModeServer, false, {"Serial_Baud_Rate", "1234"}, false,
       "Serial_Baud_Rate：値「1234」は使えません（指定できる値：1200|2400|4800|9600|19200|38400|57600|115200|230400|460800）。"},
      {kModeServer, false, {"Serial_Send_Time", "65536"}, false,
       "Serial_Send_Time：[シリアル設定]－「時間」（ミリ秒）の指定が無効または範囲外です。"},
      {kModeServer, false, {"Serial_Send_Char", "g1"}, false,
       "Serial_Send_Char：[シリアル設定]－「受信キャラクター」（16進数）の指定が不正です。"},
      {kModeServer, false, {"Search_Password", "123456789"}, false, "Search_Password：8 文字までです。"},
      {kModeServer, false, {"Search_Password", " lead"}, false,
       "Search_Password：[オプション設定]－「検索パスワード」の一文字目をスペースとすることはできません。\n（スペースのみであれば問題ありません）"},
      {kModeServer, false, {"Wifi_AP_Password", " seven7 "}, false, "Wifi_AP_Password：パスワードは 8文字以上必要です。"},
      {kModeServer, false, {"DHCP_Lease_Time", "9"}, false,
       "DHCP_Lease_Time：[LX47 特別設定]－「DHCPリース時間」 の指定が無効または範囲外です。"},
      {kModeServer, false, {"Wifi_Infra_SSID", "123456789012345678901234567890123"}, false,
       "Wifi_Infra_SSID：32 文字までです。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edit.first + std::string("=") + c.edit.second);
    const DeviceEntry e = test::CtlDevice(1, c.mode, c.dhcp);
    const EditResult r = ApplyEdits(e, Edits({c.edit}), {c.extended, Unwritten::Refuse});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_EQ(r.error, c.error);
  }
}

// A configuration loaded leaves the fields the device's pages would not
// write as they are, and says which differ.
TEST(CtlEdits, KeepModeLeavesUnwrittenFieldsWithANote) {
  const DeviceEntry e = test::CtlDevice(1, kModeServer, true);
  const EditResult r = ApplyEdits(e,
                                  Edits({{"Device_IP_Address", "10.47.0.50"},
                                         {"Operation_Mode", "TCP Client"},
                                         {"DNS_Connect_Enable", "off"},
                                         {"Local_Port", "9000"}}),
                                  {false, Unwritten::Keep});
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(Changed(e, r), "Local_Port");
  ASSERT_EQ(r.kept.size(), 3u);
  EXPECT_EQ(r.kept[0], "Operation_Mode：オペレーション モードは、TCP Client のデバイスでだけ変更できます。");
  EXPECT_EQ(r.kept[1], "DNS_Connect_Enable：拡張設定です（--extended を付けると使えます）。");
  EXPECT_EQ(r.kept[2], "Device_IP_Address：DHCP が有効なため、書き込まれません。");
}

// The form's enabling follows the window: what a store writes depends on
// the loaded mode and on choices made since.
TEST(CtlEdits, FormEnablingFollowsTheWindow) {
  using pagerules::ModeChoice;
  using pagerules::PageField;
  DeviceEntry client = test::CtlDevice(1, kModeClient);
  ConfigBlock cb = client.block();
  pagerules::DeviceForm form = pagerules::LoadDeviceForm(cb, true);
  form.optionOnDisplay = true;
  EXPECT_FALSE(pagerules::TakesPart(form, PageField::Connect_Password_Enable));  // the Client load disables it
  EXPECT_TRUE(pagerules::TakesPart(form, PageField::Server_Port));
  EXPECT_TRUE(pagerules::ChooseMode(form, ModeChoice::Server));
  EXPECT_TRUE(pagerules::TakesPart(form, PageField::Connect_Password_Enable));
  EXPECT_FALSE(pagerules::TakesPart(form, PageField::Server_Port));
  form.optionOnDisplay = false;  // another tab on display: the switch is off screen
  EXPECT_FALSE(pagerules::TakesPart(form, PageField::Connect_Password_Enable));

  DeviceEntry mixed = test::CtlDevice(2, kModeMixed);
  ConfigBlock mb = mixed.block();
  pagerules::DeviceForm m = pagerules::LoadDeviceForm(mb, true);
  m.optionOnDisplay = true;
  EXPECT_FALSE(pagerules::ChooseMode(m, ModeChoice::Client));  // the mode group is hidden
  EXPECT_TRUE(pagerules::TakesPart(m, PageField::Connect_Password_Enable));
  EXPECT_FALSE(pagerules::TakesPart(m, PageField::Server_IP_Address));
}

}  // namespace
}  // namespace lx47::ctl
