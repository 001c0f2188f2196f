#include "app/LX47ConfigToolApp.h"

#include <QApplication>
#include <QWidget>

#include "app/LX47ConfigToolDlg.h"
#include "app/single_instance.h"
#include "platform/net.h"
#include "protocol/device_commands.h"
#include "protocol/device_table.h"
#include "protocol/settings.h"
#include "ui/message_service.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

namespace lx47::app {

QString FormAppTitle(const QString& caption, const QString& version) {
  return caption + QStringLiteral("  Ver ") + version;
}

QString AppTitle() { return FormAppTitle(ui::AppCaption(), ProductVersion()); }

void LoadToolSettings(ui::SettingsStore& store) {
  // Each value is written back right after it is read, so that a store
  // repaired once stays repaired and a hand-edited one is normalised.
  const auto flag = [&store](const char* key, int def) {
    const int on = store.readInt(key, def) != 0 ? 1 : 0;
    store.writeInt(key, on);
    return on;
  };
  const auto atLeastOne = [&store](const char* key, int fallback) {
    int v = store.readInt(key, 0);
    if (v < 1) v = fallback;
    store.writeInt(key, v);
    return v;
  };

  APP_SETTING_OPTION1 = flag("APP_SETTING_OPTION1", 0);
  ALL_HOST_SCAN = flag("ALL_HOST_SCAN", 1);
  MaxSendCmdLoopCount = atLeastOne("MaxSendCmdLoopCount", 10);
  MaxRecvLoopCount = atLeastOne("MaxRecvLoopCount", 60);
  int delay = store.readInt("RecvDelay_msec", 20);
  if (delay < 1 || delay > 500) delay = 20;
  store.writeInt("RecvDelay_msec", delay);  // also when absent: the store then shows the value in force
  RecvDelay_msec = delay;
  USE_BC_CFG = flag("USE_BC_CFG", 1);
  USE_BC_FUP = flag("USE_BC_FUP", 0);
}

bool ReadMaskSetting(ui::SettingsStore& store) { return store.readInt("MaskSetting", 0) > 0; }

void ReleaseDeviceTable() {
  EmptyDeviceTable();
  DeviceCount = 0;
}

namespace {

// Far above a stopped command's longest pause (RecvDelay_msec up to 500 ms
// plus 100 ms); only a hung system call would reach it.
constexpr int kDeviceCommandStopMs = 5000;

// Shows the main window in front of everything, or the dialog that is modal
// over it (the progress dialog of a running exchange, say).
void BringToFront(QWidget* window) {
  QWidget* top = QApplication::activeModalWidget();
  for (QWidget* w : {window, top}) {
    if (!w) continue;
    if (w->isMinimized()) w->showNormal();
    w->raise();
    w->activateWindow();
  }
}

}  // namespace

int LX47ConfigToolApp::Run() {
  // The socket library comes first: without it no exchange can run, and
  // nothing is read from or written to the store.
  if (!platform::net().startup()) {
    ui::ShowAppMessage(nullptr, ui::Str(103), ui::MsgIcon::None);
    return 1;
  }

  ui::SettingsStore& store = ui::settingsStore();
  // No application display name: Qt would append it to every window title
  // on X11 and Wayland, and the titles must read exactly as the tool sets them.
  LoadToolSettings(store);

  // "PinMonitor" lifts the rule: several tools may then watch several devices.
  SingleInstance instance(ui::AppName());
  if (store.readInt("PinMonitor", 0) == 0 && !instance.acquire()) {
    InformationBeep();
    return 0;
  }

  MaskSetting = ReadMaskSetting(store);

  {
    LX47ConfigToolDlg dlg;
    QObject::connect(&instance, &SingleInstance::activationRequested, &dlg, [this, &dlg] {
      BringToFront(&dlg);
      if (m_OnActivation) m_OnActivation();
    });
    dlg.exec();
  }

  // A clock set or TCP disconnect may still be running on its own thread:
  // it reads the settings and holds sockets, which end with the process.
  // Stopped, it ends within one receive pause.
  WaitForDeviceCommands(kDeviceCommandStopMs);
  ReleaseDeviceTable();
  return 0;
}

}  // namespace lx47::app
