// The search command: asks for the password and the options (or repeats the
// last search), picks the host address, runs the discovery through the
// runner, then lists the devices and shows the first one, or says why none
// was found.
#include <QApplication>
#include <QCursor>
#include <QPushButton>
#include <QTableWidget>
#include <optional>
#include <string_view>

#include "app/DlgPassword.h"
#include "app/LX47ConfigToolDlg.h"
#include "app/commands.h"
#include "app/run_operation.h"
#include "platform/net.h"
#include "protocol/host_choice.h"
#include "protocol/job.h"
#include "protocol/outcomes.h"
#include "protocol/result_codes.h"
#include "protocol/search_mac.h"
#include "protocol/session.h"
#include "ui/message_service.h"
#include "ui/settings_store.h"
#include "texts/utf8.h"
#include "ui/strings.h"

namespace lx47::app::commands {

using texts::TextId;

namespace {

// "OneDevice" when it is missing: a repeat assumes a search for every device,
// while the dialog starts with its one-device box checked.
constexpr int kOneDeviceOnRepeat = 0;
constexpr int kOneDeviceInDialog = 1;

// The stored "SearchMacAdrs"; zero when it does not parse.
MacAddress StoredSearchMac(store::SettingsStore& store) {
  MacAddress mac{};
  const QString text = store.readString(QStringLiteral("SearchMacAdrs"));
  ParseSearchMacAdrs(text.toStdU16String(), mac);
  return mac;
}

QString DottedText(std::uint32_t addr) {
  char text[16];
  platform::formatIpv4(addr, text);
  return QString::fromLatin1(text);
}

SearchPassword Padded(const QByteArray& password) {
  return PadSearchPassword(std::string_view(password.constData(), static_cast<std::size_t>(password.size())));
}

}  // namespace

void Search(LX47ConfigToolDlg& dlg) {
  Session& session = dlg.session();
  store::SettingsStore& store = ui::settingsStore();

  const int rememberedMac = dlg.m_SearchRememberedMac;
  dlg.m_SearchRememberedMac = 0;
  SearchPassword password{};
  MacAddress mac{};
  int oneDevice = 0;

  if (dlg.m_RepeatSearch != 0 && dlg.m_LastPassword.size() == 8) {
    // A repeat after a firmware update: no dialog, the last password.
    password = Padded(dlg.m_LastPassword);
    dlg.m_RepeatSearch = 0;
    oneDevice = store.readInt(QStringLiteral("OneDevice"), kOneDeviceOnRepeat);
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
    ask.m_OneDevice = store.readInt(QStringLiteral("OneDevice"), kOneDeviceInDialog);
    ask.m_SearchMacFlag = store.readInt(QStringLiteral("SearchMacFlag"), 0);
    if (const DeviceEntry* shown = session.ListedEntry(dlg.m_CurrentIndex)) {
      ask.m_SearchMac = shown->Device_MAC;
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
    password = Padded(ask.m_Password);
  }

  // Whatever happens next, the old result is gone.
  dlg.m_SearchRememberedMac = 0;
  dlg.EnablePages(false, -1);
  dlg.ClearDeviceList();
  session.DeviceCount = 0;
  dlg.SetSelectionText(QString());
  dlg.SetVersionText(QString());

  // The host address the discovery goes out from.
  store::StoreAccess access(store);
  const HostChoice host = ChooseHostAddress(access, session.Settings, hostnet::hostNetSource());
  ReloadSetting(access, session.Settings, &ToolSettings::HOST_IP);
  QString hostText = QString::fromStdString(session.Settings.HOST_IP).trimmed();
  if (session.Settings.ALL_HOST_SCAN == 0) hostText = DottedText(host.address);
  int result = PR_NO_HOST;  // the chosen adapter is gone or has no address: nothing is sent
  if (host.usable) {
    session.SelectedHostAddress = host.address;
    std::optional<SearchResult> found;
    const SearchRequest request{session.Settings, session.SelectedHostAddress, password, mac, oneDevice};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    result = RunOperation(session, &dlg,
                          {OP_SEARCH, ui::Str(TextId::Searching),
                           ui::Str(TextId::PleaseWait) + QStringLiteral("\n\n") + ui::Str(TextId::EscapeAborts),
                           SearchJob(request, found)})
                 .result;
    QApplication::restoreOverrideCursor();
    if (found) session.Take(std::move(*found));
  }

  if (result == PR_OK) {
    if (session.DeviceCount <= 0) {
      session.DeviceCount = 0;
      dlg.deviceList()->setEnabled(false);
      ui::ShowMessage(&dlg, ui::Str(TextId::NoDeviceFound), ui::MsgIcon::Warning);
      dlg.EnableMainControls(false);
      dlg.firmwareButton()->setEnabled(false);
      return;
    }
    dlg.deviceList()->setEnabled(true);
    dlg.FillDeviceList();
    dlg.EnableMainControls(true);
    dlg.m_PreviousIndex = dlg.m_CurrentIndex = -1;
    dlg.SelectRow(0);
    dlg.m_LastPassword = QByteArray(reinterpret_cast<const char*>(password.data()), password.size());
    return;
  }

  if (result == PR_NO_HOST) ReloadSetting(access, session.Settings, &ToolSettings::HOST_DESC);
  const std::string_view desc = result == PR_NO_HOST ? texts::Trimmed(session.Settings.HOST_DESC) : "";
  ui::ShowMessage(&dlg, ui::Str(SearchFailureText(result, desc, ui::Utf8(hostText))), ui::MsgIcon::Error);
  dlg.deviceList()->setEnabled(false);
  dlg.EnableMainControls(false);
}

}  // namespace lx47::app::commands
