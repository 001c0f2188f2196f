// The Network page as a widget: its messages and their focus, which control
// reaches which field, the mode group, the extended settings, the enabling
// and the hidden port unlock. The rules themselves are the unit tests'.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <functional>

#include "controls/CIPAddrEdit.h"
#include "page_support.h"
#include "pages/DlgNetwork.h"
#include "pages/DlgOption.h"
#include "recording_messages.h"

using namespace lx47;
using pages::DlgNetwork;
using test::Ip;

namespace {

const char* const kPortMsg = "[ネットワーク設定]－「ポート番号」の指定が無効または範囲外です。";
const char* const kLocalMsg = "[ネットワーク設定]－「ローカル IP アドレス」の指定に問題があります。";
const char* const kMaskMsg = "[ネットワーク設定]－「サブネットマスク」の指定に問題があります。";
const char* const kServerPortMsg =
    "[ネットワーク設定] －「ポート番号」（オペレーションモード）の指定が無効または範囲外です。";

DeviceEntry ClientEntry(std::uint8_t mode = 0) { return test::EntryOf(test::NetworkBlock(mode)); }

class NetworkPage : public ::testing::Test {
 protected:
  test::RecordingMessages messages;
};

}  // namespace

// Each refusal of the rules shows its own text, with the exclamation icon and
// the application's name, and puts the focus on its field; a caller that
// asks for no report gets none.
TEST_F(NetworkPage, RefusalsShowTheirMessageAndFocusTheField) {
  struct Case {
    const char* message;
    std::function<void(DlgNetwork&)> edit;
    std::function<QWidget*(DlgNetwork&)> focus;
  };
  const Case cases[] = {
      {kPortMsg, [](DlgNetwork& p) { p.m_Port->setText("80 "); }, [](DlgNetwork& p) -> QWidget* { return p.m_Port; }},
      {kLocalMsg, [](DlgNetwork& p) { p.m_LocalIp->setAddress(Ip("0.1.2.3")); },
       [](DlgNetwork& p) -> QWidget* { return p.m_LocalIp->field(0); }},
      {kMaskMsg, [](DlgNetwork& p) { p.m_Mask->setAddress(0); },
       [](DlgNetwork& p) -> QWidget* { return p.m_Mask->field(0); }},
      {kServerPortMsg, [](DlgNetwork& p) { p.m_ServerPort->setText("70000"); },
       [](DlgNetwork& p) -> QWidget* { return p.m_ServerPort; }},
  };
  DlgNetwork page;
  page.show();
  page.activateWindow();
  QApplication::processEvents();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    for (const bool report : {false, true}) {
      messages.clear();
      DeviceEntry entry = ClientEntry();
      page.LoadFromEntry(entry, 0);
      c.edit(page);
      EXPECT_FALSE(page.StoreToBlock(entry, report));
      if (!report) {
        EXPECT_EQ(messages.count(), 0);
        continue;
      }
      ASSERT_EQ(messages.count(), 1);
      EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
      EXPECT_EQ(messages.last().icon, ui::MsgIcon::Exclamation);
      EXPECT_EQ(messages.last().caption, ui::AppName());
      EXPECT_EQ(QApplication::focusWidget(), c.focus(page));
    }
  }
}

// What each control holds reaches its own field; the DNS fields only while
// the extended settings are shown.
TEST_F(NetworkPage, EveryControlReachesItsField) {
  for (const bool extended : {true, false}) {
    SCOPED_TRACE(extended);
    DlgNetwork page;
    page.ShowExtendedSettings(extended);  // as the main window's gesture does
    page.show();
    DeviceEntry entry = ClientEntry();
    page.LoadFromEntry(entry, 0);
    page.m_Port->setText("0x1f90");
    page.m_LocalIp->setAddress(Ip("10.0.0.7"));
    page.m_Mask->setAddress(Ip("255.0.0.0"));
    page.m_Gateway->setAddress(Ip("10.0.0.1"));
    page.SelectMixedMode();
    page.m_ServerIp->setAddress(Ip("1.2.3.4"));
    page.m_ServerPort->setText("99");
    page.m_DnsConnect->setChecked(true);
    page.m_DnsServer->setAddress(Ip("8.8.4.4"));
    page.m_Domain->setText(QStringLiteral(" dom.example "));
    ASSERT_TRUE(page.StoreToBlock(entry, true));
    ConfigBlock b = entry.block();
    EXPECT_EQ(b.get(field::Local_Port), 0x1f90);
    EXPECT_EQ(b.get(field::DHCP_Enable), 0);
    EXPECT_EQ(b.get(field::Device_IP_Address), Ip("10.0.0.7"));
    EXPECT_EQ(b.get(field::Subnet_Mask), Ip("255.0.0.0"));
    EXPECT_EQ(b.get(field::Default_Gateway), Ip("10.0.0.1"));
    EXPECT_EQ(b.get(field::Operation_Mode), 1);
    EXPECT_EQ(b.get(field::Server_IP_Address), Ip("1.2.3.4"));
    EXPECT_EQ(b.get(field::Server_Port), 99);
    EXPECT_EQ(b.get(field::DNS_Connect_Enable), extended ? 1 : 0);
    EXPECT_EQ(b.get(field::DNS_Server_IP_Address), extended ? Ip("8.8.4.4") : Ip("10.47.0.53"));
    EXPECT_EQ(b.get(field::Server_Domain_Name), std::string(extended ? "dom.example" : "lx47.example") +
                                                    std::string(extended ? 21 : 20, ' '));
    // DHCP: the switch alone.
    page.SelectDhcp();
    page.m_LocalIp->setAddress(0);
    ASSERT_TRUE(page.StoreToBlock(entry, true));
    EXPECT_EQ(b.get(field::DHCP_Enable), 1);
    EXPECT_EQ(b.get(field::Device_IP_Address), Ip("10.0.0.7"));
    EXPECT_EQ(messages.count(), 0);
  }
}

TEST_F(NetworkPage, LoadShowsTheModeGroupOnlyForClientEntries) {
  DlgNetwork page;
  page.show();
  for (const auto& [mode, visible, server, client] :
       {std::tuple{0, true, false, true}, std::tuple{2, false, true, false}}) {
    DeviceEntry entry = ClientEntry(static_cast<std::uint8_t>(mode));
    page.LoadFromEntry(entry, 0);
    EXPECT_EQ(page.m_ModeGroup->isVisible(), visible) << mode;
    EXPECT_EQ(page.m_Server->isChecked(), server) << mode;
    EXPECT_EQ(page.m_Client->isChecked(), client) << mode;
    EXPECT_EQ(page.m_ServerIp->address(), Ip("10.47.0.9"));
  }
  // Mixed leaves the radios as they were, the group hidden.
  DeviceEntry mixed = ClientEntry(1);
  page.LoadFromEntry(mixed, 0);
  EXPECT_FALSE(page.m_ModeGroup->isVisible());
  EXPECT_TRUE(page.m_Server->isChecked());
  ConfigBlock b = mixed.block();
  ASSERT_TRUE(page.StoreToBlock(mixed, true));
  EXPECT_EQ(b.get(field::Operation_Mode), 1);
}

TEST_F(NetworkPage, ExtendedSettingsAndEnableControls) {
  DlgNetwork page;
  page.show();
  EXPECT_FALSE(page.m_Domain->isVisible());
  EXPECT_FALSE(page.m_Mixed->isEnabled());
  page.ShowExtendedSettings(true);
  EXPECT_TRUE(page.m_Domain->isVisible());
  EXPECT_TRUE(page.m_DnsConnect->isVisible());
  EXPECT_TRUE(page.m_Mixed->isEnabled());

  DeviceEntry entry = ClientEntry();
  page.LoadFromEntry(entry, 0);
  page.EnableControls(false, 0);
  EXPECT_FALSE(page.m_Port->isEnabled());
  EXPECT_FALSE(page.m_LocalIp->isEnabled());
  // Nothing enabled, nothing stored: the address checks are skipped too.
  page.m_LocalIp->setAddress(0);
  page.m_Port->setText("x");
  EXPECT_TRUE(page.StoreToBlock(entry, true));
  EXPECT_EQ(messages.count(), 0);

  page.SelectDhcp();
  page.EnableControls(true, 0);
  EXPECT_TRUE(page.m_Port->isEnabled());
  EXPECT_FALSE(page.m_LocalIp->isEnabled());  // follows the manual radio
  EXPECT_TRUE(page.m_ServerIp->isEnabled());  // TCP Client is checked
  page.SelectServerMode(false);
  EXPECT_FALSE(page.m_ServerIp->isEnabled());
}

TEST_F(NetworkPage, ModeChoiceSwitchesTheConnectionPasswordOfTheOptionPage) {
  QWidget window;
  auto* network = new DlgNetwork(&window);
  auto* option = new pages::DlgOption(&window);
  DeviceEntry entry = ClientEntry();
  network->LoadFromEntry(entry, 0);
  EXPECT_FALSE(option->m_ConnectEnable->isEnabled());
  network->SelectServerMode(false);
  EXPECT_TRUE(option->m_ConnectEnable->isEnabled());
  network->SelectClientMode();
  EXPECT_FALSE(option->m_ConnectEnable->isEnabled());
  network->SelectServerMode(false);
  network->SelectMixedMode();
  EXPECT_FALSE(option->m_ConnectEnable->isEnabled());
  // Loading a server entry leaves it unavailable as well.
  network->SelectServerMode(false);
  DeviceEntry server = ClientEntry(2);
  network->LoadFromEntry(server, 0);
  EXPECT_FALSE(option->m_ConnectEnable->isEnabled());
}

TEST_F(NetworkPage, RightDoubleClicksMakeThePortEditable) {
  DlgNetwork page;
  page.show();
  const QPointF at(2, 2);
  const auto dbl = [&](Qt::MouseButton b) {
    QMouseEvent e(QEvent::MouseButtonDblClick, at, page.mapToGlobal(at), b, b, Qt::NoModifier);
    QApplication::sendEvent(&page, &e);
  };
  for (int i = 0; i < DlgNetwork::kPortUnlockCount * 2; ++i) dbl(Qt::LeftButton);
  EXPECT_TRUE(page.m_Port->isReadOnly());
  for (int i = 0; i < DlgNetwork::kPortUnlockCount - 1; ++i) dbl(Qt::RightButton);
  EXPECT_TRUE(page.m_Port->isReadOnly());
  dbl(Qt::RightButton);
  EXPECT_FALSE(page.m_Port->isReadOnly());
}

// The Mixed radio is no member of the mode group: with the extended
// settings it shows whether the group is shown or not, in the group's row
// of modes.
TEST_F(NetworkPage, MixedRadioShowsWithTheExtendedSettingsOutsideTheGroup) {
  DlgNetwork page;
  page.show();
  page.ShowExtendedSettings(true);
  struct Case {
    std::uint8_t mode;
    bool groupShown;
  };
  for (const Case c : {Case{2, false}, Case{1, false}, Case{0, true}}) {
    SCOPED_TRACE(int(c.mode));
    DeviceEntry entry = ClientEntry(c.mode);
    page.LoadFromEntry(entry, 0);
    QApplication::processEvents();
    EXPECT_EQ(page.m_ModeGroup->isVisible(), c.groupShown);
    EXPECT_TRUE(page.m_Mixed->isVisible());
    EXPECT_TRUE(page.m_Mixed->isEnabled());
    // Beside TCP Client, inside the group's frame.
    const QRect mixed(page.m_Mixed->mapTo(&page, QPoint(0, 0)), page.m_Mixed->size());
    const QRect group(page.m_ModeGroup->mapTo(&page, QPoint(0, 0)), page.m_ModeGroup->size());
    EXPECT_TRUE(group.contains(mixed));
    if (c.groupShown) {
      const QRect client(page.m_Client->mapTo(&page, QPoint(0, 0)), page.m_Client->size());
      EXPECT_EQ(mixed.center().y(), client.center().y());
      EXPECT_GE(mixed.left(), client.right());
    }
  }
  page.ShowExtendedSettings(false);
  EXPECT_FALSE(page.m_Mixed->isVisible());
}

// Read-only edits have the dialog's background; the port edit turns into an
// input field once the hidden gesture has made it editable.
TEST_F(NetworkPage, ReadOnlyPortLooksReadOnlyUntilUnlocked) {
  DlgNetwork page;
  page.show();
  const QColor dialog = page.palette().color(QPalette::Window);
  const QColor input = page.palette().color(QPalette::Base);
  ASSERT_NE(dialog, input);
  EXPECT_EQ(page.m_Port->palette().color(QPalette::Base), dialog);
  EXPECT_EQ(page.m_ServerPort->palette().color(QPalette::Base), input);
  page.m_Port->setReadOnly(false);
  EXPECT_EQ(page.m_Port->palette().color(QPalette::Base), input);
}

// Every octet fits its field with room to spare, in the page's bold font.
TEST_F(NetworkPage, AddressFieldsFitEveryOctet) {
  DlgNetwork page;
  page.show();
  page.ShowExtendedSettings(true);
  DeviceEntry entry = ClientEntry();
  page.LoadFromEntry(entry, 0);
  QApplication::processEvents();
  for (controls::CIPAddrEdit* edit : page.findChildren<controls::CIPAddrEdit*>()) {
    ASSERT_TRUE(edit->isVisible());
    for (int octet : {0, 111, 188, 200, 255}) {
      const QString text = QString::number(octet);
      edit->setBytes({std::uint8_t(octet), std::uint8_t(octet), std::uint8_t(octet), std::uint8_t(octet)});
      for (int i = 0; i < 4; ++i) {
        QLineEdit* f = edit->field(i);
        const int need = f->fontMetrics().horizontalAdvance(text);
        // The line edit keeps 2 pixels each side for itself; 2 more are room.
        EXPECT_GE(f->width() - 4, need + 4) << octet << " in field " << i;
      }
    }
  }
}
