// DlgSpecial, the page of the device's extra settings (the tab
// "LX47 特別設定"): DHCP lease time, the three connection messages, the
// disconnect-judgement time and the (never shown) TCP connection password,
// plus two service buttons revealed by a hidden gesture. The file, like its
// rules (pagerules/extra_settings_rules.h), is named after what the page
// holds.
#pragma once

#include <functional>

#include "pagerules/extra_settings_rules.h"
#include "pages/settings_page.h"
#include "protocol/device_commands.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lx47 {
struct Session;
}
namespace lx47::controls {
class CStaticEx;
}

namespace lx47::pages {

class DlgSpecial : public SettingsPage {
 public:
  // The service commands go to the devices of session's last search.
  explicit DlgSpecial(Session& session, QWidget* parent = nullptr);

  // Also corrects the lease, judgement and extra times in the block itself.
  void LoadFromEntry(DeviceEntry& entry, int index) override;
  // Leaves m_SettingIndex alone.
  void EnableControls(bool enable, int index) override;
  // Shows its messages whatever report says.
  bool StoreToBlock(DeviceEntry& entry, bool report) override;

  void RestoreDefaults();

  // Counted right-button double-clicks; more than this reveal the service buttons.
  static constexpr int kServiceClickThreshold = 4;

  std::int32_t m_SettingIndex = 0;
  int m_ServiceClicks = 0;

  // How a service command is started; tests record it here. Empty: the
  // session starts it on a thread of its own.
  std::function<bool(DeviceCommand, const DeviceEntry&)> m_StartCommand;

  // Controls, for tests and screenshots.
  QLineEdit* leaseEdit() const { return m_Lease; }
  QLineEdit* judgeEdit() const { return m_Judge; }
  QCheckBox* messageBox(int i) const { return m_MsgCheck[i]; }
  QLineEdit* messageEdit(int i) const { return m_MsgEdit[i]; }
  controls::CStaticEx* messageNote(int i) const { return m_MsgNote[i]; }
  QCheckBox* passwordBox() const { return m_PasswordCheck; }
  QLineEdit* passwordEdit() const { return m_Password; }
  QCheckBox* passwordShow() const { return m_PasswordShow; }
  QPushButton* defaultsButton() const { return m_Defaults; }
  QPushButton* clockButton() const { return m_ClockButton; }
  QPushButton* disconnectButton() const { return m_DisconnectButton; }

 private:
  // The service gesture that shows the clock and disconnect buttons.
  void OnRightDoubleClick();
  void OnPasswordCheck();
  void OnMessageCheck(int i);
  void RunServiceCommand(DeviceCommand command);
  // Puts the values into the controls (a load, restoring the defaults).
  void Show(const pagerules::SpecialValues& values);
  // What the controls hold and which of them take part in a store.
  pagerules::SpecialValues Values() const;
  pagerules::FieldSet EnabledFields() const;

  Session& m_Session;
  QLabel* m_LeaseLabel = nullptr;
  QLineEdit* m_Lease = nullptr;
  controls::CStaticEx* m_LeaseNote = nullptr;
  QCheckBox* m_MsgCheck[3] = {};
  QLineEdit* m_MsgEdit[3] = {};
  controls::CStaticEx* m_MsgNote[3] = {};
  QWidget* m_PasswordGroup = nullptr;
  QCheckBox* m_PasswordCheck = nullptr;
  QLabel* m_PasswordLabel = nullptr;
  QLineEdit* m_Password = nullptr;
  QCheckBox* m_PasswordShow = nullptr;
  controls::CStaticEx* m_JudgeLabel = nullptr;
  QLineEdit* m_Judge = nullptr;
  controls::CStaticEx* m_JudgeNote = nullptr;
  QPushButton* m_Defaults = nullptr;
  QPushButton* m_ClockButton = nullptr;
  QPushButton* m_DisconnectButton = nullptr;
};

}  // namespace lx47::pages
