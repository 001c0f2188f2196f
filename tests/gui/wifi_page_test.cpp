// The Wi-Fi page as a widget: the status lines, the lists and the password
// edit that follows them, its one message, the edits' limits and code-page
// texts, and the router choice. The rules themselves are the unit tests'.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

#include "controls/CStaticEx.h"
#include "page_support.h"
#include "pages/DlgLX47.h"
#include "pages/DlgSelectRouter.h"
#include "protocol/session.h"
#include "recording_messages.h"
#include "ui/message_service.h"

using namespace lx47;
using pages::DlgLX47;
using test::Ansi;
using test::FieldBytes;
using test::Padded;

namespace {

class WifiPage : public ::testing::Test {
 protected:
  WifiPage() : page(session, pages::OperationRunner{}) { entry = test::EntryWithBlock(); }
  ConfigBlock block() { return entry.block(); }
  void Load() { page.LoadFromEntry(entry, 0); }

  test::RecordingMessages messages;
  DeviceEntry entry;
  Session session;
  DlgLX47 page;
};

TEST_F(WifiPage, StatusLines) {
  struct Case { std::uint8_t mode, security, channel; const char* line1; const char* line2; };
  const Case cases[] = {
      {0, 3, 6, "現在の動作モード：インフラストラクチャーモード", "WPA2, チャネル：6"},
      {1, 0, 11, "現在の動作モード：アクセスポイントモード", "open, チャネル：11"},
      {2, 7, 1, "現在の動作モード：アドホックモード", "WPA2/WPA3, チャネル：1"},
      {3, 4, 13, "現在の動作モード：プロビジョニングモード", "WPA/WPA2, チャネル：13"},
      {7, 9, 3, "現在の動作モード：", "unknown (9), チャネル：3"},
  };
  for (const Case& c : cases) {
    block().set(field::Wifi_Mode, c.mode);
    block().set(field::Wifi_Security, c.security);
    block().set(field::Wifi_Channel, c.channel);
    Load();
    EXPECT_EQ(page.modeLabel()->text(), QString::fromUtf8(c.line1)) << int(c.mode);
    EXPECT_EQ(page.linkLabel()->text(), QString::fromUtf8(c.line2)) << int(c.security);
  }
  EXPECT_EQ(page.modeLabel()->m_TextColor, QColor(167, 0, 47));
}

// The security list shows the rules' choice and the password edit follows
// it; the list's item reaches the block as its code.
TEST_F(WifiPage, SecurityShownAndStored) {
  struct Case { std::uint8_t code; const char* shown; std::uint8_t stored; bool passwordOn; };
  const Case cases[] = {{0, "open", 0, false}, {5, "WPA/WPA2", 4, true}, {7, "WPA2/WPA3", 7, true}};
  for (const Case& c : cases) {
    block().set(field::Wifi_AP_Security, c.code);
    block().set(field::Wifi_AP_Password, "secret-password");
    Load();
    EXPECT_EQ(page.security()->currentText(), QString::fromLatin1(c.shown)) << int(c.code);
    EXPECT_EQ(page.apPassword()->isEnabled(), c.passwordOn) << int(c.code);
    EXPECT_EQ(page.apShow()->isEnabled(), c.passwordOn) << int(c.code);
    EXPECT_EQ(page.apPassword()->text().isEmpty(), !c.passwordOn) << int(c.code);
    page.apPassword()->setText(QStringLiteral("typed anyway 123"));
    EXPECT_TRUE(page.StoreToBlock(entry, true)) << int(c.code);
    EXPECT_EQ(block().get(field::Wifi_AP_Security), c.stored) << int(c.code);
    const std::string expected = c.passwordOn ? Padded("typed anyway 123", 64) : std::string(64, '\0');
    EXPECT_EQ(FieldBytes(entry, field::Wifi_AP_Password), expected) << int(c.code);
  }
  EXPECT_EQ(messages.count(), 0);
}

TEST_F(WifiPage, SecurityListDrivesThePasswordEdit) {
  block().set(field::Wifi_AP_Security, 3);
  Load();
  page.apPassword()->setText(QStringLiteral("kept text"));
  page.security()->setCurrentIndex(0);
  EXPECT_FALSE(page.apPassword()->isEnabled());
  EXPECT_FALSE(page.apShow()->isEnabled());
  EXPECT_EQ(page.apPassword()->text(), QStringLiteral("kept text"));
  page.security()->setCurrentIndex(4);
  EXPECT_TRUE(page.apPassword()->isEnabled());
  // Enabling the page keeps the password off while "open" is chosen.
  page.security()->setCurrentIndex(0);
  page.EnableControls(false, 0);
  page.EnableControls(true, 0);
  EXPECT_FALSE(page.apPassword()->isEnabled());
  EXPECT_TRUE(page.security()->isEnabled());
}

// Seven letters between spaces are too few: the message is shown (even for a
// caller that asks for none), the password stays, security and channel are
// written all the same.
TEST_F(WifiPage, ShortAccessPointPasswordRefusedButListsStored) {
  block().set(field::Wifi_AP_Security, 3);
  block().set(field::Wifi_AP_Channel, 6);
  block().set(field::Wifi_AP_Password, "oldpassword");
  Load();
  page.security()->setCurrentIndex(1);  // WPA
  page.channel()->setCurrentIndex(0);   // channel 1
  page.apPassword()->setText(QStringLiteral(" abcdefg "));
  page.infraSsid()->setText(QStringLiteral("  router-a  "));
  EXPECT_FALSE(page.StoreToBlock(entry, false));
  ASSERT_EQ(messages.count(), 1);
  EXPECT_EQ(messages.last().text, QStringLiteral("パスワードは 8文字以上必要です。"));
  EXPECT_EQ(messages.last().icon, ui::MsgIcon::Exclamation);
  EXPECT_EQ(messages.last().caption, ui::AppName());
  EXPECT_EQ(page.apPassword()->selectedText(), QStringLiteral(" abcdefg "));
  EXPECT_EQ(FieldBytes(entry, field::Wifi_AP_Password), Padded("oldpassword", 64));
  EXPECT_EQ(block().get(field::Wifi_AP_Security), 2);
  EXPECT_EQ(block().get(field::Wifi_AP_Channel), 1);
  EXPECT_EQ(FieldBytes(entry, field::Wifi_Infra_SSID), Padded("router-a", 32));

  page.apPassword()->setText(QStringLiteral(" abcdefgh "));  // eight after trimming
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(FieldBytes(entry, field::Wifi_AP_Password), Padded("abcdefgh", 64));
}

// The edits take as many characters as their fields' texts may hold; a
// field full to its width loads whole, and every edit reaches its field.
TEST_F(WifiPage, TextEdits) {
  EXPECT_EQ(page.infraSsid()->maxLength(), 32);
  EXPECT_EQ(page.infraPassword()->maxLength(), 64);
  EXPECT_EQ(page.apSsid()->maxLength(), 31);
  EXPECT_EQ(page.apPassword()->maxLength(), 63);
  const std::string ssid32(32, 's'), pass64(64, 'p');
  block().set(field::Wifi_Infra_SSID, ssid32);
  block().set(field::Wifi_Infra_Password, pass64);
  block().set(field::Wifi_AP_Security, 4);
  Load();
  EXPECT_EQ(page.infraSsid()->text().toStdString(), ssid32);
  EXPECT_EQ(page.infraPassword()->text().toStdString(), pass64);
  page.infraSsid()->setText(QStringLiteral("infra"));
  page.infraPassword()->setText(QStringLiteral("infra-pw"));
  page.apSsid()->setText(QStringLiteral("ap"));
  page.apPassword()->setText(QStringLiteral("ap-password"));
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(FieldBytes(entry, field::Wifi_Infra_SSID), Padded("infra", 32));
  EXPECT_EQ(FieldBytes(entry, field::Wifi_Infra_Password), Padded("infra-pw", 64));
  EXPECT_EQ(FieldBytes(entry, field::Wifi_AP_SSID), Padded("ap", 32));
  EXPECT_EQ(FieldBytes(entry, field::Wifi_AP_Password), Padded("ap-password", 64));
}

// Japanese texts pass between the edits and the code page unchanged: what
// the device sent comes back byte for byte.
TEST_F(WifiPage, JapaneseTextsRoundTripInTheCodePage) {
  const std::string ssid = Ansi("無線ルーター１");
  const std::string pass = Ansi("パスワードｱｲｳ123");
  block().set(field::Wifi_Infra_SSID, ssid);
  block().set(field::Wifi_AP_SSID, Ansi("アクセスポイント"));
  block().set(field::Wifi_AP_Password, pass);
  block().set(field::Wifi_AP_Security, 3);
  block().set(field::Wifi_AP_Channel, 11);
  const std::vector<std::uint8_t> before = entry.Block;
  Load();
  EXPECT_EQ(page.infraSsid()->text(), QStringLiteral("無線ルーター１"));
  EXPECT_EQ(page.apPassword()->text(), QStringLiteral("パスワードｱｲｳ123"));
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(entry.Block, before);
}

// The single bytes 0x80, 0xA0 and 0xFD..0xFF are characters of the code
// page too: an untouched page stores them back as they came, not as "?".
TEST_F(WifiPage, EveryCodePageByteComesBackUnchanged) {
  block().set(field::Wifi_Infra_SSID, std::string("\xA0net\x80", 5));
  block().set(field::Wifi_AP_SSID, std::string("\xFD\xFE\xFF" "ap", 5));
  block().set(field::Wifi_AP_Password, std::string("pass\xA0word\xFF", 10));
  block().set(field::Wifi_AP_Security, 3);
  block().set(field::Wifi_AP_Channel, 11);
  const std::vector<std::uint8_t> before = entry.Block;
  Load();
  EXPECT_FALSE(page.infraSsid()->text().contains(QChar(0xFFFD)));
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(entry.Block, before);
}

// A channel the list has no item for selects nothing, and the block keeps
// it.
TEST_F(WifiPage, Channels) {
  EXPECT_EQ(page.channel()->count(), 13);
  EXPECT_EQ(page.channel()->currentText(), QStringLiteral("11"));  // before any load
  block().set(field::Wifi_AP_Channel, 13);
  Load();
  EXPECT_EQ(page.channel()->currentText(), QStringLiteral("13"));
  page.channel()->setCurrentIndex(0);
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(block().get(field::Wifi_AP_Channel), 1);
  block().set(field::Wifi_AP_Channel, 14);
  Load();
  EXPECT_EQ(page.channel()->currentIndex(), -1);
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(block().get(field::Wifi_AP_Channel), 14);
}

TEST_F(WifiPage, DisabledFieldsAreNotStored) {
  Load();
  page.infraSsid()->setText(QStringLiteral("changed"));
  page.security()->setCurrentIndex(1);
  page.apPassword()->setText(QStringLiteral("short"));
  page.EnableControls(false, 0);
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(FieldBytes(entry, field::Wifi_Infra_SSID), std::string(32, '\0'));
  EXPECT_EQ(messages.count(), 0);
}

TEST_F(WifiPage, PasswordsMaskedWithBlackCirclesUntilShown) {
  Load();
  for (auto [edit, box] : {std::pair{page.infraPassword(), page.infraShow()}, std::pair{page.apPassword(), page.apShow()}}) {
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit), 0x25CF);
    box->setEnabled(true);
    box->click();
    EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
    box->click();
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
  }
}

class RouterChoice : public WifiPage {
 protected:
  RouterChoice() {
    session.RouterScanTable[0] = test::Router("office", 6, 3, 0xC4, 1);
    session.RouterScanTable[1] = test::Router("home", 1, 4, 0xB0, 2);
    session.RouterScanCount = 2;
    page.m_RunRouterDialog = [this](pages::DlgSelectRouter& dlg) {
      seenIndex = dlg.m_SettingIndex;
      dlg.m_SelectedRecord = chosen;
      return chosen >= 0 ? int(QDialog::Accepted) : int(QDialog::Rejected);
    };
  }
  int chosen = -1;
  int seenIndex = -99;
};

// The same SSID keeps the password typed for it; another SSID empties it.
TEST_F(RouterChoice, KeepsOrEmptiesThePassword) {
  block().set(field::Wifi_Infra_SSID, "office");
  block().set(field::Wifi_Infra_Password, "officepass");
  page.LoadFromEntry(entry, 3);
  EXPECT_TRUE(page.routerButton()->isEnabled());

  chosen = 0;
  page.routerButton()->click();
  EXPECT_EQ(seenIndex, 3);
  EXPECT_EQ(page.infraSsid()->text(), QStringLiteral("office"));
  EXPECT_EQ(page.infraPassword()->text(), QStringLiteral("officepass"));

  chosen = 1;
  page.routerButton()->click();
  EXPECT_EQ(page.infraSsid()->text(), QStringLiteral("home"));
  EXPECT_TRUE(page.infraPassword()->text().isEmpty());

  page.infraPassword()->setText(QStringLiteral("x"));
  chosen = -1;  // Cancel
  page.routerButton()->click();
  EXPECT_EQ(page.infraSsid()->text(), QStringLiteral("home"));
  EXPECT_EQ(page.infraPassword()->text(), QStringLiteral("x"));
  EXPECT_EQ(messages.count(), 0);
}

TEST_F(RouterChoice, NoDeviceIndex) {
  Load();
  page.EnableControls(true, -1);
  chosen = 0;
  page.routerButton()->click();
  ASSERT_EQ(messages.count(), 1);
  EXPECT_EQ(messages.last().text, QStringLiteral(" m_SettingIndex  NG!!!\n"));
  EXPECT_EQ(messages.last().buttons, ui::MsgButtons::Ok);
  EXPECT_EQ(seenIndex, -99);
}

// Widened byte by byte, a code-page SSID could not be stored back; the page
// takes it as code-page text when its bytes read and write back the same.
TEST_F(RouterChoice, CodePageSsidStoredAsTheRouterSentIt) {
  const std::string sjis = Ansi("会社のルーター");
  session.RouterScanTable[0] = test::Router(sjis, 6, 3, 0xC4, 1);
  session.RouterScanTable[1] = test::Router("caf\xE9", 6, 3, 0xC4, 1);  // not code-page text
  Load();
  chosen = 0;
  page.routerButton()->click();
  EXPECT_EQ(page.infraSsid()->text(), QStringLiteral("会社のルーター"));
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(FieldBytes(entry, field::Wifi_Infra_SSID), Padded(sjis, 32));
  chosen = 1;
  page.routerButton()->click();
  EXPECT_EQ(page.infraSsid()->text(), QString::fromUtf8("caf\u00e9"));
}

}  // namespace
