// The write command (button "設定"): the five pages store into the shown
// device's block, the block goes to the device, the outcome is reported and
// the pages show the block again.
#include <QTabWidget>
#include <algorithm>
#include <optional>
#include <vector>

#include "app/LX47ConfigToolDlg.h"
#include "app/commands.h"
#include "app/page_factory.h"
#include "app/run_operation.h"
#include "pages/settings_page.h"
#include "protocol/job.h"
#include "protocol/outcomes.h"
#include "protocol/result_codes.h"
#include "protocol/session.h"
#include "ui/message_service.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

namespace lx47::app::commands {

using texts::TextId;

namespace {

bool FieldDiffers(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, std::size_t offset,
                  std::size_t width) {
  return !std::equal(a.begin() + std::ptrdiff_t(offset), a.begin() + std::ptrdiff_t(offset + width),
                     b.begin() + std::ptrdiff_t(offset));
}

}  // namespace

void Write(LX47ConfigToolDlg& dlg) {
  Session& session = dlg.session();
  const int index = dlg.m_CurrentIndex;
  DeviceEntry* listed = session.ListedEntry(index);
  // An entry without a stored block cannot be stored into; it is treated
  // like no device shown rather than letting the pages write past its end.
  if (!listed || !listed->hasBlock()) {
    ui::ShowMessage(&dlg, ui::Str(TextId::SelectDeviceFirst), ui::MsgIcon::Information);
    return;
  }
  DeviceEntry& entry = *listed;

  // Read afresh, so a change made in the store takes effect with this write.
  store::StoreAccess store(ui::settingsStore());
  ReloadSetting(store, session.Settings, &ToolSettings::USE_BC_CFG);
  const std::uint8_t wifiModeBefore = entry.block().get(field::Wifi_Mode);
  const std::vector<std::uint8_t> saved = entry.Block;

  // The first page that rejects its input is shown, and none of the pages'
  // values reach the block: a partial store is undone.
  for (int slot = 0; slot < kPageCount; ++slot) {
    if (!dlg.page(slot)->StoreToBlock(entry, true)) {
      dlg.tabs()->setCurrentIndex(slot);
      entry.Block = saved;
      return;
    }
  }

  const bool wifiChanged =
      FieldDiffers(entry.Block, saved, field::Wifi_Infra_SSID.offset, field::Wifi_Infra_SSID.width) ||
      FieldDiffers(entry.Block, saved, field::Wifi_Infra_Password.offset, field::Wifi_Infra_Password.width);

  std::optional<WriteResult> written;
  const pages::RunnerOutcome outcome = RunOperation(
      session, &dlg,
      {OP_WRITE, ui::Str(TextId::SettingsWriting), ui::Str(TextId::PleaseWait) + "\n\n" + ui::Str(TextId::EscapeAborts),
       WriteJob(WriteRequest{session.Settings, entry}, written)});
  // The entry as the exchange left it: the device's answer after a success.
  if (written) entry = std::move(written->TargetEntry);
  const bool endedNormally = outcome.ok;
  const int result = outcome.result;

  if (endedNormally && result == PR_OK) {
    ui::ShowMessage(&dlg, ui::Str(TextId::SettingsWritten), ui::MsgIcon::Information);
    if (wifiModeBefore == 1 && wifiChanged)
      ui::ShowMessage(&dlg, ui::Str(TextId::ApModeHowToInfrastructure), ui::MsgIcon::Information);
    ui::messages().waitCursorPause(500);
  } else {
    ui::ShowMessage(&dlg, ui::Str(WriteFailureText(endedNormally ? result : PR_WORKER_NOT_STARTED)), ui::MsgIcon::Warning);
    ui::messages().waitCursorPause(1000);
  }

  // The block keeps what the pages stored (and what the device answered),
  // so the pages no longer differ from it.
  dlg.ShowDevice(entry, index);
}

}  // namespace lx47::app::commands
