#include "app/LX47ConfigToolApp.h"

#include <QApplication>
#include <QWidget>

#include "app/LX47ConfigToolDlg.h"
#include "app/single_instance.h"
#include "platform/net.h"
#include "ui/message_service.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

namespace lx47::app {

using texts::TextId;

QString FormAppTitle(const QString& caption, const QString& version) {
  return caption + QStringLiteral("  Ver ") + version;
}

QString AppTitle() { return FormAppTitle(ui::AppCaption(), ProductVersion()); }

ToolSettings LoadToolSettings(store::SettingsStore& store) {
  store::StoreAccess access(store);
  return lx47::LoadToolSettings(access);
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
    ui::ShowAppMessage(nullptr, ui::Str(TextId::SocketInitFailed), ui::MsgIcon::None);
    return 1;
  }

  // No application display name: Qt would append it to every window title
  // on X11 and Wayland, and the titles must read exactly as the tool sets them.
  m_Session.Settings = LoadToolSettings(ui::settingsStore());

  // "PinMonitor" lifts the rule: several tools may then watch several devices.
  SingleInstance instance(ui::AppName());
  if (m_Session.Settings.PinMonitor == 0 && !instance.acquire()) {
    InformationBeep();
    return 0;
  }

  {
    LX47ConfigToolDlg dlg(m_Session);
    QObject::connect(&instance, &SingleInstance::activationRequested, &dlg, [this, &dlg] {
      BringToFront(&dlg);
      if (m_OnActivation) m_OnActivation();
    });
    dlg.exec();
  }

  // A clock set or TCP disconnect may still be running on its own thread:
  // it polls the session's abort flag and holds sockets. Stopped, it ends
  // within one receive pause.
  m_Session.DeviceCommands.WaitAll(kDeviceCommandStopMs);
  m_Session.ReleaseDeviceTable();
  return 0;
}

}  // namespace lx47::app
