// The router dialog against lx47-sim: the device found by a search scans
// for its routers through the real runner, the dialog lists them sorted, and
// the chosen one's SSID goes into the Wi-Fi page; Escape aborts a scan.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <cstring>

#include "app/run_operation.h"
#include "pages/DlgLX47.h"
#include "pages/DlgSelectRouter.h"
#include "platform/net.h"
#include "protocol/device_table.h"
#include "protocol/discovery.h"
#include "protocol/result_codes.h"
#include "protocol/router_scan.h"
#include "protocol/session.h"
#include "recording_messages.h"
#include "support/sim_process.h"

namespace lx47::nettest {
namespace {

class RouterDialogNet : public ::testing::Test {
 protected:
  RouterDialogNet() {
    session.Settings = FastSettings();
    session.Settings.ALL_HOST_SCAN = 0;
    session.SelectedHostAddress = Ip("10.47.0.1");
  }
  void SetUp() override { ASSERT_TRUE(platform::net().startup()); }
  // The search that fills entry 0, as the search command runs it.
  void Search() {
    SearchResult found;
    const SearchRequest request{session.Settings, session.SelectedHostAddress, PadSearchPassword("")};
    ASSERT_EQ(DiscoverDevices(request, found, ExchangeContext{Io::Current(), session.Abort}), PR_OK);
    ASSERT_EQ(found.FoundCount, 1);
    session.Take(std::move(found));
  }

  // Entry 0 as a search through 10.47.0.1 leaves it for the sim's device 0.
  void KnownDevice() {
    std::vector<std::uint8_t> reply(kConfigBlockSize, 0);
    std::memcpy(reply.data(), "IAMI", 4);
    const MacAddress mac{0x02, 0x47, 0x00, 0x00, 0x00, 0x01};
    std::memcpy(reply.data() + 4, mac.data(), 6);
    session.DeviceTable[0].storeReply(reply, Ip("10.47.0.1"));
    session.DeviceCount = 1;
  }

  Session session;
  SimProcess sim;
  test::RecordingMessages messages;
};

TEST_F(RouterDialogNet, ScannedRoutersListedSortedAndChosen) {
  // A device answers the scan once it has listened for a while: after the
  // tool has bound its receiving socket, not at once.
  ASSERT_TRUE(sim.start({"--delay-ms", "2500", "--router", "zeta-net,a4:00:00:00:00:01,11,4,-60", "--router",
                         "Alpha-5G,a4:00:00:00:00:02,36,7,-45", "--router", "mid router,a4:00:00:00:00:03,6,3,-80"}));
  KnownDevice();
  pages::DlgLX47 page(session, app::PageRunner(session));
  page.LoadFromEntry(session.DeviceTable[0], 0);
  page.infraPassword()->setText(QStringLiteral("old router's password"));

  QStringList listed;
  QString mac, rssi;
  page.m_RunRouterDialog = [&](pages::DlgSelectRouter& dlg) {
    dlg.show();  // the scan runs as the dialog opens
    for (int i = 0; i < dlg.list()->count(); ++i) listed << dlg.list()->item(i)->text();
    dlg.list()->setCurrentRow(1);
    mac = dlg.macEdit()->text();
    rssi = dlg.rssiLabel()->text();
    dlg.okButton()->click();
    return dlg.result();
  };
  page.routerButton()->click();

  EXPECT_EQ(listed, (QStringList{QStringLiteral("Alpha-5G"), QStringLiteral("mid router"), QStringLiteral("zeta-net")}));
  EXPECT_EQ(mac, QStringLiteral("a4:00:00:00:00:03"));
  EXPECT_EQ(rssi, QStringLiteral("Rssi：-80"));
  EXPECT_EQ(page.infraSsid()->text(), QStringLiteral("mid router"));
  EXPECT_TRUE(page.infraPassword()->text().isEmpty());
  EXPECT_EQ(messages.count(), 0);
  EXPECT_FALSE(sim.logLinesWith({" RECV ", "cmd=WFSC", "src=10.47.0.1:"}).empty());
}

TEST_F(RouterDialogNet, EscapeAbortsTheScan) {
  ASSERT_TRUE(sim.start({}));
  Search();
  sim.stop();  // the device falls silent after the search
  // Escape to the runner once it is up; a guard ends a run that hangs.
  QTimer esc;
  QObject::connect(&esc, &QTimer::timeout, [&esc] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || dynamic_cast<pages::DlgSelectRouter*>(w)) return;  // only the runner takes it
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &key);
    esc.stop();
  });
  esc.start(300);
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [this] { session.Abort.RequestAbort(); });
  guard.start(60000);

  pages::DlgSelectRouter dlg(session, app::PageRunner(session));
  dlg.m_SettingIndex = 0;
  dlg.show();
  ASSERT_EQ(messages.count(), 2);
  EXPECT_EQ(messages.shown[0].text, QStringLiteral("処理を中断しました。"));
  EXPECT_EQ(messages.shown[1].text, QStringLiteral("WIFIルーターを見つけることができません"));
  EXPECT_EQ(dlg.list()->count(), 0);
  EXPECT_FALSE(dlg.okButton()->isEnabled());
  EXPECT_TRUE(guard.isActive());  // ended by Escape, not by the guard
}

}  // namespace
}  // namespace lx47::nettest
