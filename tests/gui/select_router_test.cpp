// The router selection dialog: the scan on opening, the sorted list with its
// record indexes, the details, OK only with a highlighted line, every
// message; then the real runner over the fake network.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/run_operation.h"
#include "page_support.h"
#include "pages/DlgLX47.h"
#include "pages/DlgSelectRouter.h"
#include "protocol/result_codes.h"
#include "protocol/session.h"
#include "protocol_fixture.h"
#include "recording_messages.h"
#include "ui/strings.h"

using namespace lx47;
using pages::DlgSelectRouter;
using pages::RunnerOutcome;
using pages::RunnerRequest;

namespace {

QStringList Lines(const QListWidget* list) {
  QStringList l;
  for (int i = 0; i < list->count(); ++i) l << list->item(i)->text();
  return l;
}

// A runner that fills the router table as a finished scan would.
class SelectRouter : public ::testing::Test {
 protected:
  SelectRouter() {
    runner = [this](QWidget*, const RunnerRequest& r) {
      requests.push_back(r);
      for (std::size_t i = 0; i < routers.size(); ++i) session.RouterScanTable[i] = routers[i];
      session.RouterScanCount = static_cast<std::uint8_t>(routers.size());
      return outcome;
    };
  }

  void Open(DlgSelectRouter& dlg, int index = 2) {
    dlg.m_SettingIndex = index;
    dlg.show();  // the scan runs as the dialog opens
  }

  test::RecordingMessages messages;
  Session session;
  std::vector<RouterScanRecord> routers;
  RunnerOutcome outcome{true, PR_OK};
  std::vector<RunnerRequest> requests;
  pages::OperationRunner runner;
};

// Sorted as a list box sorts, letter case aside; equal SSIDs stay two lines.
TEST_F(SelectRouter, ListsSortedWithRecordIndexesAndShowsDetails) {
  std::string full(32, 'Z');
  routers = {test::Router("beta", 6, 3, 0xC4, 0x0A), test::Router("Alpha", 11, 5, 0x05, 0x0B),
             test::Router("beta", 1, 7, 0xB0, 0x0C), test::Router(full, 13, 0, 0x80, 0x0D),
             test::Router("caf\xE9", 3, 2, 0xFF, 0x0E), test::Router("Charlie", 3, 2, 0xFF, 0x0F)};
  DlgSelectRouter dlg(session, runner);
  Open(dlg);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].kind, OP_ROUTER_SCAN);
  EXPECT_EQ(requests[0].target, &session.DeviceTable[2]);
  EXPECT_EQ(requests[0].title, QStringLiteral("LX47 Wi-Fi ルータースキャン中"));
  EXPECT_EQ(requests[0].message, QStringLiteral("しばらくお待ちください...\n\n（[ESC]キーを押すと処理を中断します）"));
  EXPECT_EQ(messages.count(), 0);
  EXPECT_EQ(messages.pauses, std::vector<int>{500});

  EXPECT_EQ(Lines(dlg.list()), (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta"), QStringLiteral("beta"),
                                             QString::fromUtf8("caf\u00e9"), QStringLiteral("Charlie"),
                                             QString::fromStdString(full)}));
  EXPECT_FALSE(dlg.okButton()->isEnabled());
  dlg.okButton()->click();  // nothing highlighted: stays open
  EXPECT_TRUE(dlg.isVisible());

  struct Detail { int line; int record; const char* channel; const char* security; const char* rssi; const char* mac; };
  const Detail details[] = {
      {0, 1, "Wi-Fi チャネル：11", "セキュリティーモード：unknown (5)", "Rssi：5", "a4:b1:c2:de:ef:0b"},
      {1, 0, "Wi-Fi チャネル：6", "セキュリティーモード：WPA2", "Rssi：-60", "a4:b1:c2:de:ef:0a"},
      {2, 2, "Wi-Fi チャネル：1", "セキュリティーモード：WPA2/WPA3", "Rssi：-80", "a4:b1:c2:de:ef:0c"},
      {5, 3, "Wi-Fi チャネル：13", "セキュリティーモード：open", "Rssi：-128", "a4:b1:c2:de:ef:0d"},
  };
  for (const Detail& d : details) {
    dlg.list()->setCurrentRow(d.line);
    EXPECT_EQ(dlg.list()->item(d.line)->data(Qt::UserRole).toInt(), d.record);
    EXPECT_EQ(dlg.channelLabel()->text(), QString::fromUtf8(d.channel)) << d.line;
    EXPECT_EQ(dlg.securityLabel()->text(), QString::fromUtf8(d.security)) << d.line;
    EXPECT_EQ(dlg.rssiLabel()->text(), QString::fromUtf8(d.rssi)) << d.line;
    EXPECT_EQ(dlg.macEdit()->text(), QString::fromLatin1(d.mac)) << d.line;
    EXPECT_EQ(dlg.ssidEdit()->text(), dlg.list()->item(d.line)->text());
    EXPECT_TRUE(dlg.okButton()->isEnabled());
  }
  dlg.list()->setCurrentRow(2);
  dlg.okButton()->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.m_SelectedRecord, 2);
}

// A rescan replaces the list but leaves OK as it was: still enabled after a
// highlighted line, though pressing it does nothing until a line of the new
// list is highlighted.
TEST_F(SelectRouter, RescanReplacesTheListAndLeavesOk) {
  routers = {test::Router("one", 1, 0, 0, 1), test::Router("two", 2, 0, 0, 2)};
  DlgSelectRouter dlg(session, runner);
  Open(dlg);
  dlg.list()->setCurrentRow(0);
  ASSERT_TRUE(dlg.okButton()->isEnabled());
  routers = {test::Router("three", 3, 0, 0, 3)};
  dlg.rescanButton()->click();
  EXPECT_EQ(Lines(dlg.list()), QStringList{QStringLiteral("three")});
  EXPECT_TRUE(dlg.list()->selectedItems().isEmpty());
  EXPECT_TRUE(dlg.okButton()->isEnabled());
  dlg.okButton()->click();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.m_SelectedRecord, -1);
  // A rescan that finds nothing turns it off.
  routers.clear();
  dlg.rescanButton()->click();
  EXPECT_FALSE(dlg.okButton()->isEnabled());
}

// The first scan belongs to opening the dialog: its progress window and its
// messages come while the dialog is not yet on screen, then the dialog
// appears with the list filled.
TEST_F(SelectRouter, FirstScanRunsBeforeTheDialogAppears) {
  routers = {test::Router("one", 1, 0, 0, 1)};
  std::vector<bool> visibleDuringScan;
  DlgSelectRouter dlg(session, [&](QWidget* parent, const RunnerRequest& r) {
    visibleDuringScan.push_back(parent->isVisible());
    return runner(parent, r);
  });
  messages.onShow = [&](const ui::MessageRequest&) { visibleDuringScan.push_back(dlg.isVisible()); };
  Open(dlg);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.list()->count(), 1);
  EXPECT_EQ(visibleDuringScan, std::vector<bool>{false});
  // A scan that finds nothing: its message, too, comes before the dialog.
  routers.clear();
  visibleDuringScan.clear();
  DlgSelectRouter empty(session, [&](QWidget* parent, const RunnerRequest& r) {
    visibleDuringScan.push_back(parent->isVisible());
    return runner(parent, r);
  });
  messages.onShow = [&](const ui::MessageRequest&) { visibleDuringScan.push_back(empty.isVisible()); };
  Open(empty);
  EXPECT_EQ(visibleDuringScan, (std::vector<bool>{false, false}));
  // Rescans run with the dialog on screen.
  visibleDuringScan.clear();
  routers = {test::Router("two", 2, 0, 0, 2)};
  empty.rescanButton()->click();
  EXPECT_EQ(visibleDuringScan, std::vector<bool>{true});
  messages.onShow = nullptr;
}

// Every failure shows its message, then (the table being empty) that no
// router was found; the list stays empty and OK off.
TEST_F(SelectRouter, FailedScansAndNoRouters) {
  struct Case { RunnerOutcome outcome; const char* first; };
  const Case cases[] = {
      {{true, PR_ABORTED}, "処理を中断しました。"},
      {{true, PR_NO_REPLY}, "デバイスからの応答が確認できません。"},
      {{true, PR_SEND}, "設定情報の送信に失敗しました。\n\nコマンドの送信に失敗しました。"},
      {{true, PR_WORKER_NOT_STARTED}, "設定情報の送信に失敗しました。\n\nコマンドの送信に失敗しました。"},
      {{false, PR_OK}, "設定情報の送信に失敗しました。\n\nコマンドの送信に失敗しました。"},
  };
  for (const Case& c : cases) {
    messages.clear();
    outcome = c.outcome;
    DlgSelectRouter dlg(session, runner);
    Open(dlg);
    ASSERT_EQ(messages.count(), 2) << c.first;
    EXPECT_EQ(messages.shown[0].text, QString::fromUtf8(c.first));
    EXPECT_EQ(messages.shown[0].icon, ui::MsgIcon::Exclamation);
    EXPECT_EQ(messages.shown[0].caption, ui::AppCaption());
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("WIFIルーターを見つけることができません"));
    EXPECT_EQ(messages.pauses, std::vector<int>{1000});
    EXPECT_EQ(dlg.list()->count(), 0);
    EXPECT_FALSE(dlg.okButton()->isEnabled());
  }
  // A scan that worked but heard nothing.
  messages.clear();
  outcome = {true, PR_OK};
  DlgSelectRouter dlg(session, runner);
  Open(dlg);
  ASSERT_EQ(messages.count(), 1);
  EXPECT_EQ(messages.last().text, QStringLiteral("WIFIルーターを見つけることができません"));
  EXPECT_EQ(messages.pauses, std::vector<int>{500});
}

TEST_F(SelectRouter, NoDeviceIndexScansNothing) {
  DlgSelectRouter dlg(session, runner);
  Open(dlg, -1);
  EXPECT_TRUE(requests.empty());
  ASSERT_EQ(messages.count(), 1);
  EXPECT_EQ(messages.last().text, QStringLiteral(" m_SettingIndex  NG!!!\n"));
  EXPECT_FALSE(dlg.okButton()->isEnabled());
}

// The real runner and worker over the fake network: the device's routers
// land in the list, and the chosen one's SSID in the Wi-Fi page.
class RouterScanThroughRunner : public test::ProtocolTest {
 protected:
  RouterScanThroughRunner() {
    settings.MaxSendCmdLoopCount = 2;
    settings.MaxRecvLoopCount = 3;
    session.DeviceTable[1] = test::EntryWithBlock(1);
    session.DeviceCount = 2;
  }

  static test::Bytes Reply(const MacAddress& mac, const std::vector<RouterScanRecord>& records) {
    test::Bytes r{'W', 'F', 'S', 'R'};
    r.insert(r.end(), mac.begin(), mac.end());
    r.push_back(0);
    r.push_back(static_cast<std::uint8_t>(records.size()));
    for (const auto& rec : records) r.insert(r.end(), rec.bytes.begin(), rec.bytes.end());
    return r;
  }

  test::RecordingMessages messages;
};

TEST_F(RouterScanThroughRunner, ScannedRoutersListedAndChosen) {
  const std::vector<RouterScanRecord> records = {test::Router("sim-router-c", 11, 4, 0xC4, 3),
                                                 test::Router("sim-router-a", 1, 3, 0xB5, 1),
                                                 test::Router("sim-router-b", 6, 7, 0xD0, 2)};
  net.onSend = [this, records](const test::Datagram& d) {
    net.replyTo(d, Reply(test::Mac(9), {}));  // another device: ignored
    net.replyTo(d, Reply(test::Mac(1), records));
  };
  pages::DlgLX47 page(session, app::PageRunner(session));
  page.LoadFromEntry(session.DeviceTable[1], 1);
  page.infraPassword()->setText(QStringLiteral("for another router"));
  // The page runs the dialog itself (exec); once the scan has filled the
  // list, the "user" highlights a line and presses OK.
  QStringList listed;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    auto* dlg = dynamic_cast<DlgSelectRouter*>(QApplication::activeModalWidget());
    if (!dlg || dlg->list()->count() == 0) return;
    user.stop();
    listed = Lines(dlg->list());
    dlg->list()->setCurrentRow(1);
    dlg->okButton()->click();
  });
  user.start(20);
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] {
    ADD_FAILURE() << "the router dialog did not close";
    if (QWidget* w = QApplication::activeModalWidget()) w->close();
  });
  guard.start(15000);
  page.routerButton()->click();
  EXPECT_EQ(listed, (QStringList{QStringLiteral("sim-router-a"), QStringLiteral("sim-router-b"),
                                 QStringLiteral("sim-router-c")}));
  EXPECT_EQ(page.infraSsid()->text(), QStringLiteral("sim-router-b"));
  EXPECT_TRUE(page.infraPassword()->text().isEmpty());
  EXPECT_EQ(messages.count(), 0);
  ASSERT_FALSE(net.sent().empty());
  EXPECT_EQ(net.sent()[0].bytes[0], 'W');
  EXPECT_EQ(net.sent()[0].from.addr, test::Ip("10.47.0.1"));
}

// Escape in the runner while the device stays silent: the abort message,
// then no router found.
TEST_F(RouterScanThroughRunner, EscapeAbortsTheScan) {
  std::atomic<bool> escapeSent{false};
  net.beforeRecv = [this, &escapeSent](int) {
    if (escapeSent.exchange(true)) return;
    QMetaObject::invokeMethod(qApp, [] {
      if (QWidget* w = QApplication::activeModalWidget()) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(w, &esc);
      }
    }, Qt::QueuedConnection);
    // Give the window its Escape before the next attempt (bounded).
    for (int i = 0; i < 200 && !session.Abort.IsAbortRequested(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  };
  DlgSelectRouter dlg(session, app::PageRunner(session));
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [this] { session.Abort.RequestAbort(); });
  guard.start(15000);
  dlg.m_SettingIndex = 1;
  dlg.show();
  ASSERT_EQ(messages.count(), 2);
  EXPECT_EQ(messages.shown[0].text, QStringLiteral("処理を中断しました。"));
  EXPECT_EQ(messages.shown[1].text, QStringLiteral("WIFIルーターを見つけることができません"));
  EXPECT_EQ(dlg.list()->count(), 0);
}

}  // namespace
