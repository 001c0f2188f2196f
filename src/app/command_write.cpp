// The write command (button "設定"): the five pages store into the shown
// device's block, the block goes to the device, the outcome is reported and
// the pages show the block again.
#include <QTabWidget>
#include <algorithm>
#include <vector>

#include "app/DlgProcess.h"
#include "app/LX47ConfigToolDlg.h"
#include "app/commands.h"
#include "app/page_factory.h"
#include "pages/settings_page.h"
#include "protocol/result_codes.h"
#include "protocol/settings.h"
#include "ui/message_service.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

namespace lx47::app::commands {

namespace {

bool FieldDiffers(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, std::size_t offset,
                  std::size_t width) {
  return !std::equal(a.begin() + std::ptrdiff_t(offset), a.begin() + std::ptrdiff_t(offset + width),
                     b.begin() + std::ptrdiff_t(offset));
}

QString WriteFailureText(int result) {
  switch (result) {
    case PR_ABORTED: return ui::Str(155);
    case PR_NO_REPLY: return ui::Str(156);
    case PR_REFUSED: return ui::Str(180) + "\n\n" + ui::Str(179);
    default: return ui::Str(131) + "\n\n" + ui::Str(157);
  }
}

}  // namespace

void Write(LX47ConfigToolDlg& dlg) {
  const int index = dlg.m_CurrentIndex;
  // An entry without a stored block cannot be stored into; it is treated
  // like no device shown rather than letting the pages write past its end.
  if (index < 0 || index >= DeviceCount || index >= kDeviceTableSize ||
      !DeviceTable[static_cast<std::size_t>(index)].hasBlock()) {
    ui::ShowMessage(&dlg, ui::Str(120), ui::MsgIcon::Information);
    return;
  }

  // Read afresh, so a change made in the store takes effect with this write.
  USE_BC_CFG = ui::settingsStore().readInt(QStringLiteral("USE_BC_CFG"), 1) != 0 ? 1 : 0;

  DeviceEntry& entry = DeviceTable[static_cast<std::size_t>(index)];
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

  int result = PR_WORKER_NOT_STARTED;
  bool endedNormally = false;
  {
    DlgProcess runner(&dlg);
    runner.m_Kind = OP_WRITE;
    runner.m_Title = ui::Str(129);
    runner.m_Message = ui::Str(115) + "\n\n" + ui::Str(152);
    runner.m_Password.clear();
    runner.m_TargetEntry = &entry;
    endedNormally = runner.exec() == QDialog::Accepted;
    result = runner.m_Result;
  }

  if (endedNormally && result == PR_OK) {
    ui::ShowMessage(&dlg, ui::Str(130), ui::MsgIcon::Information);
    if (wifiModeBefore == 1 && wifiChanged) ui::ShowMessage(&dlg, ui::Str(181), ui::MsgIcon::Information);
    ui::messages().waitCursorPause(500);
  } else {
    ui::ShowMessage(&dlg, WriteFailureText(endedNormally ? result : PR_WORKER_NOT_STARTED), ui::MsgIcon::Warning);
    ui::messages().waitCursorPause(1000);
  }

  // The block keeps what the pages stored (and what the device answered),
  // so the pages no longer differ from it.
  dlg.ShowDevice(entry, index);
}

}  // namespace lx47::app::commands
