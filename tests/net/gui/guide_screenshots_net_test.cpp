// Screenshots for the user's guide (docs/guide-ja.md) that no other test
// takes, from the real main window searching lx47-sim over the veth links,
// so that they show what the tool shows. Runs only when LX47_SCREENSHOT_DIR
// names the folder:
//   LX47_SCREENSHOT_DIR=$PWD/docs/screenshots scripts/netns/run-net-tests.sh \
//     build/tests/lx47_net_gui_tests build/sim/lx47-sim --gtest_filter='GuideShots.*'
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <cstdlib>

#include "app/DlgPassword.h"
#include "app/DlgProcess.h"
#include "app/LX47ConfigToolDlg.h"
#include "modal.h"
#include "platform/net.h"
#include "protocol/device_table.h"
#include "recording_messages.h"
#include "support/sim_process.h"
#include "ui/memory_settings_store.h"

namespace lx47::nettest {
namespace {

using test::ModalWatch;

QString ShotDir() {
  const char* dir = std::getenv("LX47_SCREENSHOT_DIR");
  return dir ? QString::fromLocal8Bit(dir) : QString();
}

bool Save(QWidget& w, const char* name) {
  QApplication::processEvents();
  return w.grab().save(QDir(ShotDir()).filePath(QString::fromLatin1(name)));
}

TEST(GuideShots, SearchDialogProgressAndMainWindow) {
  if (ShotDir().isEmpty()) GTEST_SKIP() << "LX47_SCREENSHOT_DIR not set";
  ASSERT_TRUE(platform::net().startup());
  ui::MemorySettingsStore store;
  ui::ScopedSettingsStore scoped{&store};
  test::RecordingMessages messages;
  UseFastSettings();
  EmptyDeviceTable();
  DeviceCount = 0;
  SimProcess sim;
  ASSERT_TRUE(sim.start({"--devices", "3", "--firmware", "2.5.7", "--password", "lx47pw"}));

  app::LX47ConfigToolDlg win;
  win.resize(win.sizeHint().expandedTo(QSize(900, 640)));
  win.show();

  // The search dialog as it opens the first time, with a password typed.
  bool dialogSaved = false, progressSaved = false;
  ModalWatch<app::DlgPassword> search([&](app::DlgPassword& d) {
    d.passwordEdit()->setText(QStringLiteral("lx47pw"));
    dialogSaved = Save(d, "search_dialog.png");
    d.oneDeviceBox()->click();
    d.okButton()->click();
  });
  ModalWatch<app::DlgProcess> progress([&](app::DlgProcess& d) { progressSaved = Save(d, "progress_search.png"); });
  win.searchButton()->click();
  ASSERT_TRUE(search.seen);
  EXPECT_TRUE(dialogSaved);
  EXPECT_TRUE(progress.seen);
  EXPECT_TRUE(progressSaved);
  ASSERT_EQ(win.deviceList()->rowCount(), 3) << (messages.count() ? messages.last().text.toStdString() : "");

  ASSERT_TRUE(Save(win, "main_window.png"));
  EXPECT_EQ(messages.count(), 0);
  EmptyDeviceTable();
  DeviceCount = 0;
}

}  // namespace
}  // namespace lx47::nettest
