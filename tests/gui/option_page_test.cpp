// The Option page as a widget: its messages and their focus, which control
// reaches which field, and when the connection password takes part at all
// (on screen, enabled). The rules themselves are the unit tests'.
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

DeviceEntry OptionEntry() { return test::EntryOf(test::OptionBlock()); }

class OptionPage : public ::testing::Test {
 protected:
  test::RecordingMessages messages;
};

}  // namespace

// Each refusal of the rules shows its own text with the exclamation icon
// and puts the focus on its field; a caller that asks for no report gets
// none.
TEST_F(OptionPage, RefusalsShowTheirMessageAndFocusTheField) {
  struct Case {
    const char* message;
    QLineEdit* DlgOption::*field;
    const char* typed;
  };
  const Case cases[] = {{kSearchMsg, &DlgOption::m_SearchPassword, " ab"},
                        {kConnectMsg, &DlgOption::m_ConnectPassword, " cd"},
                        {kDisconnectMsg, &DlgOption::m_Disconnect, "65536"},
                        {kKeepaliveMsg, &DlgOption::m_Keepalive, "99999"}};
  DlgOption page;
  page.ShowExtendedSettings(true);  // as the main window's gesture does
  page.show();
  page.activateWindow();
  QApplication::processEvents();
  page.EnableConnectPassword(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    for (const bool report : {false, true}) {
      messages.clear();
      DeviceEntry entry = OptionEntry();
      page.LoadFromEntry(entry, 0);
      (page.*c.field)->setText(QString::fromUtf8(c.typed));
      EXPECT_FALSE(page.StoreToBlock(entry, report));
      if (!report) {
        EXPECT_EQ(messages.count(), 0);
        continue;
      }
      ASSERT_EQ(messages.count(), 1);
      EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
      EXPECT_EQ(messages.last().icon, ui::MsgIcon::Exclamation);
      EXPECT_EQ(QApplication::focusWidget(), page.*c.field);
    }
  }
}

// What each control holds reaches its own field.
TEST_F(OptionPage, EveryControlReachesItsField) {
  DlgOption page;
  page.ShowExtendedSettings(true);  // as the main window's gesture does
  page.show();
  page.EnableConnectPassword(true);
  DeviceEntry entry = OptionEntry();
  page.LoadFromEntry(entry, 0);
  EXPECT_EQ(page.m_SearchPassword->text(), "find");
  EXPECT_EQ(page.m_Disconnect->text(), "300");
  page.m_SearchPassword->setText("ab  ");
  page.m_ConnectPassword->setText("x y");
  page.m_Disconnect->setText("0x10");
  page.m_Keepalive->setText("010");
  ASSERT_TRUE(page.StoreToBlock(entry, true));
  ConfigBlock b = entry.block();
  EXPECT_EQ(b.get(field::Search_Password), "ab      ");
  EXPECT_EQ(b.get(field::Connect_Password), "x y     ");
  EXPECT_EQ(b.get(field::Connect_Password_Enable), 1);
  EXPECT_EQ(b.get(field::TCP_Disconnect_Time), 16);
  EXPECT_EQ(b.get(field::TCP_Keepalive_Interval), 8);
  EXPECT_EQ(messages.count(), 0);
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
