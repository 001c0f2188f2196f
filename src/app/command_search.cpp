// Not built yet: the window's routing reaches this and nothing happens.
#include "app/commands.h"

namespace lx47::app::commands {

void Search(LX47ConfigToolDlg&) {}

}  // namespace lx47::app::commands
