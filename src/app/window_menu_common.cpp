// The one routing of the window menu's commands, whichever menu they came from.
#include "app/LX47ConfigToolDlg.h"
#include "app/window_menu.h"

namespace lx47::app {

bool RunWindowMenuCommand(LX47ConfigToolDlg& dlg, unsigned command) {
  // The system menu's command word is compared on its low 16 bits.
  switch (command & 0xFFFFu) {
    case IDM_FACTORY_RESET: dlg.OnFactoryReset(); return true;
    case IDM_TOOL_SETTINGS: dlg.OnToolSettings(); return true;
    default: return false;
  }
}

}  // namespace lx47::app
