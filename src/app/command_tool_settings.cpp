// The tool settings command: the dialog that chooses the host adapter and
// the retry and timing settings. The dialog stores what it accepts itself;
// a change of host takes effect at the next search.
#include "app/LX47ConfigToolDlg.h"
#include "app/commands.h"
#include "hostnet/DlgAppSetting.h"

namespace lx47::app::commands {

void ToolSettings(LX47ConfigToolDlg& dlg) {
  hostnet::DlgAppSetting settings(&dlg);
  settings.exec();
}

}  // namespace lx47::app::commands
