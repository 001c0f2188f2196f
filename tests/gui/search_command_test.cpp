// The search command on the fake network: the dialog's starting values, the
// repeat path, the host address, the list it fills and every failure message.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/DlgPassword.h"
#include "app/DlgProcess.h"
#include "app/LX47ConfigToolDlg.h"
#include "app/commands.h"
#include "controls/CMACAddrEdit.h"
#include "controls/CStaticEx.h"
#include "device_reply.h"
#include "fake_net.h"
#include "fakes.h"
#include "app/DlgAppSetting.h"
#include "modal.h"
#include "pages/settings_page.h"
#include "protocol/session.h"
#include "recording_messages.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

using lx47::texts::TextId;

using namespace lx47;
using app::DlgPassword;
using app::LX47ConfigToolDlg;
using test::ModalWatch;
using ui::MsgIcon;

namespace {

class RecordingPage : public pages::SettingsPage {
 public:
  using SettingsPage::SettingsPage;
  void LoadFromEntry(DeviceEntry&, int index) override { loaded.push_back(index); }
  void EnableControls(bool enable, int) override { enabled = enable; }
  bool StoreToBlock(DeviceEntry&, bool) override { return true; }
  void ShowExtendedSettings(bool) override {}
  std::vector<int> loaded;
  bool enabled = true;
};

QString MacText(const MacAddress& m) {
  return QString::asprintf("%02X:%02X:%02X:%02X:%02X:%02X", m[0], m[1], m[2], m[3], m[4], m[5]);
}

const MacAddress kZeroMac{};

class SearchCommandTest : public ::testing::Test {
 public:
  void SetUp() override {
    // A fresh session, also when a test sets up again for its next case.
    session = std::make_unique<Session>();
    // Instant on the fake clock, and short: 2 sends of 5 attempts.
    session->Settings.MaxSendCmdLoopCount = 2;
    session->Settings.MaxRecvLoopCount = 5;
    host.addRow("10.47.0.1");
    devices = {test::Mac(1), test::Mac(2), test::Mac(3)};
    net.onSend = [this](const test::Datagram& d) {
      if (d.bytes.size() < 12 || std::memcmp(d.bytes.data(), "FOND", 4) != 0) return;
      for (const MacAddress& m : devices) net.replyTo(d, test::DeviceReply("IAMI", m));
    };
    win.emplace(*session, nullptr, [this](int slot, QWidget* parent) {
      pages[slot] = new RecordingPage(parent);
      return pages[slot];
    });
  }
  void TearDown() override { win.reset(); }

  // One search through the dialog: `fill` sets the dialog up (it has
  // already been looked at by `look`), then OK; nullptr fill: Cancel.
  bool SearchWith(std::function<void(DlgPassword&)> fill, std::function<void(DlgPassword&)> look = {}) {
    ModalWatch<DlgPassword> watch([&](DlgPassword& d) {
      if (look) look(d);
      if (fill) {
        fill(d);
        d.okButton()->click();
      } else {
        d.cancelButton()->click();
      }
    });
    app::commands::Search(*win);
    return watch.seen;
  }
  // The search most tests start from: every device, password "abc".
  void SearchAll(const char* password = "abc") {
    ASSERT_TRUE(SearchWith([password](DlgPassword& d) {
      d.passwordEdit()->setText(QString::fromLatin1(password));
      if (d.oneDeviceBox()->isChecked()) d.oneDeviceBox()->click();
    }));
  }

  // The FOND datagrams sent, each as (password bytes, host address).
  std::vector<std::pair<std::string, std::uint32_t>> Fonds() const {
    std::vector<std::pair<std::string, std::uint32_t>> out;
    for (const test::Datagram& d : net.sent())
      if (d.bytes.size() >= 12 && std::memcmp(d.bytes.data(), "FOND", 4) == 0)
        out.emplace_back(std::string(d.bytes.begin() + 4, d.bytes.begin() + 12), d.from.addr);
    return out;
  }
  QStringList Column(int c) const {
    QStringList out;
    for (int r = 0; r < win->deviceList()->rowCount(); ++r) {
      const QTableWidgetItem* item = win->deviceList()->item(r, c);
      out << (item ? item->text() : QStringLiteral("<none>"));
    }
    return out;
  }

  store::MemorySettingsStore store;
  ui::ScopedSettingsStore scopedStore{&store};
  test::RecordingMessages msgs;
  test::FakeNet net;
  test::FakeClock clock;
  test::FakeHostNet host;
  std::vector<MacAddress> devices;
  RecordingPage* pages[5] = {};
  std::unique_ptr<Session> session;
  std::optional<LX47ConfigToolDlg> win;
};

TEST_F(SearchCommandTest, FirstSearchAsksWithOneDeviceCheckedThenListsEveryDeviceAndShowsTheFirst) {
  bool oneDevice = false, byMac = true;
  ASSERT_TRUE(SearchWith(
      [](DlgPassword& d) {
        d.passwordEdit()->setText(QStringLiteral("abc"));
        d.oneDeviceBox()->click();  // off: every device
      },
      [&](DlgPassword& d) {
        oneDevice = d.oneDeviceBox()->isChecked();
        byMac = d.macBox()->isChecked();
      }));
  EXPECT_TRUE(oneDevice);
  EXPECT_FALSE(byMac);
  EXPECT_EQ(msgs.count(), 0);

  // The typed password went out padded to 8 bytes, from the one host address.
  const auto fonds = Fonds();
  ASSERT_FALSE(fonds.empty());
  for (const auto& [pw, from] : fonds) {
    EXPECT_EQ(pw, "abc     ");
    EXPECT_EQ(from, test::Ip("10.47.0.1"));
  }

  QTableWidget* list = win->deviceList();
  EXPECT_TRUE(list->isEnabled());
  EXPECT_EQ(Column(0), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(Column(1), (QStringList{MacText(test::Mac(1)), MacText(test::Mac(2)), MacText(test::Mac(3))}));
  EXPECT_EQ(Column(2), (QStringList{"", "", ""}));
  for (int r = 0; r < 3; ++r) EXPECT_EQ(list->item(r, 0)->data(Qt::UserRole).toInt(), r + 1);
  // The address fits its column in the list's own font, with the cell's margins.
  EXPECT_GE(list->columnWidth(1), QFontMetrics(list->font()).horizontalAdvance(MacText(test::Mac(1))) + 8);
  ASSERT_EQ(list->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(list->selectionModel()->selectedRows().front().row(), 0);

  EXPECT_EQ(win->m_CurrentIndex, 0);
  EXPECT_EQ(win->m_PreviousIndex, -1);
  EXPECT_EQ(win->versionLabel()->text(), "1.2.3");
  EXPECT_EQ(win->selectionLabel()->text(), QString::asprintf(ui::Str(TextId::SelectionNo).toUtf8().constData(), 1u));
  EXPECT_TRUE(win->writeButton()->isEnabled());
  EXPECT_TRUE(win->firmwareButton()->isEnabled());
  for (RecordingPage* p : pages) {
    EXPECT_EQ(p->loaded, std::vector<int>{0});
    EXPECT_TRUE(p->enabled);
  }
  EXPECT_EQ(win->m_LastPassword, QByteArray("abc     "));
  EXPECT_EQ(store.readInt("OneDevice", -1), 0);
  EXPECT_EQ(store.readInt("SearchMacFlag", -1), 0);
  EXPECT_FALSE(store.contains("SearchMacAdrs"));
}

TEST_F(SearchCommandTest, EmptyPasswordGoesOutAsEightBlanks) {
  SearchAll("");
  ASSERT_FALSE(Fonds().empty());
  EXPECT_EQ(Fonds().front().first, "        ");
  EXPECT_EQ(win->m_LastPassword, QByteArray("        "));
}

TEST_F(SearchCommandTest, ShownDeviceFillsTheMacAndCancelLeavesTheListButForgetsThePassword) {
  SearchAll();
  win->SelectRow(1);
  ASSERT_EQ(win->m_CurrentIndex, 1);
  const std::size_t sentBefore = net.sent().size();

  MacAddress offered{};
  ASSERT_TRUE(SearchWith(nullptr, [&](DlgPassword& d) { offered = d.m_SearchMac; }));
  EXPECT_EQ(offered, test::Mac(2));
  EXPECT_EQ(net.sent().size(), sentBefore);
  EXPECT_EQ(win->deviceList()->rowCount(), 3);
  EXPECT_EQ(win->m_CurrentIndex, 1);
  EXPECT_EQ(session->DeviceCount, 3);
  EXPECT_TRUE(win->m_LastPassword.isEmpty());
  EXPECT_EQ(msgs.count(), 0);
}

TEST_F(SearchCommandTest, StoredSearchMacIsOfferedOnlyWhenItHasTwelveDigits) {
  const MacAddress parsed{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
  const struct {
    const char* stored;
    MacAddress expected;
  } cases[] = {
      {"0A1B2C3D4E5F", parsed},
      {"0a1b2c3d4e5f", parsed},
      {"  0a1B2c3D4e5F\t", parsed},
      {"0A1B2C3D4E5", kZeroMac},
      {"0A1B2C3D4E5F0", kZeroMac},
  };
  store.writeInt("OneDevice", 1);
  store.writeInt("SearchMacFlag", 1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    store.writeString("SearchMacAdrs", c.stored);
    MacAddress offered{0xEE};
    ASSERT_TRUE(SearchWith(nullptr, [&](DlgPassword& d) { offered = d.m_SearchMac; }));
    EXPECT_EQ(offered, c.expected);
  }
  // Without the MAC box the stored address is not offered.
  store.writeInt("SearchMacFlag", 0);
  store.writeString("SearchMacAdrs", "0A1B2C3D4E5F");
  MacAddress offered{0xEE};
  ASSERT_TRUE(SearchWith(nullptr, [&](DlgPassword& d) { offered = d.m_SearchMac; }));
  EXPECT_EQ(offered, kZeroMac);
}

TEST_F(SearchCommandTest, SearchByMacFindsThatDeviceStoresItUpperCaseAndClearingTheBoxKeepsIt) {
  devices.push_back(test::Mac(0xAB));
  store.writeInt("OneDevice", 1);
  store.writeInt("SearchMacFlag", 1);
  store.writeString("SearchMacAdrs", "0080470000ab");
  ASSERT_TRUE(SearchWith([](DlgPassword& d) { d.passwordEdit()->setText("pw"); }));
  EXPECT_EQ(Column(1), QStringList{MacText(test::Mac(0xAB))});
  EXPECT_EQ(store.readString("SearchMacAdrs"), "0080470000AB");
  EXPECT_EQ(store.readInt("OneDevice", -1), 1);
  EXPECT_EQ(store.readInt("SearchMacFlag", -1), 1);

  // One device without the MAC: the first that answers; the stored MAC stays.
  ASSERT_TRUE(SearchWith([](DlgPassword& d) {
    d.passwordEdit()->setText("pw");
    d.macBox()->click();
  }));
  EXPECT_EQ(Column(1), QStringList{MacText(test::Mac(1))});
  EXPECT_EQ(store.readInt("SearchMacFlag", -1), 0);
  EXPECT_EQ(store.readString("SearchMacAdrs"), "0080470000AB");
}

TEST_F(SearchCommandTest, EscapeDuringTheSearchKeepsTheDevicesFoundSoFar) {
  // The worker holds on in its second receive until the user has pressed
  // Escape in the runner; that receive still brings the second device.
  std::atomic<bool> holding{false};
  net.beforeRecv = [this, &holding](int n) {
    if (n != 1) return;
    holding = true;
    for (int i = 0; i < 5000 && !session->Abort.IsAbortRequested(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  ModalWatch<app::DlgProcess> escape([&holding](app::DlgProcess& d) {
    for (int i = 0; i < 5000 && !holding; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&d, &press);
  });
  SearchAll();
  EXPECT_TRUE(escape.seen);
  EXPECT_EQ(msgs.count(), 0);
  EXPECT_EQ(Column(1), (QStringList{MacText(test::Mac(1)), MacText(test::Mac(2))}));
  EXPECT_EQ(win->m_CurrentIndex, 0);
  EXPECT_EQ(win->m_LastPassword, QByteArray("abc     "));
}

TEST_F(SearchCommandTest, RepeatSearchSkipsTheDialogAndLooksForTheRememberedDevice) {
  SearchAll("secret");
  store.writeInt("OneDevice", 1);  // as a one-device search would have left it
  const std::size_t before = Fonds().size();

  win->m_RepeatSearch = 1;
  win->m_SearchRememberedMac = 1;
  win->m_RememberedMac = test::Mac(3);
  ModalWatch<DlgPassword> unexpected([](DlgPassword& d) { d.cancelButton()->click(); }, 3000);
  app::commands::Search(*win);
  EXPECT_FALSE(unexpected.seen);
  const auto fonds = Fonds();
  ASSERT_GT(fonds.size(), before);
  EXPECT_EQ(fonds.back().first, "secret  ");
  EXPECT_EQ(Column(1), QStringList{MacText(test::Mac(3))});
  EXPECT_EQ(win->m_RepeatSearch, 0);
  EXPECT_EQ(win->m_SearchRememberedMac, 0);
  EXPECT_EQ(win->m_LastPassword, QByteArray("secret  "));
}

TEST_F(SearchCommandTest, RepeatWithoutAPasswordAsksAndKeepsTheRequest) {
  win->m_RepeatSearch = 1;
  win->m_SearchRememberedMac = 1;
  ASSERT_TRUE(SearchWith(nullptr));
  EXPECT_EQ(win->m_RepeatSearch, 1);
  EXPECT_EQ(win->m_SearchRememberedMac, 0);
  EXPECT_TRUE(net.sent().empty());
}

// Each failure after a search that had found devices: the message, its icon,
// whether anything was sent, and the firmware button afterwards.
TEST_F(SearchCommandTest, FailuresReportTheirMessageAndLeaveNoDevices) {
  const QString s154 = ui::Str(TextId::NetworkProblem);
  const struct Case {
    const char* name;
    std::function<void(SearchCommandTest&)> setup;
    QString text;
    MsgIcon icon;
    bool sends;
    bool firmwareAfter;
  } cases[] = {
      {"nothing found", [](SearchCommandTest& t) { t.devices.clear(); }, ui::Str(TextId::NoDeviceFound),
       MsgIcon::Warning, true, false},
      {"chosen adapter unplugged",
       [](SearchCommandTest& t) {
         t.host.adapterList = {{"lx0", "LAN 1", {1, 2, 3, 4, 5, 6}, 6, "0.0.0.0"}};
         t.store.writeInt("ALL_HOST_SCAN", 0);
         t.store.writeString("HOST_ADAPTERNAME", "lx0");
         t.store.writeString("HOST_DESC", " LAN 1 ");
         t.store.writeString("HOST_IP", "10.47.0.1");
       },
       s154 + "\n\nネットワークアダプタ：［LAN 1］は有効ではないか、切断状態の可能性があります。", MsgIcon::Error,
       false, true},
      {"chosen adapter unplugged, no description stored",
       [](SearchCommandTest& t) {
         t.host.adapterList = {{"lx0", "LAN 1", {1, 2, 3, 4, 5, 6}, 6, "0.0.0.0"}};
         t.store.writeInt("ALL_HOST_SCAN", 0);
         t.store.writeString("HOST_ADAPTERNAME", "lx0");
       },
       s154, MsgIcon::Error, false, true},
      {"chosen adapter of another type",
       [](SearchCommandTest& t) {
         t.host.adapterList = {{"tun0", "VPN", {}, 53, "10.47.0.1"}};
         t.store.writeInt("ALL_HOST_SCAN", 0);
         t.store.writeString("HOST_ADAPTERNAME", "tun0");
         t.store.writeString("HOST_DESC", "VPN");
       },
       s154 + "\n\nネットワークアダプタ：［VPN］は有効ではないか、切断状態の可能性があります。", MsgIcon::Error, false,
       true},
      {"adapter address not in the host table (result 20)",
       [](SearchCommandTest& t) {
         t.host.adapterList = {{"lx0", "LAN 1", {1, 2, 3, 4, 5, 6}, 6, "10.47.0.9"}};
         t.store.writeInt("ALL_HOST_SCAN", 0);
         t.store.writeString("HOST_ADAPTERNAME", "lx0");
         t.store.writeString("HOST_DESC", "LAN 1");
         t.store.writeString("HOST_IP", "10.47.0.1");
       },
       s154 + "\n\nネットワークアダプタ：［LAN 1］（IPアドレス：10.47.0.9）は有効ではありません。", MsgIcon::Error,
       false, true},
      {"socket cannot be made", [](SearchCommandTest& t) { t.net.failCall(test::Call::UdpSocket); }, s154,
       MsgIcon::Error, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    store.clear();
    net.onSend = nullptr;
    host.adapterList.clear();
    host.rows.clear();
    SetUp();
    SearchAll();
    ASSERT_EQ(win->deviceList()->rowCount(), 3);
    ASSERT_TRUE(win->firmwareButton()->isEnabled());
    msgs.clear();
    const std::size_t sentBefore = net.sent().size();

    c.setup(*this);
    ASSERT_TRUE(SearchWith([](DlgPassword& d) { d.passwordEdit()->setText("abc"); }));
    ASSERT_EQ(msgs.count(), 1);
    EXPECT_EQ(msgs.last().text, c.text);
    EXPECT_EQ(msgs.last().icon, c.icon);
    EXPECT_EQ(msgs.last().caption, ui::AppCaption());
    EXPECT_EQ(net.sent().size() > sentBefore, c.sends);
    EXPECT_EQ(win->deviceList()->rowCount(), 0);
    EXPECT_EQ(session->DeviceCount, 0);
    EXPECT_FALSE(win->deviceList()->isEnabled());
    EXPECT_FALSE(win->writeButton()->isEnabled());
    EXPECT_EQ(win->firmwareButton()->isEnabled(), c.firmwareAfter);
    EXPECT_EQ(win->versionLabel()->text(), "");
    EXPECT_TRUE(win->m_LastPassword.isEmpty());
    for (RecordingPage* p : pages) EXPECT_FALSE(p->enabled);
  }
}

TEST_F(SearchCommandTest, ChosenAdapterSendsFromItsAddressOnly) {
  host.addRow("10.48.0.1");
  host.adapterList = {{"lx0", "LAN 1", {1, 2, 3, 4, 5, 6}, 6, "10.47.0.1"},
                      {"lx2", "LAN 2", {1, 2, 3, 4, 5, 7}, 71, "10.48.0.1"}};
  store.writeInt("ALL_HOST_SCAN", 0);
  store.writeString("HOST_ADAPTERNAME", "lx2");
  store.writeString("HOST_IP", "10.1.1.1");  // stale text: the adapter's own address counts
  SearchAll();
  EXPECT_EQ(session->Settings.ALL_HOST_SCAN, 0);
  EXPECT_EQ(session->SelectedHostAddress, test::Ip("10.48.0.1"));
  ASSERT_FALSE(Fonds().empty());
  for (const auto& f : Fonds()) EXPECT_EQ(f.second, test::Ip("10.48.0.1"));
  EXPECT_EQ(win->deviceList()->rowCount(), 3);
}

TEST_F(SearchCommandTest, ToolSettingsOpensTheDialogOverTheWindow) {
  QWidget* parent = nullptr;
  ModalWatch<app::DlgAppSetting> watch([&](app::DlgAppSetting& d) {
    parent = d.parentWidget();
    d.cancelButton()->click();
  });
  win->OnToolSettings();
  EXPECT_TRUE(watch.seen);
  EXPECT_EQ(parent, &*win);
}

}  // namespace
