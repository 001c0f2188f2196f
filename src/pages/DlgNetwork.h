// The Network page, first tab of the main window: manual or DHCP addressing,
// the device's address, mask, gateway and port, the TCP operation mode with
// the server the device connects to, and, among the extended settings, the
// DNS server and the server's domain name.
#pragma once

#include <QFont>

#include "pagerules/network_rules.h"
#include "pages/field_controls.h"
#include "pages/settings_page.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace lx47::controls {
class CIPAddrEdit;
}

namespace lx47::pages {

class DlgOption;

class DlgNetwork : public SettingsPage {
  Q_OBJECT
 public:
  explicit DlgNetwork(QWidget* parent = nullptr);

  void LoadFromEntry(DeviceEntry& entry, int index) override;
  void EnableControls(bool enable, int index) override;
  bool StoreToBlock(DeviceEntry& entry, bool report) override;
  // Also whether StoreToBlock stores them: hidden settings keep their bytes.
  void ShowExtendedSettings(bool shown) override;

  // The Option page whose connection password follows the mode choice. When
  // none is set, the Option page of the same window is used (the main window
  // owns both); without one the mode choice changes nothing there.
  void SetOptionPage(DlgOption* page) { m_OptionPage = page; }

  // Right double-clicks on the page that make the port edit editable.
  static constexpr int kPortUnlockCount = 5;
  int m_UnlockCount = 0;
  // Set by the main window's hidden gesture, through ShowExtendedSettings.
  bool m_ExtendedSettingsShown = false;

  // The controls, named after their roles (ids of the page's template).
  QRadioButton* m_Manual = nullptr;        // 1017
  QRadioButton* m_Dhcp = nullptr;          // 1018
  QLabel* m_LocalIpLabel = nullptr;        // 1002
  QLabel* m_MaskLabel = nullptr;           // 1004
  QLabel* m_GatewayLabel = nullptr;        // 1006
  controls::CIPAddrEdit* m_LocalIp = nullptr;  // 1007
  controls::CIPAddrEdit* m_Mask = nullptr;     // 1008
  controls::CIPAddrEdit* m_Gateway = nullptr;  // 1009
  QLabel* m_PortLabel = nullptr;           // 1010
  QLineEdit* m_Port = nullptr;             // 1011
  QGroupBox* m_ModeGroup = nullptr;        // 1024
  QRadioButton* m_Server = nullptr;        // 1025
  QRadioButton* m_Client = nullptr;        // 1026
  QRadioButton* m_Mixed = nullptr;         // 1027, beside the group box, over m_MixedSlot
  QLabel* m_ServerIpLabel = nullptr;       // 1003
  controls::CIPAddrEdit* m_ServerIp = nullptr;  // 1028
  QLabel* m_ServerPortLabel = nullptr;     // 1029
  QLineEdit* m_ServerPort = nullptr;       // 1030
  QCheckBox* m_DnsConnect = nullptr;       // 1013
  QLabel* m_DnsLabel = nullptr;            // 1012
  controls::CIPAddrEdit* m_DnsServer = nullptr;  // 1032
  QLabel* m_DomainLabel = nullptr;         // 1034
  QLineEdit* m_Domain = nullptr;           // 1033

 public slots:
  void SelectManualAddress();
  void SelectDhcp();
  void SelectServerMode(bool fromLoad);
  void SelectClientMode();
  void SelectMixedMode();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The hidden gesture that makes the port edit editable.
  void OnRightDoubleClick();
  void EnableConnectPassword(bool available);
  void ShowModeGroup(bool shown);
  void EnableAddressFields(bool enable);
  void EnableServerFields(bool enable);
  bool On(const QWidget* w) const;
  // What the controls hold.
  pagerules::NetworkValues Values() const;

  QWidget* m_MixedSlot = nullptr;  // the place of 1027 in the group's row of modes
  QFont m_BoldFont;
  DlgOption* m_OptionPage = nullptr;
  FieldControls m_FieldControls;
};

}  // namespace lx47::pages
