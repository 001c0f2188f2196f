#include "app/LX47ConfigToolApp.h"

#ifndef LX47_PRODUCT_VERSION
#define LX47_PRODUCT_VERSION ""
#endif

namespace lx47::app {

QString ProductVersion() { return QStringLiteral(LX47_PRODUCT_VERSION); }

}  // namespace lx47::app
