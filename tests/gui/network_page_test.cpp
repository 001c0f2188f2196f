// The Network page: the port texts, the address checks, the mode rules, the
// domain name's cleaning and cut, the extended settings, what a failed store
// leaves behind and the hidden port unlock.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <functional>
#include <optional>

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

// A TCP Client device with manual addressing and every field known.
DeviceEntry ClientEntry(std::uint8_t mode = 0) {
  DeviceEntry e = test::EntryWithBlock();
  ConfigBlock b = e.block();
  b.set(field::Operation_Mode, mode);
  b.set(field::DHCP_Enable, 0);
  b.set(field::Device_IP_Address, Ip("10.47.0.101"));
  b.set(field::Subnet_Mask, Ip("255.255.255.0"));
  b.set(field::Default_Gateway, Ip("10.47.0.1"));
  b.set(field::Local_Port, 23);
  b.set(field::Server_IP_Address, Ip("10.47.0.9"));
  b.set(field::Server_Port, 5000);
  b.set(field::DNS_Connect_Enable, 0);
  b.set(field::DNS_Server_IP_Address, Ip("10.47.0.53"));
  b.set(field::Server_Domain_Name, "lx47.example");
  return e;
}

std::uint32_t Addr(ConfigBlock b, field::Ipv4 f) { return b.get(f); }

struct StoreCase {
  const char* name;
  std::function<void(DlgNetwork&)> edit;
  const char* message;  // nullptr: the store succeeds
  std::function<void(ConfigBlock)> expect;
  std::function<QWidget*(DlgNetwork&)> focus = {};  // the field that gets the focus
  bool extended = false;
  std::uint8_t mode = 0;
};

class NetworkPage : public ::testing::Test {
 protected:
  test::RecordingMessages messages;
};

}  // namespace

TEST_F(NetworkPage, StoreToBlock) {
  const auto port = [](const char* text) { return [text](DlgNetwork& p) { p.m_Port->setText(QString::fromUtf8(text)); }; };
  const auto portIs = [](std::uint8_t hi, std::uint8_t lo) {
    return [hi, lo](ConfigBlock b) {
      EXPECT_EQ(b.bytes()[24], hi);
      EXPECT_EQ(b.bytes()[25], lo);
    };
  };
  const auto portKept = portIs(0, 23);
  const auto portField = [](DlgNetwork& p) -> QWidget* { return p.m_Port; };
  const auto localField = [](DlgNetwork& p) -> QWidget* { return p.m_LocalIp->field(0); };
  const std::string spaces32(32, ' ');

  const std::vector<StoreCase> cases = {
      {"8080", port("8080"), nullptr, portIs(0x1F, 0x90)},
      {"0x1f90", port("0x1f90"), nullptr, portIs(0x1F, 0x90)},
      {"010 is octal", port("010"), nullptr, portIs(0, 8)},
      {"sign skipped", port("+80"), nullptr, portIs(0, 80)},
      {"0", port("0"), kPortMsg, portKept, portField},
      {"65536", port("65536"), kPortMsg, portKept, portField},
      {"8a", port("8a"), kPortMsg, portKept, portField},
      {"empty", port(""), kPortMsg, portKept, portField},
      {"trailing space", port("80 "), kPortMsg, portKept, portField},
      {"local 0.1.2.3 refused, the port before it stays stored",
       [](DlgNetwork& p) {
         p.m_Port->setText("8080");
         p.m_LocalIp->setAddress(Ip("0.1.2.3"));
       },
       kLocalMsg,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Local_Port), 8080);
         EXPECT_EQ(Addr(b, field::Device_IP_Address), Ip("10.47.0.101"));
       },
       localField},
      {"local 10.0.0.0, mask 255.0.255.0, gateway 0.0.0.0 accepted",
       [](DlgNetwork& p) {
         p.m_LocalIp->setAddress(Ip("10.0.0.0"));
         p.m_Mask->setAddress(Ip("255.0.255.0"));
         p.m_Gateway->setAddress(0);
       },
       nullptr,
       [](ConfigBlock b) {
         EXPECT_EQ(Addr(b, field::Device_IP_Address), Ip("10.0.0.0"));
         EXPECT_EQ(Addr(b, field::Subnet_Mask), Ip("255.0.255.0"));
         EXPECT_EQ(Addr(b, field::Default_Gateway), 0u);
       }},
      {"mask 0.0.0.0 refused", [](DlgNetwork& p) { p.m_Mask->setAddress(0); }, kMaskMsg,
       [](ConfigBlock b) { EXPECT_EQ(Addr(b, field::Subnet_Mask), Ip("255.255.255.0")); },
       [](DlgNetwork& p) -> QWidget* { return p.m_Mask->field(0); }},
      {"DHCP keeps the block's addresses whatever the controls show",
       [](DlgNetwork& p) {
         p.m_LocalIp->setAddress(0);
         p.m_Mask->setAddress(0);
         p.SelectDhcp();
       },
       nullptr,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::DHCP_Enable), 1);
         EXPECT_EQ(Addr(b, field::Device_IP_Address), Ip("10.47.0.101"));
         EXPECT_EQ(Addr(b, field::Subnet_Mask), Ip("255.255.255.0"));
       }},
      {"client to server stores 2 and leaves the server fields",
       [](DlgNetwork& p) {
         p.m_ServerIp->setAddress(Ip("1.2.3.4"));
         p.m_ServerPort->setText("99");
         p.SelectServerMode(false);
       },
       nullptr,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Operation_Mode), 2);
         EXPECT_EQ(Addr(b, field::Server_IP_Address), Ip("10.47.0.9"));
         EXPECT_EQ(b.get(field::Server_Port), 5000);
       }},
      {"client to mixed stores 1, the server address and port",
       [](DlgNetwork& p) {
         p.SelectMixedMode();
         p.m_ServerIp->setAddress(Ip("1.2.3.4"));
         p.m_ServerPort->setText("0x10");
       },
       nullptr,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Operation_Mode), 1);
         EXPECT_EQ(Addr(b, field::Server_IP_Address), Ip("1.2.3.4"));
         EXPECT_EQ(b.get(field::Server_Port), 16);
       },
       {}, true},
      {"server port refused after the mode and address are stored",
       [](DlgNetwork& p) {
         p.m_ServerIp->setAddress(Ip("1.2.3.4"));
         p.m_ServerPort->setText("70000");
       },
       kServerPortMsg,
       [](ConfigBlock b) {
         EXPECT_EQ(Addr(b, field::Server_IP_Address), Ip("1.2.3.4"));
         EXPECT_EQ(b.get(field::Server_Port), 5000);
       },
       [](DlgNetwork& p) -> QWidget* { return p.m_ServerPort; }},
      {"server entry keeps its mode and server fields",
       [](DlgNetwork& p) {
         p.m_ServerIp->setAddress(Ip("1.2.3.4"));
         p.m_ServerPort->setText("0");
       },
       nullptr,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Operation_Mode), 2);
         EXPECT_EQ(Addr(b, field::Server_IP_Address), Ip("10.47.0.9"));
         EXPECT_EQ(b.get(field::Server_Port), 5000);
       },
       {}, false, 2},
      {"extended: a 40-character domain is cut to 32, DNS fields written",
       [](DlgNetwork& p) {
         p.m_Domain->setText("  abcdefghijklmnopqrstuvwxyz0123456789ABCD  ");
         p.m_DnsConnect->setChecked(true);
         p.m_DnsServer->setAddress(Ip("8.8.4.4"));
       },
       nullptr,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Server_Domain_Name), "abcdefghijklmnopqrstuvwxyz012345");
         EXPECT_EQ(b.get(field::DNS_Connect_Enable), 1);
         EXPECT_EQ(Addr(b, field::DNS_Server_IP_Address), Ip("8.8.4.4"));
       },
       {}, true},
      {"extended: a double-byte name is cut between characters",
       [](DlgNetwork& p) { p.m_Domain->setText(QStringLiteral("a") + QString(16, QChar(0x3042))); }, nullptr,
       [](ConfigBlock b) {
         std::string want = "a";
         for (int i = 0; i < 15; ++i) want += test::Ansi("\u3042");
         want += ' ';
         EXPECT_EQ(b.get(field::Server_Domain_Name), want);
       },
       {}, true},
      {"extended: an empty domain writes 32 spaces", [](DlgNetwork& p) { p.m_Domain->clear(); }, nullptr,
       [spaces32](ConfigBlock b) { EXPECT_EQ(b.get(field::Server_Domain_Name), spaces32); }, {}, true},
      {"extended hidden: the DNS fields are never written",
       [](DlgNetwork& p) {
         p.m_Domain->setText("other.example");
         p.m_DnsConnect->setChecked(true);
         p.m_DnsServer->setAddress(Ip("8.8.4.4"));
       },
       nullptr,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Server_Domain_Name), "lx47.example                    ");
         EXPECT_EQ(b.get(field::DNS_Connect_Enable), 0);
         EXPECT_EQ(Addr(b, field::DNS_Server_IP_Address), Ip("10.47.0.53"));
       }},
  };

  for (const StoreCase& c : cases) {
    SCOPED_TRACE(c.name);
    DlgNetwork page;
    page.ShowExtendedSettings(c.extended);  // as the main window's gesture does
    page.show();
    page.activateWindow();
    QApplication::processEvents();
    for (const bool report : {false, true}) {
      messages.clear();
      DeviceEntry entry = ClientEntry(c.mode);
      page.LoadFromEntry(entry, 0);
      c.edit(page);
      EXPECT_EQ(page.StoreToBlock(entry, report), c.message == nullptr) << "report " << report;
      c.expect(entry.block());
      if (!report || !c.message) {
        EXPECT_EQ(messages.count(), 0);
        continue;
      }
      ASSERT_EQ(messages.count(), 1);
      EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
      EXPECT_EQ(messages.last().icon, ui::MsgIcon::Exclamation);
      EXPECT_EQ(messages.last().caption, ui::AppName());
      if (c.focus) EXPECT_EQ(QApplication::focusWidget(), c.focus(page));
    }
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

TEST_F(NetworkPage, DomainBytesOutsidePrintableAsciiBecomeSpacesInTheBlock) {
  DlgNetwork page;
  DeviceEntry entry = ClientEntry();
  auto raw = entry.block().raw(field::Server_Domain_Name);
  std::fill(raw.begin(), raw.end(), 0);
  raw[3] = 'a';
  raw[4] = 0x7F;
  raw[5] = 'b';
  raw[6] = 0xE3;
  page.LoadFromEntry(entry, 0);
  EXPECT_EQ(page.m_Domain->text(), "a b");
  EXPECT_EQ(entry.block().get(field::Server_Domain_Name), "   a b" + std::string(26, ' '));
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
