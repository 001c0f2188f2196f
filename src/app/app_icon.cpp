#include "app/app_icon.h"

#include <QSize>
#include <QString>

// Resources of a static library are registered by hand, and only from the
// global namespace.
static void RegisterIconResources() { Q_INIT_RESOURCE(lx47_config); }

namespace lx47::app {

QIcon AppIcon() {
  static const bool registered = (RegisterIconResources(), true);
  (void)registered;
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/lx47-config-%1.png").arg(size), QSize(size, size));
  return icon;
}

}  // namespace lx47::app
