// The tool's icon (the one the desktop entry installs), built into the
// program so that windows show it also where no icon theme has it.
#pragma once

#include <QIcon>

namespace lx47::app {

QIcon AppIcon();

}  // namespace lx47::app
