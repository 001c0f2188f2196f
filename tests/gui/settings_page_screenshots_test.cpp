// Screenshots of the Network, Serial and Option pages in the main window
// with a simulated device loaded, for docs/screenshots. Runs only when
// LX47_SHOT_DIR names the folder to write to.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <cstdlib>

#include "app/LX47ConfigToolDlg.h"
#include "app/page_factory.h"
#include "pages/settings_page.h"
#include "protocol/settings.h"
#include "recording_messages.h"
#include "sample_device.h"
#include "ui/memory_settings_store.h"

using namespace lx47;

TEST(SettingsPageScreenshots, NetworkSerialOption) {
  const char* dir = std::getenv("LX47_SHOT_DIR");
  if (!dir) GTEST_SKIP() << "LX47_SHOT_DIR not set";
  ui::MemorySettingsStore store;
  ui::ScopedSettingsStore scoped{&store};
  test::RecordingMessages rec;
  DeviceTable[0] = test::SimulatedDevice(1);
  ConfigBlock b = DeviceTable[0].block();
  b.set(field::Search_Password, "lx47");
  b.set(field::Server_Domain_Name, "server.example.jp");
  DeviceCount = 1;

  const auto shoot = [&](bool extended, int tab, const char* name) {
    ExtendedSettingsShown = extended ? 1 : 0;
    app::LX47ConfigToolDlg dlg;
    dlg.show();
    dlg.FillDeviceList();
    dlg.EnableMainControls(true);
    dlg.SelectRow(0);
    dlg.tabs()->setCurrentIndex(tab);
    QApplication::processEvents();
    const QString path = QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromLatin1(name));
    EXPECT_TRUE(dlg.grab().save(path)) << path.toStdString();
  };
  shoot(false, app::kNetworkPage, "page_network.png");
  shoot(true, app::kNetworkPage, "page_network_extended.png");
  shoot(false, app::kSerialPage, "page_serial.png");
  shoot(true, app::kOptionPage, "page_option.png");

  ExtendedSettingsShown = 0;
  EmptyDeviceTable();
  DeviceCount = 0;
}
