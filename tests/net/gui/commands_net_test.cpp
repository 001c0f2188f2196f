// The write, factory reset and firmware update commands of the real main
// window against lx47-sim over the veth links: what the simulated device
// holds afterwards, and what went over the wire.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QDir>
#include <cstdlib>
#include <QThread>
#include <optional>

#include "app/DlgFactoryReset.h"
#include "app/DlgPassword.h"
#include "app/DlgProcess.h"
#include "app/LX47ConfigToolDlg.h"
#include "app/page_factory.h"
#include "controls/CMACAddrEdit.h"
#include "controls/CStaticEx.h"
#include "modal.h"
#include "pages/DlgLX47.h"
#include "pages/DlgNetwork.h"
#include "pages/DlgOption.h"
#include "pages/DlgSerial.h"
#include "pages/DlgExtraSettings.h"
#include "platform/net.h"
#include "protocol/device_table.h"
#include "protocol/result_codes.h"
#include "protocol/session.h"
#include "recording_messages.h"
#include "support/sim_process.h"
#include "window_net_fixture.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

using lx47::texts::TextId;

namespace lx47::nettest {
namespace {

using app::DlgPassword;
using test::ModalWatch;

class CommandsNet : public WindowNet {
 protected:
  void Search() {
    ModalWatch<DlgPassword> watch([&](DlgPassword& d) {
      d.passwordEdit()->setText(QString());
      if (d.oneDeviceBox()->isChecked()) d.oneDeviceBox()->click();
      d.okButton()->click();
    });
    win->searchButton()->click();
    ASSERT_TRUE(watch.seen);
    ASSERT_EQ(win->deviceList()->rowCount(), 1);
    ASSERT_EQ(win->m_CurrentIndex, 0);
    messages.clear();
  }
  pages::DlgSerial& serial() { return *dynamic_cast<pages::DlgSerial*>(win->page(app::kSerialPage)); }
  pages::DlgSpecial& special() { return *dynamic_cast<pages::DlgSpecial*>(win->page(app::kSpecialPage)); }
  std::vector<std::string> SetsTo(const std::string& dst) const {
    return sim.logLinesWith({" RECV ", "cmd=SETS", "dst=" + dst});
  }

};

TEST_F(CommandsNet, WriteChangesExactlyTheEditedBytesAndTheStoreDecidesTheDestination) {
  ASSERT_TRUE(sim.start({"--devices", "1", "--wifi-mode", "0"}));
  Search();
  const std::vector<std::uint8_t> before = sim.block(0);
  ASSERT_GE(before.size(), kConfigBlockSize);

  // The baud rate and the lease time, as a user would pick and type them.
  QComboBox* baud = serial().m_Baud;
  const int pick = baud->currentIndex() == 2 ? 4 : 2;
  baud->setCurrentIndex(pick);
  const std::uint16_t lease = before[106] + 256 * before[107] == 777 ? 778 : 777;
  special().leaseEdit()->setText(QString::number(lease));

  store.writeInt("USE_BC_CFG", 0);  // unicast first, though start-up read broadcast
  settings.USE_BC_CFG = 1;
  win->writeButton()->click();
  ASSERT_EQ(Texts(), QStringList{ui::Str(TextId::SettingsWritten)});

  const std::vector<std::uint8_t> after = sim.block(0);
  ASSERT_EQ(after.size(), before.size());
  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < after.size(); ++i)
    if (after[i] != before[i]) changed.push_back(i);
  std::vector<std::size_t> expected{field::Serial_Baud_Rate.offset};
  if ((lease & 0xFF) != before[106]) expected.push_back(106);
  if ((lease >> 8) != before[107]) expected.push_back(107);
  EXPECT_EQ(changed, expected);
  EXPECT_EQ(after[field::Serial_Baud_Rate.offset], pagerules::BaudCodeTable[static_cast<std::size_t>(pick)]);
  EXPECT_EQ(after[106] + 256 * after[107], lease);
  // The write went to the device's own address.
  EXPECT_GE(SetsTo("10.47.0.100").size(), 1u);
  EXPECT_TRUE(SetsTo("any").empty());
  // The pages show what the device now holds: nothing unsaved.
  EXPECT_FALSE(win->HasUnsavedChanges(0));

  // Broadcast from the store: the next write goes out to everyone.
  store.writeInt("USE_BC_CFG", 1);
  messages.clear();
  special().leaseEdit()->setText(QString::number(lease + 1));
  win->writeButton()->click();
  ASSERT_EQ(Texts(), QStringList{ui::Str(TextId::SettingsWritten)});
  EXPECT_GE(SetsTo("any").size(), 1u);  // a broadcast reaches no device address of its own
  EXPECT_EQ(sim.block(0)[106] + 256 * sim.block(0)[107], lease + 1);
}

// The command line sends the bytes the window sends: one change on each of
// the five pages, made once through the window's controls and once with
// lx47ctl set, each on the same fresh device.
TEST_F(CommandsNet, TheCommandLineWritesTheBytesTheWindowWrites) {
  const char* program = std::getenv("LX47_CTL");
  if (!program) GTEST_SKIP() << "LX47_CTL names no lx47ctl (the Linux real-socket run sets it)";
  const std::vector<std::string> device{"--devices", "1", "--wifi-mode", "0"};
  ASSERT_TRUE(sim.start(device));
  const std::vector<std::uint8_t> fresh = sim.block(0);
  Search();
  dynamic_cast<pages::DlgNetwork*>(win->page(app::kNetworkPage))->m_Port->setText("8080");  // as once unlocked
  serial().m_Baud->setCurrentIndex(7);  // 115200
  dynamic_cast<pages::DlgOption*>(win->page(app::kOptionPage))->m_Keepalive->setText("45");
  dynamic_cast<pages::DlgLX47*>(win->page(app::kWifiPage))->infraSsid()->setText(QStringLiteral(" 会社 "));
  special().leaseEdit()->setText("600");
  win->writeButton()->click();
  ASSERT_EQ(Texts(), QStringList{ui::Str(TextId::SettingsWritten)});
  const std::vector<std::uint8_t> byWindow = sim.block(0);
  ASSERT_NE(byWindow, fresh);

  sim.stop();
  ASSERT_TRUE(sim.start(device));
  ASSERT_EQ(sim.block(0), fresh);
  const std::string runs = ::testing::TempDir() + "/lx47-ctl-same-bytes";
  QDir().mkpath(QString::fromStdString(runs + "/config/Orvane Systems"));
  QFile ini(QString::fromStdString(runs + "/config/Orvane Systems/lx47-config.ini"));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write("[Setting]\nMaxSendCmdLoopCount=2\nMaxRecvLoopCount=10\nRecvDelay_msec=20\n");
  ini.close();
  const std::string command = std::string("XDG_CONFIG_HOME='") + runs + "/config' '" + program +
                              "' set 02:47:00:00:00:01 Local_Port=8080 Serial_Baud_Rate=115200 "
                              "TCP_Keepalive_Interval=45 'Wifi_Infra_SSID= 会社 ' DHCP_Lease_Time=600 >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(sim.block(0), byWindow);
}

TEST_F(CommandsNet, ResetPutsTheDeviceBackToItsFactorySettings) {
  ASSERT_TRUE(sim.start({"--devices", "1", "--wifi-mode", "0"}));
  // The write reads the store, the reset only start-up's copy: both unicast.
  store.writeInt("USE_BC_CFG", 0);
  settings.USE_BC_CFG = 0;
  Search();
  const std::vector<std::uint8_t> factory = sim.block(0);
  special().leaseEdit()->setText(QStringLiteral("4321"));
  win->writeButton()->click();
  ASSERT_EQ(Texts(), QStringList{ui::Str(TextId::SettingsWritten)});
  ASSERT_NE(sim.block(0), factory);

  messages.clear();
  messages.answer(ui::MsgResult::Yes);  // the confirmation
  QString inDialog;
  ModalWatch<app::DlgFactoryReset> watch([&](app::DlgFactoryReset& d) {
    inDialog = d.macEdit()->text();
    d.okButton()->click();
  });
  win->OnFactoryReset();
  ASSERT_TRUE(watch.seen);
  EXPECT_EQ(inDialog, QStringLiteral("02:47:00:00:00:01"));
  ASSERT_EQ(messages.count(), 2);
  EXPECT_EQ(messages.last().text, ui::Str(TextId::FactoryResetDone) + ui::Str(TextId::SearchAgain));
  EXPECT_EQ(win->deviceList()->rowCount(), 0);

  auto state = sim.state(0);
  EXPECT_GE(std::atoi(state["resets"].c_str()), 1);
  EXPECT_EQ(state["erase_mode"], "2");
  EXPECT_EQ(sim.block(0), factory);
  // Sent to the device's own address: it was the shown device.
  EXPECT_GE(sim.logLinesWith({" RECV ", "cmd=REST", "dst=10.47.0.100"}).size(), 1u);
}

TEST_F(CommandsNet, FirmwareFromAFileReachesTheDeviceWithFullProgressAndTheListShowsTheNewVersion) {
  ASSERT_TRUE(sim.start({"--devices", "1", "--wifi-mode", "0", "--firmware", "1.2.3", "--firmware-after", "1.3.0"}));
  Search();
  store.writeInt("OneDevice", 1);

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("LX47_1_3_0.bin"));
  QByteArray image(12000, '\0');
  for (int i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 13 + 5);
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("LX47") + image);
  }
  messages.files.push_back(path);

  // What the runner showed while it ran.
  QStringList percents;
  QTimer sample;
  sample.setInterval(20);
  QObject::connect(&sample, &QTimer::timeout, [&] {
    if (auto* d = dynamic_cast<app::DlgProcess*>(QApplication::activeModalWidget());
        d && d->m_Kind == OP_FIRMWARE && (percents.isEmpty() || percents.back() != d->percentLabel()->text()))
      percents << d->percentLabel()->text();
  });
  sample.start();
  win->firmwareButton()->click();
  sample.stop();

  ASSERT_GE(messages.count(), 2);
  EXPECT_EQ(messages.shown[1].text, ui::Str(TextId::FirmwareUpdated));
  ASSERT_FALSE(percents.isEmpty());
  EXPECT_EQ(percents.back(), QStringLiteral("100.0 %")) << percents.join(" | ").toStdString();

  for (int i = 0; i < 100 && sim.state(0)["image_complete"] != "1"; ++i) QThread::msleep(50);
  const std::vector<std::uint8_t> got = sim.image(0);
  ASSERT_EQ(got.size(), std::size_t(image.size()) + 4);
  EXPECT_EQ(got[2], 12000 >> 8);
  EXPECT_EQ(got[3], 12000 & 0xFF);
  EXPECT_TRUE(std::equal(got.begin() + 4, got.end(), reinterpret_cast<const std::uint8_t*>(image.constData())));

  // The follow-up search ran without its dialog and lists the device anew.
  ASSERT_EQ(win->deviceList()->rowCount(), 1);
  EXPECT_EQ(win->versionLabel()->text(), QStringLiteral("1.3.0"));
  EXPECT_EQ(messages.count(), 2);
}

}  // namespace
}  // namespace lx47::nettest
