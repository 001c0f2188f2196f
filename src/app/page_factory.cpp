#include "app/page_factory.h"

#include "app/run_operation.h"
#include "pages/DlgLX47.h"
#include "pages/DlgNetwork.h"
#include "pages/DlgOption.h"
#include "pages/DlgSerial.h"
#include "pages/DlgExtraSettings.h"
#include "protocol/session.h"

namespace lx47::app {

pages::SettingsPage* CreatePage(Session& session, int slot, QWidget* parent) {
  switch (slot) {
    case kSerialPage: return new pages::DlgSerial(parent);
    case kOptionPage: return new pages::DlgOption(parent);
    case kWifiPage: return new pages::DlgLX47(session, PageRunner(session), parent);
    case kSpecialPage: return new pages::DlgSpecial(session, parent);
    default: return new pages::DlgNetwork(parent);
  }
}

}  // namespace lx47::app
