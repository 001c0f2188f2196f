// Makes the five settings pages of the main window's tabs, in tab order.
#pragma once

class QWidget;

namespace lx47::pages {
class SettingsPage;
}

namespace lx47::app {

enum PageSlot { kNetworkPage = 0, kSerialPage = 1, kOptionPage = 2, kWifiPage = 3, kSpecialPage = 4 };
inline constexpr int kPageCount = 5;

// Each returns a new page, a child of parent.
pages::SettingsPage* CreateNetworkPage(QWidget* parent);
pages::SettingsPage* CreateSerialPage(QWidget* parent);
pages::SettingsPage* CreateOptionPage(QWidget* parent);
pages::SettingsPage* CreateWifiPage(QWidget* parent);
pages::SettingsPage* CreateSpecialPage(QWidget* parent);

// The page of a slot (kNetworkPage..kSpecialPage).
pages::SettingsPage* CreatePage(int slot, QWidget* parent);

}  // namespace lx47::app
