// The Option page: the password rules, the disconnect and keep-alive texts,
// the cleaning of the password bytes, and when the connection password is
// written at all.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <functional>

#include "page_support.h"
#include "pages/DlgOption.h"
#include "recording_messages.h"

using namespace lx47;
using pages::DlgOption;

namespace {

const char* const kSearchMsg =
    "[オプション設定]－「検索パスワード」の一文字目をスペースとすることはできません。\n"
    "（スペースのみであれば問題ありません）";
const char* const kConnectMsg =
    "[オプション設定]－「接続時パスワード」の一文字目をスペースとすることはできません。\n"
    "（スペースのみであれば問題ありません）";
const char* const kDisconnectMsg = "[オプション設定]－「切断までの時間」（秒）の指定が無効または範囲外です。";
const char* const kKeepaliveMsg = "[オプション設定]－「keep-alive 送信間隔」（秒）の指定が無効または範囲外です。";

DeviceEntry OptionEntry() {
  DeviceEntry e = test::EntryWithBlock();
  ConfigBlock b = e.block();
  b.set(field::TCP_Disconnect_Time, 300);
  b.set(field::TCP_Keepalive_Interval, 60);
  b.set(field::Search_Password, "find");
  b.set(field::Connect_Password, "conn");
  b.set(field::Connect_Password_Enable, 1);
  return e;
}

class OptionPage : public ::testing::Test {
 protected:
  test::RecordingMessages messages;
};

}  // namespace

TEST_F(OptionPage, StoreToBlock) {
  struct Case {
    const char* name;
    const char* search;
    const char* connect;
    const char* disconnect;
    const char* keepalive;
    const char* message;  // nullptr: stored
    std::string expSearch, expConnect;
    std::uint16_t expDisconnect, expKeepalive;
  };
  const std::vector<Case> cases = {
      {"leading space refused", " ab", "conn", "1", "1", kSearchMsg, "find    ", "conn    ", 300, 60},
      {"spaces only is no password", "   ", "conn", "0", "0", nullptr, "        ", "conn    ", 0, 0},
      {"trailing spaces dropped", "ab  ", "x y  ", "65535", "010", nullptr, "ab      ", "x y     ", 65535, 8},
      {"empty", "", "", "12ab", " 7 ", nullptr, "        ", "        ", 12, 7},
      {"connection password with a leading space, search stored before it", "new", " cd", "1", "1", kConnectMsg,
       "new     ", "conn    ", 300, 60},
      {"disconnect 65536", "find", "conn", "65536", "1", kDisconnectMsg, "find    ", "conn    ", 300, 60},
      {"keep-alive refused after the disconnect time is stored", "find", "conn", "0x10", "99999", kKeepaliveMsg,
       "find    ", "conn    ", 16, 60},
  };
  DlgOption page;
  page.ShowExtendedSettings(true);  // as the main window's gesture does
  page.show();
  page.activateWindow();
  QApplication::processEvents();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const bool report : {false, true}) {
      messages.clear();
      DeviceEntry entry = OptionEntry();
      page.LoadFromEntry(entry, 0);
      page.m_SearchPassword->setText(QString::fromUtf8(c.search));
      page.m_ConnectPassword->setText(QString::fromUtf8(c.connect));
      page.m_Disconnect->setText(QString::fromUtf8(c.disconnect));
      page.m_Keepalive->setText(QString::fromUtf8(c.keepalive));
      EXPECT_EQ(page.StoreToBlock(entry, report), c.message == nullptr);
      ConfigBlock b = entry.block();
      EXPECT_EQ(b.get(field::Search_Password), c.expSearch);
      EXPECT_EQ(b.get(field::Connect_Password), c.expConnect);
      EXPECT_EQ(b.get(field::TCP_Disconnect_Time), c.expDisconnect);
      EXPECT_EQ(b.get(field::TCP_Keepalive_Interval), c.expKeepalive);
      if (!report || !c.message) {
        EXPECT_EQ(messages.count(), 0);
        continue;
      }
      ASSERT_EQ(messages.count(), 1);
      EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
      EXPECT_EQ(messages.last().icon, ui::MsgIcon::Exclamation);
      QWidget* field = c.message == kSearchMsg    ? page.m_SearchPassword
                       : c.message == kConnectMsg ? page.m_ConnectPassword
                       : c.message == kDisconnectMsg ? page.m_Disconnect
                                                     : page.m_Keepalive;
      EXPECT_EQ(QApplication::focusWidget(), field);
    }
  }
}

TEST_F(OptionPage, PasswordBytesAreCleanedOnLoad) {
  DlgOption page;
  DeviceEntry entry = OptionEntry();
  auto search = entry.block().raw(field::Search_Password);
  const std::uint8_t raw[8] = {' ', 'a', 0, 'b', 0x80, 0, 0, 0};
  std::copy(raw, raw + 8, search.begin());
  entry.block().set(field::Connect_Password, "");
  page.LoadFromEntry(entry, 0);
  EXPECT_EQ(page.m_SearchPassword->text(), " a b");  // leading space kept, trailing dropped
  EXPECT_EQ(entry.block().get(field::Search_Password), " a b    ");
  EXPECT_EQ(page.m_ConnectPassword->text(), "");
}

TEST_F(OptionPage, ConnectionPasswordIsWrittenOnlyWhileOnScreenAndEnabled) {
  const auto run = [&](bool extended, bool shown, bool available, bool checked) {
    DlgOption page;
    page.ShowExtendedSettings(extended);
    page.setVisible(shown);
    DeviceEntry entry = OptionEntry();
    entry.block().set(field::Connect_Password_Enable, 0);
    page.LoadFromEntry(entry, 0);
    page.EnableConnectPassword(available);
    page.m_ConnectEnable->setChecked(checked);
    page.EnableConnectPassword(available);
    page.m_ConnectPassword->setText("newpw");
    EXPECT_TRUE(page.StoreToBlock(entry, true));
    return std::pair{entry.block().get(field::Connect_Password_Enable), entry.block().get(field::Connect_Password)};
  };
  using Result = std::pair<std::uint8_t, std::string>;
  const Result untouched{0, "conn    "};
  EXPECT_EQ(run(false, true, true, true), untouched) << "extended settings hidden";
  EXPECT_EQ(run(true, false, true, true), untouched) << "page not on display";
  EXPECT_EQ(run(true, true, false, true), untouched) << "TCP Client or Mixed chosen";
  EXPECT_EQ(run(true, true, true, true), (Result{1, "newpw   "}));
  EXPECT_EQ(run(true, true, true, false), (Result{0, "conn    "})) << "unchecked keeps the old bytes";
}

TEST_F(OptionPage, EnableControlsAndTheCheckBoxes) {
  DlgOption page;
  DeviceEntry entry = OptionEntry();
  page.LoadFromEntry(entry, 0);
  EXPECT_TRUE(page.m_ConnectEnable->isChecked());
  EXPECT_TRUE(page.m_ConnectPassword->isEnabled());
  page.m_ConnectEnable->click();
  EXPECT_FALSE(page.m_ConnectPassword->isEnabled());
  page.EnableControls(true, 0);
  EXPECT_FALSE(page.m_ConnectShow->isEnabled());  // follows the unchecked box
  page.m_ConnectEnable->click();
  EXPECT_TRUE(page.m_ConnectShow->isEnabled());
  page.EnableControls(false, 0);
  EXPECT_FALSE(page.m_Disconnect->isEnabled());
  EXPECT_FALSE(page.m_ConnectPassword->isEnabled());
  // Disabled fields are skipped: nothing to refuse.
  page.m_Disconnect->setText("70000");
  page.m_SearchPassword->setText(" x");
  EXPECT_TRUE(page.StoreToBlock(entry, true));

  EXPECT_EQ(page.m_SearchPassword->echoMode(), QLineEdit::Password);
  page.EnableControls(true, 0);
  page.m_SearchShow->click();
  EXPECT_EQ(page.m_SearchPassword->echoMode(), QLineEdit::Normal);
  page.m_SearchShow->click();
  EXPECT_EQ(page.m_SearchPassword->echoMode(), QLineEdit::Password);
}
