// Screenshots of the Wi-Fi page, the router dialog and the Special page for
// docs/screenshots. Runs only when LX47_SHOT_DIR names the folder to write to.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <cstdlib>

#include "page_support.h"
#include "pages/DlgLX47.h"
#include "pages/DlgSelectRouter.h"
#include "pages/DlgExtraSettings.h"
#include "protocol/result_codes.h"
#include "recording_messages.h"

using namespace lx47;

namespace {

QString ShotDir() {
  const char* d = std::getenv("LX47_SHOT_DIR");
  return d ? QString::fromLocal8Bit(d) : QString();
}

void Save(QWidget& w, const char* name) {
  QApplication::processEvents();
  const QString path = QDir(ShotDir()).filePath(QString::fromLatin1(name));
  ASSERT_TRUE(w.grab().save(path)) << path.toStdString();
}

DeviceEntry SampleEntry() {
  DeviceEntry e = test::EntryWithBlock(1);
  ConfigBlock b = e.block();
  b.set(field::Wifi_Mode, 0);
  b.set(field::Wifi_Security, 4);
  b.set(field::Wifi_Channel, 6);
  b.set(field::Wifi_Infra_SSID, test::Ansi("office-router-5G"));
  b.set(field::Wifi_Infra_Password, "router-pass-123");
  b.set(field::Wifi_AP_SSID, test::Ansi("LX47-AP-ネットワーク"));
  b.set(field::Wifi_AP_Password, "ap-password");
  b.set(field::Wifi_AP_Security, 3);
  b.set(field::Wifi_AP_Channel, 11);
  b.set(field::DHCP_Lease_Time, 0);
  b.set(field::Disconnect_Judge_Time, 120);
  b.set(field::Msg_Connect_To_UART, test::Ansi("接続しました"));
  b.set(field::Msg_Connect_To_Client, "WELCOME LX47");
  return e;
}

TEST(PageScreenshots, WifiRouterAndSpecial) {
  if (ShotDir().isEmpty()) GTEST_SKIP() << "LX47_SHOT_DIR not set";
  test::RecordingMessages messages;
  DeviceEntry entry = SampleEntry();

  pages::DlgLX47 wifi(pages::OperationRunner{});
  wifi.resize(410, 492);
  wifi.LoadFromEntry(entry, 0);
  wifi.show();
  Save(wifi, "page_wifi.png");

  const std::vector<RouterScanRecord> routers = {
      test::Router("office-router-5G", 36, 7, 0xC4, 0x11), test::Router("Guest-WiFi", 1, 0, 0xB0, 0x22),
      test::Router("LX47-test-ap", 11, 4, 0xD8, 0x33), test::Router("aterm-1f2e3d", 6, 3, 0xA6, 0x44),
      test::Router("Buffalo-G-8A0C", 13, 4, 0xBA, 0x55)};
  pages::DlgSelectRouter dlg([&routers](QWidget*, const pages::RunnerRequest&) {
    for (std::size_t i = 0; i < routers.size(); ++i) RouterScanTable[i] = routers[i];
    RouterScanCount = static_cast<std::uint8_t>(routers.size());
    return pages::RunnerOutcome{true, PR_OK};
  });
  dlg.m_SettingIndex = 0;
  dlg.show();
  dlg.list()->setCurrentRow(3);
  Save(dlg, "select_router.png");
  dlg.reject();
  RouterScanCount = 0;

  pages::DlgSpecial special;
  special.resize(410, 492);
  special.LoadFromEntry(entry, 0);
  special.show();
  for (int i = 0; i <= pages::DlgSpecial::kServiceClickThreshold; ++i) {
    QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(2, 2), QPointF(2, 2), Qt::RightButton, Qt::RightButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&special, &e);
  }
  Save(special, "page_extra_settings.png");
}

}  // namespace
