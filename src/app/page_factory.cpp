// One function per page, so that each page's owner changes only its own
// lines when the page lands: include the page's header and return it in
// place of the placeholder.
#include "app/page_factory.h"

#include "app/placeholder_page.h"
#include "app/run_operation.h"
#include "pages/DlgLX47.h"
#include "pages/DlgNetwork.h"
#include "pages/DlgOption.h"
#include "pages/DlgSerial.h"
#include "pages/DlgExtraSettings.h"
#include "ui/strings.h"

namespace lx47::app {

pages::SettingsPage* CreateNetworkPage(QWidget* parent) { return new pages::DlgNetwork(parent); }

pages::SettingsPage* CreateSerialPage(QWidget* parent) { return new pages::DlgSerial(parent); }

pages::SettingsPage* CreateOptionPage(QWidget* parent) { return new pages::DlgOption(parent); }

pages::SettingsPage* CreateWifiPage(QWidget* parent) { return new pages::DlgLX47(RunOperation, parent); }

pages::SettingsPage* CreateSpecialPage(QWidget* parent) { return new pages::DlgSpecial(parent); }

pages::SettingsPage* CreatePage(int slot, QWidget* parent) {
  switch (slot) {
    case kSerialPage: return CreateSerialPage(parent);
    case kOptionPage: return CreateOptionPage(parent);
    case kWifiPage: return CreateWifiPage(parent);
    case kSpecialPage: return CreateSpecialPage(parent);
    default: return CreateNetworkPage(parent);
  }
}

}  // namespace lx47::app
