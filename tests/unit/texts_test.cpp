// The string table's typed formats: each fills its text exactly, values
// taken as they are.
#include <gtest/gtest.h>

#include <string>

#include "texts/formats.h"
#include "texts/texts.h"

namespace lx47::texts {
namespace {

TEST(Texts, NamesAndNumbersReachTheSameText) {
  EXPECT_EQ(Text(TextId::ToolName), Text(108));
  EXPECT_EQ(Text(117), "選択 No. %u");
  EXPECT_EQ(Text(190), "選択したファイルは大きすぎるため、ファームデーターとして書き込めません。");
  EXPECT_EQ(Text(TextId::Dots3), "・・・　");
  for (int unknown : {0, 107, 182, 189, 1000}) EXPECT_TRUE(Text(unknown).empty()) << unknown;
}

TEST(Texts, TypedFormatsFillTheirTextsExactly) {
  const MacBytes mac{0x00, 0x80, 0x47, 0x0A, 0xBC, 0x01};
  const struct {
    std::string filled;
    const char* expected;
  } cases[] = {
      {SelectionNoText(16), "選択 No. 16"},
      {FactoryResetConfirmText(mac),
       "LX47（MACアドレス [00:80:47:0A:BC:01] ）を検索し、初期化を行います。設定は出荷時設定に戻ります。\n\n"
       "．．．よろしいですか？"},
      {SwitchLosesEditsText(2, 5),
       "（No.2）の情報は変更されていますが、［設定］が行われずに（No.5）が選択されました。\n"
       "（No.2）への変更内容は反映されませんが、よろしいですか？"},
      {CheckMacAddressText(mac), "MACアドレス [00:80:47:0A:BC:01] が正しいか確認してください。"},
      {AdapterUnusableText("eth0"),
       "\n\nネットワークアダプタ：［eth0］は有効ではないか、切断状態の可能性があります。"},
      {AdapterAddressInvalidText("eth0", "10.0.0.2"),
       "\n\nネットワークアダプタ：［eth0］（IPアドレス：10.0.0.2）は有効ではありません。"},
      {FirmwareMacLineText("00:80:47:00:00:01"), "MACアドレス [00:80:47:00:00:01]"},
      {WindowMenuTipText("menu", "reset", "tools", "Alt+Space"), "menu（reset、tools）  Alt+Space"},
      {NumberRangeText(5, 60), "(5～60)"},
      {HostWithAddressText("eth0", "10.0.0.2"), "eth0  （IPアドレス：10.0.0.2）"},
      {StoredHostInvalidText("eth0", ""),
       "現在設定されているネットワークホスト：［eth0］（IPアドレス：）は無効です。\n\n"
       "ネットワーク接続を確認するか、再度ネットワークホストの選択を行ってください。\n"},
      {ErrorCodeOnlyText(4294967295u), " Win32  ErrorCode：4294967295"},
      {ByteCountText(0, 4294967295u), "(0/4294967295\n)"},
      {LinkChannelText(13), ", チャネル：13"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.filled, c.expected);
}

TEST(Texts, ValuesAreInsertedAsTheyAre) {
  // An adapter's name is the host's, not ours: a '%' in it is no conversion.
  EXPECT_EQ(HostWithAddressText("50% %s %n", "%u"), "50% %s %n  （IPアドレス：%u）");
  EXPECT_EQ(RefusalText(TextId::LocalPortInvalid, "%s%d"), "[%s%d]－「ポート番号」の指定が無効または範囲外です。");
}

TEST(Texts, RefusalsCarryThePageTitle) {
  EXPECT_EQ(RefusalText(TextId::ServerPortInvalid, "ネットワーク設定"),
            "[ネットワーク設定] －「ポート番号」（オペレーションモード）の指定が無効または範囲外です。");
  EXPECT_EQ(RefusalText(TextId::LeaseTimeInvalid, "LX47 特別設定"),
            "[LX47 特別設定]－「DHCPリース時間」 の指定が無効または範囲外です。");
  // The Wi-Fi page's one refusal names no page.
  EXPECT_EQ(RefusalText(TextId::ApPasswordTooShort, "ignored"), "パスワードは 8文字以上必要です。");
  for (int id = 500; id <= 519; ++id) {
    const std::string text = RefusalText(static_cast<TextId>(id), "T");
    EXPECT_FALSE(text.empty()) << id;
    EXPECT_EQ(text.find('%'), std::string::npos) << id;
  }
}

}  // namespace
}  // namespace lx47::texts
