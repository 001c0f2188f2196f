// The factory reset command (window menu "LX47 の初期化..."): asks for the
// MAC address, forgets the search result, sends the reset from the host
// addresses and reports the outcome. No search follows; the user searches
// again.
#include <QPushButton>
#include <QTableWidget>

#include "app/DlgFactoryReset.h"
#include "app/LX47ConfigToolDlg.h"
#include "app/commands.h"
#include "app/run_operation.h"
#include "protocol/host_choice.h"
#include "protocol/job.h"
#include "protocol/outcomes.h"
#include "protocol/result_codes.h"
#include "protocol/session.h"
#include "ui/message_service.h"
#include "ui/settings_store.h"
#include "texts/utf8.h"
#include "ui/strings.h"

namespace lx47::app::commands {

using texts::TextId;

void FactoryReset(LX47ConfigToolDlg& dlg) {
  Session& session = dlg.session();
  // 1. The shown device, if any, is the default target.
  DeviceEntry* shown = session.ListedEntry(dlg.m_CurrentIndex);
  bool broadcast = shown == nullptr;

  // 2. The address.
  DlgFactoryReset ask(&dlg);
  ask.m_Mac = shown ? shown->Device_MAC : MacAddress{};
  ask.m_EraseMode = 1;
  if (ask.exec() != QDialog::Accepted) return;
  const MacAddress mac = ask.m_Mac;

  // 3. The confirmation.
  if (ui::ShowMessage(&dlg, ui::Str(texts::FactoryResetConfirmText(mac)), ui::MsgIcon::Information,
                      ui::MsgButtons::YesNo, ui::MsgResult::No) != ui::MsgResult::Yes)
    return;

  // The wait cursor from the confirmation to the end of the command, on
  // every way out.
  const ui::WaitCursor wait;

  // 5. The search result is forgotten whatever follows. The stored blocks
  // stay until the next search, so the shown entry is still readable below.
  dlg.EnablePages(false, -1);
  dlg.ClearDeviceList();
  session.DeviceCount = 0;
  dlg.SetSelectionText(QString());
  dlg.SetVersionText(QString());
  dlg.deviceList()->setEnabled(false);
  dlg.EnableMainControls(false);
  dlg.firmwareButton()->setEnabled(false);
  dlg.m_RepeatSearch = 0;
  dlg.m_LastPassword.clear();
  dlg.m_CurrentIndex = dlg.m_PreviousIndex = -1;

  // 6. Another address than the shown device's is looked for by broadcast.
  if (!broadcast && shown->Device_MAC != mac) broadcast = true;

  // 7. The host address.
  store::StoreAccess access(ui::settingsStore());
  const HostChoice host = ChooseHostAddress(access, session.Settings, hostnet::hostNetSource());
  if (!host.usable) {
    ReloadSetting(access, session.Settings, &ToolSettings::HOST_DESC);
    ui::ShowMessage(&dlg, ui::Str(FactoryResetNoHostText(texts::Trimmed(session.Settings.HOST_DESC))),
                    ui::MsgIcon::Error);
    return;
  }
  session.SelectedHostAddress = host.address;

  // 8. The exchange: to the shown device's address, or by broadcast.
  FactoryResetRequest request{session.Settings, session.SelectedHostAddress, mac};
  request.UseBroadcast = broadcast ? 1 : 0;
  request.EraseMode = ask.m_EraseMode;
  request.Device_IP = broadcast ? 0 : shown->Device_IP;
  const pages::RunnerOutcome outcome =
      RunOperation(session, &dlg,
                   {OP_FACTORY_RESET, ui::Str(TextId::FactoryResetRunning),
                    ui::Str(TextId::PleaseWait) + "\n\n" + ui::Str(TextId::EscapeAborts), FactoryResetJob(request)});
  const int result = outcome.ok ? outcome.result : PR_WORKER_NOT_STARTED;

  // 9. The outcome, 10. the pause.
  // Without a shown device the access-point mode is unknown; the list is
  // empty in every case, so the line that asks for a new search fits.
  const bool accessPoint = shown && shown->hasBlock() && shown->block().get(field::Wifi_Mode) == 1;
  ui::ShowMessage(&dlg, ui::Str(FactoryResetResultText(result, mac, accessPoint)),
                  result == PR_OK ? ui::MsgIcon::Information : ui::MsgIcon::Warning);
  ui::messages().waitCursorPause(5000);
}

}  // namespace lx47::app::commands
