// The search command: asks for the password and the options (or repeats the
// last search), picks the host address, runs the discovery through the
// runner, then lists the devices and shows the first one, or says why none
// was found.
#include <QApplication>
#include <QCursor>
#include <QPushButton>
#include <QTableWidget>
#include <string>

#include "app/DlgPassword.h"
#include "app/DlgProcess.h"
#include "app/LX47ConfigToolDlg.h"
#include "app/commands.h"
#include "hostnet/host_address.h"
#include "platform/codepage.h"
#include "platform/net.h"
#include "protocol/device_table.h"
#include "protocol/result_codes.h"
#include "protocol/search_mac.h"
#include "protocol/settings.h"
#include "ui/message_service.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

namespace lx47::app::commands {

namespace {

// The stored "SearchMacAdrs"; zero when it does not parse.
MacAddress StoredSearchMac(ui::SettingsStore& store) {
  MacAddress mac{};
  const QString text = store.readString(QStringLiteral("SearchMacAdrs"));
  ParseSearchMacAdrs(text.toStdU16String(), mac);
  return mac;
}

// Adapter names are single-byte text of the system; the store keeps them as
// the tool settings wrote them.
std::string AdapterNameBytes(const QString& s) { return platform::Utf8ToSystemText(s.toStdString()); }

QString DottedText(std::uint32_t addr) {
  char text[16];
  platform::formatIpv4(addr, text);
  return QString::fromLatin1(text);
}

// "%-8.8s": what the discovery carries.
QByteArray Padded8(const QByteArray& p) {
  QByteArray out = p.left(8);
  while (out.size() < 8) out.append(' ');
  return out;
}

}  // namespace

void Search(LX47ConfigToolDlg& dlg) {
  ui::SettingsStore& store = ui::settingsStore();

  const int rememberedMac = dlg.m_SearchRememberedMac;
  dlg.m_SearchRememberedMac = 0;
  QByteArray password;
  MacAddress mac{};
  int oneDevice = 0;

  if (dlg.m_RepeatSearch != 0 && dlg.m_LastPassword.size() == 8) {
    // A repeat after a firmware update: no dialog, the last password.
    password = dlg.m_LastPassword;
    dlg.m_RepeatSearch = 0;
    oneDevice = store.readInt(QStringLiteral("OneDevice"), 0);
    const int byMac = store.readInt(QStringLiteral("SearchMacFlag"), 0);
    if (oneDevice == 1) {
      if (rememberedMac == 1)
        mac = dlg.m_RememberedMac;
      else if (byMac == 1)
        mac = StoredSearchMac(store);
    }
  } else {
    dlg.m_LastPassword.clear();
    DlgPassword ask(&dlg);
    ask.m_OneDevice = store.readInt(QStringLiteral("OneDevice"), 1);
    ask.m_SearchMacFlag = store.readInt(QStringLiteral("SearchMacFlag"), 0);
    const int shown = dlg.m_CurrentIndex;
    if (DeviceCount >= 1 && shown >= 0 && shown < DeviceCount && shown < kDeviceTableSize) {
      ask.m_SearchMac = DeviceTable[static_cast<std::size_t>(shown)].Device_MAC;
    } else {
      ask.m_SearchMac = MacAddress{};
      if (ask.m_SearchMacFlag == 1) ask.m_SearchMac = StoredSearchMac(store);
    }
    if (ask.exec() != QDialog::Accepted) return;

    store.writeInt(QStringLiteral("OneDevice"), ask.m_OneDevice == 1 ? 1 : 0);
    store.writeInt(QStringLiteral("SearchMacFlag"), ask.m_SearchMacFlag == 1 ? 1 : 0);
    if (ask.m_OneDevice == 1 && ask.m_SearchMacFlag == 1)
      store.writeString(QStringLiteral("SearchMacAdrs"), QString::fromStdString(FormatSearchMacAdrs(ask.m_SearchMac)));
    mac = ask.m_SearchMac;
    oneDevice = ask.m_OneDevice;
    password = Padded8(ask.m_Password);
  }

  // Whatever happens next, the old result is gone.
  dlg.m_SearchRememberedMac = 0;
  dlg.EnablePages(false, -1);
  dlg.ClearDeviceList();
  DeviceCount = 0;
  dlg.SetSelectionText(QString());
  dlg.SetVersionText(QString());

  // The host address the discovery goes out from.
  ALL_HOST_SCAN = store.readInt(QStringLiteral("ALL_HOST_SCAN"), 1) != 0 ? 1 : 0;
  const QString adapterName = store.readString(QStringLiteral("HOST_ADAPTERNAME")).trimmed();
  QString hostText = store.readString(QStringLiteral("HOST_IP")).trimmed();
  std::uint32_t host = 0;
  int result = PR_OK;
  bool run = true;
  if (ALL_HOST_SCAN == 0) {
    if (!adapterName.isEmpty()) {
      host = hostnet::FindAdapterAddress(AdapterNameBytes(adapterName));
      if (host == 0xFFFFFFFFu) host = 0;
    }
    hostText = DottedText(host);
    if (host == 0) {
      // The chosen adapter is gone or has no address: nothing is sent.
      result = PR_NO_HOST;
      run = false;
    }
  }

  if (run) {
    SelectedHostAddress = host;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    DlgProcess runner(&dlg);
    runner.m_Kind = OP_SEARCH;
    runner.m_Title = ui::Str(124);
    runner.m_Message = ui::Str(115) + QStringLiteral("\n\n") + ui::Str(152);
    runner.m_Password = password;
    runner.m_OneDevice = oneDevice;
    runner.m_Mac = mac;
    runner.m_TargetEntry = DeviceTable.data();
    runner.exec();
    result = runner.m_Result;
    QApplication::restoreOverrideCursor();
  }

  if (result == PR_OK) {
    if (DeviceCount <= 0) {
      DeviceCount = 0;
      dlg.deviceList()->setEnabled(false);
      ui::ShowMessage(&dlg, ui::Str(153), ui::MsgIcon::Warning);
      dlg.EnableMainControls(false);
      dlg.firmwareButton()->setEnabled(false);
      return;
    }
    dlg.deviceList()->setEnabled(true);
    dlg.FillDeviceList();
    dlg.EnableMainControls(true);
    dlg.m_PreviousIndex = dlg.m_CurrentIndex = -1;
    dlg.SelectRow(0);
    dlg.m_LastPassword = password;
    return;
  }

  QString text = ui::Str(154);
  if (result == PR_NO_HOST) {
    const QString desc = store.readString(QStringLiteral("HOST_DESC")).trimmed();
    if (!desc.isEmpty()) {
      if (hostText == QStringLiteral("0.0.0.0"))
        text += QStringLiteral("\n\nネットワークアダプタ：［%1］は有効ではないか、切断状態の可能性があります。").arg(desc);
      else
        text += QStringLiteral("\n\nネットワークアダプタ：［%1］（IPアドレス：%2）は有効ではありません。").arg(desc, hostText);
    }
  }
  ui::ShowMessage(&dlg, text, ui::MsgIcon::Error);
  dlg.deviceList()->setEnabled(false);
  dlg.EnableMainControls(false);
}

}  // namespace lx47::app::commands
