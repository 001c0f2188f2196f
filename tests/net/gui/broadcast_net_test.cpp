// The real main window against a device that answers every request by
// broadcast (lx47-sim --reply-to broadcast), as a device whose own address
// lies outside the PC's subnet may: search, write, router scan, firmware
// update and factory reset all succeed, and no answer went to the tool's
// own address.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>
#include <optional>

#include "app/DlgFactoryReset.h"
#include "app/DlgPassword.h"
#include "app/LX47ConfigToolDlg.h"
#include "app/page_factory.h"
#include "controls/CStaticEx.h"
#include "modal.h"
#include "pages/DlgExtraSettings.h"
#include "pages/DlgLX47.h"
#include "pages/DlgSelectRouter.h"
#include "platform/net.h"
#include "protocol/device_table.h"
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

using test::ModalWatch;

using BroadcastNet = WindowNet;

TEST_F(BroadcastNet, EveryCommandOfTheMainWindowSucceeds) {
  ASSERT_TRUE(sim.start({"--devices", "1", "--wifi-mode", "0", "--reply-to", "broadcast", "--firmware", "1.2.3",
                         "--firmware-after", "1.3.0"}));
  // The requests go to the device's own address; only the answers are broadcast.
  store.writeInt("USE_BC_CFG", 0);
  settings.USE_BC_CFG = 0;

  // Search, through every host address.
  ModalWatch<app::DlgPassword> ask([](app::DlgPassword& d) {
    if (d.oneDeviceBox()->isChecked()) d.oneDeviceBox()->click();
    d.okButton()->click();
  });
  win->searchButton()->click();
  ASSERT_TRUE(ask.seen);
  ASSERT_EQ(win->deviceList()->rowCount(), 1) << Texts().join(" | ").toStdString();
  EXPECT_EQ(IpText(DeviceTable[0].Host_IP), "10.47.0.1");
  EXPECT_EQ(messages.count(), 0);

  // Write.
  auto& special = *dynamic_cast<pages::DlgSpecial*>(win->page(app::kSpecialPage));
  special.leaseEdit()->setText(QStringLiteral("4321"));
  win->writeButton()->click();
  ASSERT_EQ(Texts(), QStringList{ui::Str(TextId::SettingsWritten)});
  EXPECT_EQ(sim.block(0)[106] + 256 * sim.block(0)[107], 4321);
  messages.clear();

  // Router scan, from the Wi-Fi page's button.
  auto& wifi = *dynamic_cast<pages::DlgLX47*>(win->page(app::kWifiPage));
  QStringList routers;
  wifi.m_RunRouterDialog = [&](pages::DlgSelectRouter& dlg) {
    dlg.show();  // the scan runs as the dialog opens
    for (int i = 0; i < dlg.list()->count(); ++i) routers << dlg.list()->item(i)->text();
    dlg.list()->setCurrentRow(0);
    dlg.okButton()->click();
    return dlg.result();
  };
  wifi.routerButton()->click();
  ASSERT_EQ(routers.size(), 3) << Texts().join(" | ").toStdString();
  EXPECT_EQ(wifi.infraSsid()->text(), routers[0]);
  EXPECT_EQ(messages.count(), 0);

  // Firmware update, and the search without its dialog that follows it.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("LX47_1_3_0.bin"));
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("LX47") + QByteArray(12000, '\x3C'));
  }
  messages.files.push_back(path);
  win->firmwareButton()->click();
  ASSERT_GE(messages.count(), 2);
  EXPECT_EQ(messages.shown[1].text, ui::Str(TextId::FirmwareUpdated));
  ASSERT_EQ(win->deviceList()->rowCount(), 1);
  EXPECT_EQ(win->versionLabel()->text(), QStringLiteral("1.3.0"));
  messages.clear();

  // Factory reset of the shown device.
  messages.answer(ui::MsgResult::Yes);
  ModalWatch<app::DlgFactoryReset> reset([](app::DlgFactoryReset& d) { d.okButton()->click(); });
  win->OnFactoryReset();
  ASSERT_TRUE(reset.seen);
  ASSERT_EQ(messages.count(), 2);
  EXPECT_EQ(messages.last().text, ui::Str(TextId::FactoryResetDone) + ui::Str(TextId::SearchAgain));
  for (int i = 0; i < 40 && sim.state(0)["resets"] != "1"; ++i) QThread::msleep(50);
  EXPECT_EQ(sim.state(0)["resets"], "1");

  // Every answer went by broadcast.
  for (const char* cmd : {"cmd=IAMI", "cmd=SETI", "cmd=WFSR", "cmd=REOK"})
    EXPECT_FALSE(sim.logLinesWith({" SEND ", cmd, "dst=255.255.255.255:"}).empty()) << cmd;
  EXPECT_TRUE(sim.logLinesWith({" SEND ", "dst=10.4"}).empty());
}

}  // namespace
}  // namespace lx47::nettest
