// The Wi-Fi page: the device's current Wi-Fi state, the router it joins in
// infrastructure mode and the network it offers in access-point mode.
#pragma once

#include <functional>

#include "pagerules/wifi_rules.h"
#include "pages/operation_runner.h"
#include "pages/settings_page.h"
#include "protocol/router_scan.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace lx47 {
struct Session;
}
namespace lx47::controls {
class CStaticEx;
}

namespace lx47::pages {

class DlgSelectRouter;

class DlgLX47 : public SettingsPage {
 public:
  // runner: runs the router scan of the router selection dialog, whose
  // routers session keeps.
  DlgLX47(Session& session, OperationRunner runner, QWidget* parent = nullptr);

  void LoadFromEntry(DeviceEntry& entry, int index) override;
  void EnableControls(bool enable, int index) override;
  // Shows its one message whatever report says.
  bool StoreToBlock(DeviceEntry& entry, bool report) override;

  // The router button: scan, choose, take the chosen SSID.
  void OnSelectRouter();

  std::int32_t m_SettingIndex = -1;

  // How the router dialog is run; tests drive it here. Empty: exec().
  std::function<int(DlgSelectRouter&)> m_RunRouterDialog;

  // Controls, for tests and screenshots.
  controls::CStaticEx* modeLabel() const { return m_ModeLabel; }
  controls::CStaticEx* linkLabel() const { return m_LinkLabel; }
  QLineEdit* infraSsid() const { return m_InfraSsid; }
  QLineEdit* infraPassword() const { return m_InfraPassword; }
  QCheckBox* infraShow() const { return m_InfraShow; }
  QLineEdit* apSsid() const { return m_ApSsid; }
  QLineEdit* apPassword() const { return m_ApPassword; }
  QCheckBox* apShow() const { return m_ApShow; }
  QComboBox* security() const { return m_Security; }
  QComboBox* channel() const { return m_Channel; }
  QPushButton* routerButton() const { return m_RouterButton; }

 private:
  void OnSecurityChanged();
  void UpdateApPasswordEnabled();
  // What the controls hold and which of them take part in a store.
  pagerules::WifiValues Values() const;
  pagerules::FieldSet EnabledFields() const;

  Session& m_Session;
  OperationRunner m_Runner;
  controls::CStaticEx* m_ModeLabel = nullptr;
  controls::CStaticEx* m_LinkLabel = nullptr;
  QPushButton* m_RouterButton = nullptr;
  QLineEdit* m_InfraSsid = nullptr;
  QLineEdit* m_InfraPassword = nullptr;
  QCheckBox* m_InfraShow = nullptr;
  QLineEdit* m_ApSsid = nullptr;
  QLineEdit* m_ApPassword = nullptr;
  QCheckBox* m_ApShow = nullptr;
  QComboBox* m_Security = nullptr;
  QComboBox* m_Channel = nullptr;
};

}  // namespace lx47::pages
