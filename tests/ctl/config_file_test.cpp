// A saved configuration: read back as the values it was saved with, loaded
// onto the same device to the very same block, and anything that is not a
// saved configuration refused with one line naming the file.
#include <gtest/gtest.h>

#include "ctl/config_file.h"
#include "ctl/edits.h"
#include "ctl_blocks.h"
#include "platform/codepage.h"

namespace lx47::ctl {
namespace {

TEST(CtlConfigFile, LoadedOntoTheSameDeviceGivesItsBlockBack) {
  DeviceEntry saved = test::CtlDevice(1, pagerules::kModeClient);
  ConfigBlock b = saved.block();
  b.set(field::Wifi_Infra_SSID, platform::Utf8ToAnsi("会社のルーター"));
  b.set(field::Msg_Connect_To_Client, "welcome");
  saved.Block[49] = 0xA5;  // bytes no page shows travel too
  saved.Block[111] = 0x5A;
  const std::string text = ConfigDocument(saved).dump();

  std::string error;
  const std::optional<SavedConfig> config = ReadConfig(text, "c.json", error);
  ASSERT_TRUE(config) << error;
  EXPECT_EQ(config->mac, saved.Device_MAC);

  // The device has changed since; the file puts it back.
  DeviceEntry now = saved;
  ConfigBlock n = now.block();
  n.set(field::Local_Port, 9);
  n.set(field::Wifi_Infra_SSID, "other");
  now.Block[49] = 0;
  std::vector<Edit> edits;
  for (const SavedValue& v : config->values) edits.push_back({v.field, v.typed});
  EditResult r = ApplyEdits(now, edits, {true, Unwritten::Keep});
  ASSERT_TRUE(r.ok) << r.error;
  for (std::size_t k = 0; k < std::size(kUnshownBytes); ++k)
    std::copy(config->unshown[k].begin(), config->unshown[k].end(), r.block.begin() + kUnshownBytes[k].offset);
  EXPECT_EQ(r.block, saved.Block);
}

TEST(CtlConfigFile, WhatIsNoSavedConfigurationIsRefused) {
  const std::string good = ConfigDocument(test::CtlDevice()).dump();
  auto replaced = [&good](const std::string& from, const std::string& to) {
    std::string s = good;
    const std::size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return s.replace(at, from.size(), to);
  };
  struct Case {
    const char* name;
    std::string text;
    const char* error;
  };
  const Case cases[] = {
      {"not JSON", "{\"format\": ", "c.json：設定ファイルとして読めません（1 行目、12 文字目）。"},
      {"cut short", good.substr(0, good.size() / 2), nullptr},
      {"another document", "{\"name\": \"x\"}", "c.json：lx47ctl save で保存した設定ファイルではありません。"},
      {"another version", replaced("\"version\": 1", "\"version\": 2"),
       "c.json：設定ファイルの版 2 には対応していません（対応する版：1）。"},
      {"another device", replaced("\"KD-LX47\"", "\"KD-LX48\""), "c.json：別の種類のデバイス（KD-LX48）の設定です。"},
      {"a field missing", replaced("\"Local_Port\": 10001,", ""),
       "c.json：Local_Port がありません（ファイルが途中で切れている可能性があります）。"},
      {"a number as text", replaced("\"Local_Port\": 10001", "\"Local_Port\": \"10001\""),
       "c.json：Local_Port の値の形式が正しくありません。"},
      {"a check box as a number", replaced("\"DHCP_Enable\": false", "\"DHCP_Enable\": 0"),
       "c.json：DHCP_Enable の値の形式が正しくありません。"},
      {"a field of no page", replaced("\"Local_Port\": 10001", "\"Local_Port\": 10001, \"Extra\": 1"),
       "c.json：不明な項目 Extra があります。"},
      {"unshown bytes of the wrong length", replaced("\"88\": \"", "\"88\": \"0"),
       "c.json：unshown_bytes.88 の値の形式が正しくありません。"},
      {"a MAC that is none", replaced("\"mac\": \"00:80:47:00:00:01\"", "\"mac\": \"00:80\""),
       "c.json：mac の値の形式が正しくありません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(ReadConfig(c.text, "c.json", error));
    if (c.error) EXPECT_EQ(error, c.error);
    else EXPECT_NE(error.find("c.json："), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace lx47::ctl
