// The Special page as a widget: the times it shows and its messages, the
// message edits following their boxes, the hidden TCP password, restoring
// defaults, and the service gesture with its two commands. The rules
// themselves are the unit tests'.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <chrono>
#include <thread>

#include "controls/CStaticEx.h"
#include "page_support.h"
#include "pages/DlgExtraSettings.h"
#include "protocol/session.h"
#include "protocol_fixture.h"
#include "recording_messages.h"
#include "ui/message_service.h"

using namespace lx47;
using pages::DlgSpecial;
using test::Ansi;
using test::FieldBytes;
using test::Padded;

namespace {

const field::ZeroText kMessages[3] = {field::Msg_Connect_To_UART, field::Msg_Disconnect_To_UART,
                                      field::Msg_Connect_To_Client};

class SpecialPage : public ::testing::Test {
 protected:
  SpecialPage() {
    entry = test::EntryWithBlock();
    block().set(field::DHCP_Lease_Time, 60);
    block().set(field::Disconnect_Judge_Time, 30);
    block().set(field::Extra_Time_Value, 10);
  }
  ConfigBlock block() { return entry.block(); }
  void Load() { page.LoadFromEntry(entry, 0); }

  test::RecordingMessages messages;
  DeviceEntry entry;
  Session session;
  DlgSpecial page{session};
};

// The edits show the times as loading corrected them in the block.
TEST_F(SpecialPage, LoadShowsTheCorrectedTimes) {
  block().set(field::DHCP_Lease_Time, 0);
  block().set(field::Disconnect_Judge_Time, 5);
  Load();
  EXPECT_EQ(page.leaseEdit()->text(), QStringLiteral("1440"));
  EXPECT_EQ(page.judgeEdit()->text(), QStringLiteral("300"));
  EXPECT_EQ(block().get(field::DHCP_Lease_Time), 1440);
}

// A refused time shows the field's message, even to a caller that asks for
// no report, and selects the field's text; the edits take digits only.
TEST_F(SpecialPage, RefusedTimes) {
  struct Case { const char* lease; const char* judge; const char* message; QLineEdit* (DlgSpecial::*edit)() const; };
  const Case cases[] = {
      {"9", "100", "[LX47 特別設定]－「DHCPリース時間」 の指定が無効または範囲外です。", &DlgSpecial::leaseEdit},
      {"20", "65546", "[LX47 特別設定]－「切断判断時間」 の指定が無効または範囲外です。", &DlgSpecial::judgeEdit},
  };
  for (const Case& c : cases) {
    Load();
    messages.clear();
    page.leaseEdit()->setText(QString::fromLatin1(c.lease));
    page.judgeEdit()->setText(QString::fromLatin1(c.judge));
    EXPECT_FALSE(page.StoreToBlock(entry, false)) << c.lease << "/" << c.judge;
    ASSERT_EQ(messages.count(), 1) << c.lease;
    EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
    EXPECT_EQ(messages.last().icon, ui::MsgIcon::Exclamation);
    EXPECT_EQ(messages.last().caption, ui::AppName());
    QLineEdit* bad = (page.*c.edit)();
    EXPECT_EQ(bad->selectedText(), bad->text());
  }
  page.leaseEdit()->clear();
  page.leaseEdit()->insert(QStringLiteral("12a"));
  EXPECT_NE(page.leaseEdit()->text(), QStringLiteral("12a"));
}

TEST_F(SpecialPage, MessagesLoadedAndStored) {
  block().set(kMessages[0], "hello");
  block().set(kMessages[1], std::string(16, 'x'));  // full: no terminator
  Load();
  EXPECT_TRUE(page.messageBox(0)->isChecked());
  EXPECT_TRUE(page.messageEdit(0)->isEnabled());
  EXPECT_TRUE(page.messageNote(0)->isEnabled());
  EXPECT_EQ(page.messageEdit(1)->text(), QString(16, QLatin1Char('x')));
  EXPECT_FALSE(page.messageBox(2)->isChecked());
  EXPECT_FALSE(page.messageEdit(2)->isEnabled());
  EXPECT_FALSE(page.messageNote(2)->isEnabled());
  EXPECT_EQ(page.messageNote(2)->m_TextColor, QColor(167, 0, 47));
  EXPECT_EQ(page.messageEdit(0)->maxLength(), 16);

  page.messageEdit(0)->setText(QStringLiteral("  CONNECT  "));  // trimmed
  page.messageBox(1)->click();                                // unticked: zeros, the text stays shown
  page.messageBox(2)->click();                                // ticked with an empty edit: zeros
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(FieldBytes(entry, kMessages[0]), Padded("CONNECT", 16));
  EXPECT_EQ(FieldBytes(entry, kMessages[1]), std::string(16, '\0'));
  EXPECT_EQ(page.messageEdit(1)->text(), QString(16, QLatin1Char('x')));
  EXPECT_EQ(FieldBytes(entry, kMessages[2]), std::string(16, '\0'));

  page.messageBox(1)->click();
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(FieldBytes(entry, kMessages[1]), std::string(16, 'x'));
}

// The password controls are never shown, yet they load, store and restore.
TEST_F(SpecialPage, HiddenTcpPassword) {
  block().set(field::TCP_Password, " pw with spaces ");
  Load();
  EXPECT_FALSE(page.passwordEdit()->isVisibleTo(&page));
  EXPECT_FALSE(page.passwordBox()->isVisibleTo(&page));
  EXPECT_TRUE(page.passwordBox()->isChecked());
  EXPECT_TRUE(page.passwordEdit()->isEnabled());
  EXPECT_EQ(page.passwordEdit()->maxLength(), 32);
  EXPECT_EQ(page.passwordEdit()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, page.passwordEdit()),
            0x25CF);
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(FieldBytes(entry, field::TCP_Password), Padded("pw with spaces", 32));

  block().set(field::TCP_Password, std::string(32, 'q'));
  Load();
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(FieldBytes(entry, field::TCP_Password), std::string(32, 'q'));

  page.passwordShow()->click();
  EXPECT_EQ(page.passwordEdit()->echoMode(), QLineEdit::Normal);
  page.passwordBox()->click();  // unticked: no password
  EXPECT_FALSE(page.passwordEdit()->isEnabled());
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(FieldBytes(entry, field::TCP_Password), std::string(32, '\0'));
}

TEST_F(SpecialPage, RestoreDefaultsThenStoreClearsEverything) {
  for (auto f : kMessages) block().set(f, "msg");
  block().set(field::TCP_Password, "secret");
  Load();
  page.leaseEdit()->setText(QStringLiteral("77"));
  page.defaultsButton()->click();
  EXPECT_EQ(page.leaseEdit()->text(), QStringLiteral("1440"));
  EXPECT_EQ(page.judgeEdit()->text(), QStringLiteral("300"));
  EXPECT_FALSE(page.passwordBox()->isChecked());
  EXPECT_FALSE(page.passwordEdit()->isEnabled());
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(page.messageBox(i)->isChecked());
    EXPECT_FALSE(page.messageEdit(i)->isEnabled());
    EXPECT_TRUE(page.messageEdit(i)->text().isEmpty());
  }
  EXPECT_EQ(FieldBytes(entry, field::TCP_Password), Padded("secret", 32));  // nothing written yet
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(block().get(field::DHCP_Lease_Time), 1440);
  EXPECT_EQ(block().get(field::Disconnect_Judge_Time), 300);
  EXPECT_EQ(FieldBytes(entry, field::TCP_Password), std::string(32, '\0'));
  for (auto f : kMessages) EXPECT_EQ(FieldBytes(entry, f), std::string(16, '\0'));
}

TEST_F(SpecialPage, DisabledPageStoresOnlyTheTimes) {
  block().set(kMessages[0], "keep");
  Load();
  page.messageBox(0)->click();
  page.EnableControls(false, 0);
  EXPECT_FALSE(page.messageEdit(0)->isEnabled());
  EXPECT_FALSE(page.defaultsButton()->isEnabled());
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(FieldBytes(entry, kMessages[0]), Padded("keep", 16));
  // Enabling again: edits follow their boxes.
  page.EnableControls(true, 0);
  EXPECT_FALSE(page.messageEdit(0)->isEnabled());
  EXPECT_TRUE(page.messageBox(0)->isEnabled());
}

void RightDoubleClick(QWidget& w) {
  QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(2, 2), QPointF(2, 2), Qt::RightButton, Qt::RightButton,
                Qt::NoModifier);
  QApplication::sendEvent(&w, &e);
}

class ServiceButtons : public test::ProtocolTest {
 protected:
  ServiceButtons() {
    session.DeviceTable[0] = test::EntryWithBlock(1);
    session.DeviceTable[1] = test::EntryWithBlock(2);
    session.DeviceCount = 2;
    // Laid out, so that the corner where the gesture is made is the page's
    // own margin, not a control.
    page.show();
    page.m_StartCommand = [this](DeviceCommand c, const DeviceEntry& e) {
      started.push_back({c, e.Device_MAC});
      return true;
    };
  }
  void Reveal() {
    for (int i = 0; i <= DlgSpecial::kServiceClickThreshold; ++i) RightDoubleClick(page);
  }
  test::RecordingMessages messages;
  DlgSpecial page{session};
  std::vector<std::pair<DeviceCommand, MacAddress>> started;
};

TEST_F(ServiceButtons, GestureCountsOnlyWhileEnabledAndReveals) {
  page.EnableControls(false, 0);
  for (int i = 0; i < 10; ++i) RightDoubleClick(page);
  EXPECT_EQ(page.m_ServiceClicks, 0);
  page.EnableControls(true, 0);
  for (int i = 0; i < DlgSpecial::kServiceClickThreshold; ++i) RightDoubleClick(page);
  EXPECT_FALSE(page.clockButton()->isVisibleTo(&page));
  RightDoubleClick(page);
  EXPECT_TRUE(page.clockButton()->isVisibleTo(&page));
  EXPECT_TRUE(page.disconnectButton()->isVisibleTo(&page));
  EXPECT_EQ(page.clockButton()->text(), QStringLiteral("時刻設定"));
  EXPECT_EQ(page.disconnectButton()->text(), QStringLiteral("TCP切断"));
  // A left double-click is no part of it.
  QMouseEvent left(QEvent::MouseButtonDblClick, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&page, &left);
  EXPECT_EQ(page.m_ServiceClicks, DlgSpecial::kServiceClickThreshold + 1);
}

// Before any load the buttons address entry 0; afterwards the loaded entry;
// an index beyond the current search addresses nothing.
TEST_F(ServiceButtons, CommandsAddressTheLoadedEntry) {
  Reveal();
  page.clockButton()->click();
  page.LoadFromEntry(session.DeviceTable[1], 1);
  page.disconnectButton()->click();
  page.EnableControls(true, 0);  // does not move the index
  page.clockButton()->click();
  session.DeviceCount = 1;
  page.disconnectButton()->click();
  ASSERT_EQ(started.size(), 3u);
  EXPECT_EQ(started[0], std::pair(DeviceCommand::SetClock, test::Mac(1)));
  EXPECT_EQ(started[1], std::pair(DeviceCommand::DisconnectTcp, test::Mac(2)));
  EXPECT_EQ(started[2], std::pair(DeviceCommand::SetClock, test::Mac(2)));
  EXPECT_EQ(messages.count(), 0);
}

// The real command leaves the click handler at once and goes on a thread
// of its own; the page shows nothing of its result.
TEST_F(ServiceButtons, ClockSetRunsOffTheWindowThread) {
  page.m_StartCommand = nullptr;
  settings.MaxSendCmdLoopCount = 1;
  settings.MaxRecvLoopCount = 2;
  std::atomic<std::thread::id> sender{};
  std::atomic<int> sends{0};
  net.onSend = [this, &sender, &sends](const test::Datagram& d) {
    sender = std::this_thread::get_id();
    ++sends;
    net.replyTo(d, test::DeviceReply("TIMR", test::Mac(1), 21));
  };
  Reveal();
  page.clockButton()->click();
  QElapsedTimer t;
  t.start();
  while ((sends == 0 || net.openSockets() != 0) && t.elapsed() < 5000)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_TRUE(session.DeviceCommands.WaitAll(5000));  // the thread has returned
  ASSERT_EQ(net.sent().size(), 1u);
  EXPECT_EQ(std::string(net.sent()[0].bytes.begin(), net.sent()[0].bytes.begin() + 4), "TIMC");
  EXPECT_NE(sender.load(), std::this_thread::get_id());
  EXPECT_EQ(messages.count(), 0);
}

}  // namespace
