// The Option page, third tab of the main window: the TCP timers, the search
// password kept by the device and, among the extended settings, the
// connection password that a TCP client must give in TCP Server mode.
#pragma once

#include <QFont>

#include "pagerules/option_rules.h"
#include "pages/field_controls.h"
#include "pages/settings_page.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace lx47::controls {
class CStaticEx;
}

namespace lx47::pages {

class DlgOption : public SettingsPage {
  Q_OBJECT
 public:
  explicit DlgOption(QWidget* parent = nullptr);

  void LoadFromEntry(DeviceEntry& entry, int index) override;
  void EnableControls(bool enable, int index) override;
  bool StoreToBlock(DeviceEntry& entry, bool report) override;
  void ShowExtendedSettings(bool shown) override;
  // The Network page's mode choice: whether the connection password can be
  // switched on at all.
  void EnableConnectPassword(bool available);

  QLabel* m_DisconnectLabel = nullptr;           // 1002
  QLineEdit* m_Disconnect = nullptr;             // 1003
  controls::CStaticEx* m_DisconnectRange = nullptr;  // 1004
  controls::CStaticEx* m_DisconnectNote = nullptr;   // 1005
  QLabel* m_KeepaliveLabel = nullptr;            // 1006
  QLineEdit* m_Keepalive = nullptr;              // 1007
  controls::CStaticEx* m_KeepaliveRange = nullptr;   // 1008
  controls::CStaticEx* m_KeepaliveNote = nullptr;    // 1009
  QGroupBox* m_ConnectGroup = nullptr;           // 1031
  QLabel* m_ConnectLabel = nullptr;              // 1010
  QLineEdit* m_ConnectPassword = nullptr;        // 1011
  QCheckBox* m_ConnectShow = nullptr;            // 1012
  QCheckBox* m_ConnectEnable = nullptr;          // 1013
  QGroupBox* m_SearchGroup = nullptr;            // 1032
  QLabel* m_SearchLabel = nullptr;               // 1014
  QLineEdit* m_SearchPassword = nullptr;         // 1015
  QCheckBox* m_SearchShow = nullptr;             // 1016

 private:
  void OnConnectEnable();
  void FollowConnectEnable(bool enable);
  // What the controls hold.
  pagerules::OptionValues Values() const;

  QFont m_BoldFont;
  FieldControls m_FieldControls;
};

}  // namespace lx47::pages
