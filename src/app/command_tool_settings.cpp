// The tool settings command: the dialog that chooses the host adapter and
// the retry and timing settings. The dialog stores what it accepts itself,
// in the session's settings and in the store; a change of host takes effect
// at the next search.
#include "app/DlgAppSetting.h"
#include "app/LX47ConfigToolDlg.h"
#include "app/commands.h"
#include "protocol/session.h"

namespace lx47::app::commands {

void ToolSettings(LX47ConfigToolDlg& dlg) {
  DlgAppSetting settings(dlg.session().Settings, &dlg);
  settings.exec();
}

}  // namespace lx47::app::commands
