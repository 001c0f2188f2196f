#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "fakes.h"
#include "app/DlgAppSetting.h"
#include "app/error_info.h"
#include "protocol/tool_settings.h"
#include "recording_messages.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"

using lx47::hostnet::AdapterInfo;
using lx47::app::DlgAppSetting;
using lx47::test::FakeHostNet;
using lx47::test::RecordingMessages;
using lx47::store::MemorySettingsStore;
using lx47::ui::MsgIcon;
using lx47::ui::ScopedSettingsStore;

namespace {

void Pump(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

AdapterInfo Adapter(const char* name, const char* desc, unsigned type, const char* addr,
                    std::vector<std::uint8_t> mac = {0x02, 0x47, 0x00, 0x00, 0x00, 0x01}) {
  AdapterInfo a;
  a.name = name;
  a.description = desc;
  a.type = type;
  a.firstAddress = addr;
  a.mac = std::move(mac);
  return a;
}

const char* kWarning =
    "現在設定されているネットワークホスト：［Old NIC］（IPアドレス：10.1.1.1）は無効です。\n\n"
    "ネットワーク接続を確認するか、再度ネットワークホストの選択を行ってください。\n";

class DlgAppSettingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    net.adapterList = {
        Adapter("lx0", "lx0 (veth)", 6, "10.47.0.1"),
        Adapter("tun0", "tun0", 53, "10.9.0.1"),
        Adapter("lx1", "lx1 (veth)", 6, "0.0.0.0"),
        Adapter("lo", "lo", 24, "127.0.0.1"),
        Adapter("lx2", "lx2 (wifi)", 71, "10.48.0.1", {0xAA, 0xBB, 0xCC, 0x01, 0x02, 0x03}),
    };
  }
  void StoreAdapter(const char* name, const char* desc, const char* ip) {
    store.writeInt("ALL_HOST_SCAN", 0);
    store.writeString("HOST_ADAPTERNAME", name);
    store.writeString("HOST_DESC", desc);
    store.writeString("HOST_IP", ip);
  }
  std::unique_ptr<DlgAppSetting> Open() {
    auto d = std::make_unique<DlgAppSetting>(settings);
    d->show();
    return d;
  }
  static QStringList Items(const DlgAppSetting& d) {
    QStringList l;
    for (int i = 0; i < d.hostList()->count(); ++i)
      l << QString("%1=%2").arg(d.hostList()->itemText(i)).arg(d.hostList()->itemData(i).toInt());
    return l;
  }

  MemorySettingsStore store;
  ScopedSettingsStore scoped{&store};
  RecordingMessages msgs;
  FakeHostNet net;
  // The session's settings, at their defaults.
  lx47::ToolSettings settings;
};

}  // namespace

TEST_F(DlgAppSettingTest, ListsEthernetAndWirelessAdaptersWithAnAddress) {
  auto d = Open();
  // Unplugged (0.0.0.0), tunnel and loopback adapters are not offered; item
  // data is the adapter's place in the adapter list.
  EXPECT_EQ(Items(*d), QStringList({"全てをスキャン=-1", "lx0 (veth)=0", "lx2 (wifi)=4"}));
  EXPECT_EQ(d->hostList()->currentIndex(), 0);
  EXPECT_EQ(d->currentSelection()->text(), " （全てをスキャンモード）");
  EXPECT_FALSE(d->hostAddress()->isEnabled());
  EXPECT_FALSE(d->ipLabel()->isEnabled());
  EXPECT_EQ(d->hostAddress()->text(), "");

  d->hostList()->setCurrentIndex(2);
  EXPECT_EQ(d->hostAddress()->text(), "10.48.0.1");
  EXPECT_EQ(d->hostMac()->text(), "AA:BB:CC:01:02:03");
  EXPECT_EQ(d->hostType()->text(), "無線ネットワーク インターフェイス");
  EXPECT_TRUE(d->hostAddress()->isEnabled());
  EXPECT_TRUE(d->macLabel()->isEnabled());
  EXPECT_EQ(d->selectedAdapterName(), "lx2");

  d->hostList()->setCurrentIndex(0);
  EXPECT_EQ(d->hostMac()->text(), "");
  EXPECT_FALSE(d->hostType()->isEnabled());

  EXPECT_EQ(d->sendCountRange()->text(), "(5～60)");
  EXPECT_EQ(d->recvDelayRange()->text(), "(16～100)");
  EXPECT_EQ(d->recvCountRange()->text(), "(10～120)");
  Pump(700);
  EXPECT_EQ(msgs.count(), 0);
}

TEST_F(DlgAppSettingTest, StoredAdapterIsSelectedAgainOnlyOnAnExactName) {
  StoreAdapter("lx2", "lx2 (wifi)", "10.48.0.1");
  auto d = Open();
  EXPECT_EQ(d->hostList()->currentIndex(), 2);
  EXPECT_EQ(d->currentSelection()->text(), "lx2 (wifi)  （IPアドレス：10.48.0.1）");
  EXPECT_EQ(d->hostAddress()->text(), "10.48.0.1");
  Pump(700);
  EXPECT_EQ(msgs.count(), 0);

  StoreAdapter("LX2", "Old NIC", "10.1.1.1");  // names compare case-sensitively
  auto other = Open();
  EXPECT_EQ(other->hostList()->currentIndex(), 0);
  Pump(700);
  ASSERT_EQ(msgs.count(), 1);
  EXPECT_EQ(msgs.last().text, QString::fromUtf8(kWarning));
}

TEST_F(DlgAppSettingTest, VanishedStoredAdapterWarnsHalfASecondAfterOpening) {
  struct C {
    const char* name;
    bool adaptersReadable;
  };
  for (const C& c : {C{"adapter gone", true}, C{"adapter list unreadable", false}}) {
    SCOPED_TRACE(c.name);
    msgs.clear();
    net.adaptersReadable = c.adaptersReadable;
    StoreAdapter("gone0", "Old NIC", "10.1.1.1");
    QElapsedTimer t;
    t.start();
    qint64 shownAt = -1;
    msgs.onShow = [&](const lx47::ui::MessageRequest&) { shownAt = t.elapsed(); };
    auto d = Open();
    EXPECT_EQ(d->hostList()->currentIndex(), 0);
    EXPECT_EQ(d->currentSelection()->text(), "Old NIC  （IPアドレス：10.1.1.1）");
    Pump(300);
    EXPECT_EQ(msgs.count(), 0) << "not before half a second";
    Pump(500);
    ASSERT_EQ(msgs.count(), 1);
    EXPECT_GE(shownAt, 450);
    EXPECT_EQ(msgs.last().text, QString::fromUtf8(kWarning));
    EXPECT_EQ(msgs.last().icon, MsgIcon::Error);
    EXPECT_EQ(msgs.last().caption, lx47::ui::AppCaption());
    Pump(600);
    EXPECT_EQ(msgs.count(), 1) << "the timer runs once";
    msgs.onShow = nullptr;
  }
  // Without a stored description there is nothing to warn about.
  msgs.clear();
  store.remove("HOST_DESC");
  auto d = Open();
  Pump(700);
  EXPECT_EQ(msgs.count(), 0);
}

TEST_F(DlgAppSettingTest, RescanDropsAnAdapterThatLostItsAddress) {
  StoreAdapter("lx2", "Old NIC", "10.1.1.1");
  auto d = Open();
  EXPECT_EQ(d->hostList()->currentIndex(), 2);
  net.adapterList[4].firstAddress = "0.0.0.0";
  d->rescanButton()->click();
  EXPECT_EQ(msgs.pauses, std::vector<int>{1000});
  EXPECT_EQ(Items(*d), QStringList({"全てをスキャン=-1", "lx0 (veth)=0"}));
  EXPECT_TRUE(d->hostList()->isEnabled());
  EXPECT_EQ(d->hostList()->currentIndex(), 0);
  Pump(700);
  ASSERT_EQ(msgs.count(), 1);
  EXPECT_EQ(msgs.last().text, QString::fromUtf8(kWarning));
}

// The wait cursor of a rescan is up from its pause until the list is full
// again, and gone afterwards.
TEST_F(DlgAppSettingTest, RescanKeepsTheWaitCursorUntilTheListIsRefilled) {
  auto d = Open();
  std::vector<int> cursorWhileReading;
  net.onAdapters = [&] {
    const QCursor* c = QApplication::overrideCursor();
    cursorWhileReading.push_back(c ? c->shape() : -1);
  };
  d->rescanButton()->click();
  net.onAdapters = nullptr;
  EXPECT_EQ(msgs.pauses, std::vector<int>{1000});
  EXPECT_EQ(cursorWhileReading, std::vector<int>{Qt::WaitCursor});
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DlgAppSettingTest, ReadOnlyFieldsHaveTheDialogsBackground) {
  auto d = Open();
  d->hostList()->setCurrentIndex(1);
  const QColor dialog = d->palette().color(QPalette::Window);
  for (QLineEdit* e : {d->currentSelection(), d->hostAddress(), d->hostMac()})
    EXPECT_EQ(e->palette().color(QPalette::Base), dialog);
  EXPECT_NE(d->sendCountEdit()->palette().color(QPalette::Base), dialog);
}

TEST_F(DlgAppSettingTest, HostChoiceIsStoredAndAllScanRemovesTheStoredAdapter) {
  auto d = Open();
  d->hostList()->setCurrentIndex(1);
  d->okButton()->click();
  ASSERT_EQ(d->result(), QDialog::Accepted);
  EXPECT_EQ(settings.ALL_HOST_SCAN, 0);
  EXPECT_EQ(store.readInt("ALL_HOST_SCAN", -1), 0);
  EXPECT_EQ(store.readString("HOST_IP"), "10.47.0.1");
  EXPECT_EQ(store.readString("HOST_DESC"), "lx0 (veth)");
  EXPECT_EQ(store.readString("HOST_ADAPTERNAME"), "lx0");

  auto again = Open();
  EXPECT_EQ(again->hostList()->currentIndex(), 1);
  again->hostList()->setCurrentIndex(0);
  again->okButton()->click();
  ASSERT_EQ(again->result(), QDialog::Accepted);
  EXPECT_EQ(settings.ALL_HOST_SCAN, 1);
  EXPECT_EQ(store.readInt("ALL_HOST_SCAN", -1), 1);
  for (const char* k : {"HOST_IP", "HOST_DESC", "HOST_ADAPTERNAME"}) EXPECT_FALSE(store.contains(k)) << k;

  auto third = Open();
  EXPECT_EQ(third->currentSelection()->text(), " （全てをスキャンモード）");
  EXPECT_EQ(third->hostList()->currentIndex(), 0);
}

TEST_F(DlgAppSettingTest, OnOkChecksTheNumbersInOrder) {
  struct C {
    const char* name;
    const char* send;
    const char* delay;
    const char* recv;
    const char* message;  // nullptr: accepted
    int send_, delay_, recv_;  // stored afterwards (-1: absent)
  };
  const std::vector<C> cases = {
      {"hex, octal and decimal", "0x10", "020", "120", nullptr, 16, 16, 120},
      {"bounds", "5", "100", "10", nullptr, 5, 100, 10},
      {"invalid characters", "12a", "20", "60", "［コマンドパケット送信回数］の指定に無効な文字があります。\n", -1, -1, -1},
      {"empty is out of range", "", "20", "60", "［コマンドパケット送信回数］の指定が無効または範囲外です。\n", -1, -1, -1},
      {"above the send range", "61", "20", "60", "［コマンドパケット送信回数］の指定が無効または範囲外です。\n", -1, -1, -1},
      {"trailing blank", "10 ", "20", "60", "［コマンドパケット送信回数］の指定に無効な文字があります。\n", -1, -1, -1},
      {"delay refused after send stored", "10", "15", "60", "［応答パケット受信ディレイ］の指定が無効または範囲外です。\n", 10, -1, -1},
      {"delay characters", "10", "2O", "60", "［応答パケット受信ディレイ］の指定に無効な文字があります。\n", 10, -1, -1},
      {"receive count last", "10", "20", "0x79", "［応答パケット受信回数］の指定が無効または範囲外です。\n", 10, 20, -1},
      {"receive count characters", "10", "20", "6-", "［応答パケット受信回数］の指定に無効な文字があります。\n", 10, 20, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    store.clear();
    msgs.clear();
    settings.APP_SETTING_OPTION1 = 1;
    auto d = Open();
    d->sendCountEdit()->setText(c.send);
    d->recvDelayEdit()->setText(c.delay);
    d->recvCountEdit()->setText(c.recv);
    d->okButton()->click();
    EXPECT_EQ(store.readInt("ALL_HOST_SCAN", -1), 1) << "the host is stored first";
    EXPECT_EQ(store.readInt("MaxSendCmdLoopCount", -1), c.send_);
    EXPECT_EQ(store.readInt("RecvDelay_msec", -1), c.delay_);
    EXPECT_EQ(store.readInt("MaxRecvLoopCount", -1), c.recv_);
    if (c.send_ >= 0) {
      EXPECT_EQ(settings.MaxSendCmdLoopCount, c.send_);
    }
    if (c.delay_ >= 0) {
      EXPECT_EQ(settings.RecvDelay_msec, c.delay_);
    }
    if (c.recv_ >= 0) {
      EXPECT_EQ(settings.MaxRecvLoopCount, c.recv_);
    }
    if (!c.message) {
      EXPECT_EQ(d->result(), QDialog::Accepted);
      EXPECT_EQ(msgs.count(), 0);
      continue;
    }
    EXPECT_TRUE(d->isVisible());
    ASSERT_EQ(msgs.count(), 1);
    EXPECT_EQ(msgs.last().text, QString::fromUtf8(c.message));
    EXPECT_EQ(msgs.last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(msgs.last().caption, lx47::ui::AppCaption());
  }
}

TEST_F(DlgAppSettingTest, HiddenDelayIsStillCheckedAndSelectedOnRefusal) {
  store.writeInt("RecvDelay_msec", 200);  // accepted at start-up, not here
  auto d = Open();
  EXPECT_EQ(settings.RecvDelay_msec, 200) << "opening reloads the in-memory value";
  EXPECT_TRUE(d->recvDelayEdit()->isHidden());
  EXPECT_EQ(d->recvDelayEdit()->text(), "200");
  d->okButton()->click();
  ASSERT_EQ(msgs.count(), 1);
  EXPECT_EQ(msgs.last().text, "［応答パケット受信ディレイ］の指定が無効または範囲外です。\n");
  EXPECT_TRUE(d->recvDelayEdit()->hasSelectedText());
  EXPECT_TRUE(d->isVisible());

  // Defaults fix it; nothing is stored before OK.
  d->defaultsButton()->click();
  EXPECT_EQ(store.readInt("RecvDelay_msec", -1), 200);
  d->okButton()->click();
  EXPECT_EQ(d->result(), QDialog::Accepted);
  EXPECT_EQ(store.readInt("RecvDelay_msec", -1), 20);
  EXPECT_EQ(store.readInt("MaxRecvLoopCount", -1), 60);
}

TEST_F(DlgAppSettingTest, RightDoubleClicksRevealTheReceiveFields) {
  auto d = Open();
  auto hidden = [&] {
    int n = 0;
    for (QWidget* w : d->receiveControls()) n += w->isHidden();
    return n;
  };
  EXPECT_EQ(hidden(), 6);
  auto dbl = [&](Qt::MouseButton b) {
    QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(5, 5), d->mapToGlobal(QPointF(5, 5)), b, b, Qt::NoModifier);
    QApplication::sendEvent(d.get(), &e);
  };
  dbl(Qt::LeftButton);
  for (int i = 1; i < DlgAppSetting::kRevealCount; ++i) dbl(Qt::RightButton);
  EXPECT_EQ(hidden(), 6);
  EXPECT_EQ(settings.APP_SETTING_OPTION1, 0);
  dbl(Qt::RightButton);
  EXPECT_EQ(hidden(), 0);
  EXPECT_EQ(settings.APP_SETTING_OPTION1, 1);
  EXPECT_FALSE(store.contains("APP_SETTING_OPTION1"));
  // Opened with the flag set, they show at once.
  EXPECT_EQ(Open()->receiveControls()[4]->isHidden(), false);
}

TEST_F(DlgAppSettingTest, CancelStoresNothing) {
  store.writeInt("MaxSendCmdLoopCount", 30);
  auto d = Open();
  EXPECT_EQ(settings.MaxSendCmdLoopCount, 30);
  d->hostList()->setCurrentIndex(1);
  d->sendCountEdit()->setText("40");
  d->cancelButton()->click();
  EXPECT_EQ(d->result(), QDialog::Rejected);
  EXPECT_EQ(store.keys(), QStringList{"MaxSendCmdLoopCount"});
  EXPECT_EQ(store.readInt("MaxSendCmdLoopCount", -1), 30);
}

TEST(ShowErrorInfo, Texts) {
  EXPECT_EQ(lx47::app::ErrorInfoText(121), "Time out  occured\n Win32 ErrorCode : 121");
  EXPECT_EQ(lx47::app::ErrorInfoText(987654), " Win32  ErrorCode：987654");
  const QString known = lx47::app::ErrorInfoText(2);
  EXPECT_TRUE(known.endsWith("\n Win32 ErrorCode : 2")) << known.toStdString();
  EXPECT_GT(known.indexOf('\n'), 0);

  RecordingMessages msgs;
  lx47::app::ShowErrorInfo(121);
  ASSERT_EQ(msgs.count(), 1);
  EXPECT_EQ(msgs.last().caption, "ErrorInfomation");
  EXPECT_EQ(msgs.last().icon, MsgIcon::Information);
  EXPECT_EQ(msgs.last().parent, nullptr);
}
