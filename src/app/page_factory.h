// Makes the five settings pages of the main window's tabs, in tab order.
#pragma once

class QWidget;

namespace lx47 {
struct Session;
}
namespace lx47::pages {
class SettingsPage;
}

namespace lx47::app {

enum PageSlot { kNetworkPage = 0, kSerialPage = 1, kOptionPage = 2, kWifiPage = 3, kSpecialPage = 4 };
inline constexpr int kPageCount = 5;

// A new page for a slot (kNetworkPage..kSpecialPage), a child of parent;
// the pages that reach the device table or the router table use session's.
pages::SettingsPage* CreatePage(Session& session, int slot, QWidget* parent);

}  // namespace lx47::app
