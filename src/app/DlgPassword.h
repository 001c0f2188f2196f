// The search dialog: asks for the search password that the discovery carries,
// optionally keeps it in the settings, and lets the user stop the search at
// one device, optionally the one with a given MAC address.
#pragma once

#include <QByteArray>

#include "protocol/config_block.h"
#include "ui/dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lx47::controls {
class CMACAddrEdit;
}

namespace lx47::app {

class DlgPassword : public ui::Dialog {
  Q_OBJECT
 public:
  explicit DlgPassword(QWidget* parent = nullptr);

  // Out: the password, exactly 8 single-byte characters, blank-padded.
  QByteArray m_Password;
  // In: initial state of the one-device box; out: 1 when it was checked at OK.
  int m_OneDevice = 0;
  // In: initial state of the MAC box; out: 1 when it was checked at OK.
  int m_SearchMacFlag = 0;
  // In: the address the MAC edit shows when switched on; out: the MAC filter
  // (all zero unless both boxes were checked).
  MacAddress m_SearchMac{};

  // The controls, for the owner's tests.
  QLineEdit* passwordEdit() const { return m_PasswordEdit; }
  QCheckBox* showBox() const { return m_ShowBox; }
  QCheckBox* saveBox() const { return m_SaveBox; }
  QPushButton* deleteButton() const { return m_DeleteButton; }
  QCheckBox* oneDeviceBox() const { return m_OneDeviceBox; }
  QCheckBox* macBox() const { return m_MacBox; }
  controls::CMACAddrEdit* macEdit() const { return m_MacEdit; }
  QPushButton* okButton() const { return m_OkButton; }
  QPushButton* cancelButton() const { return m_CancelButton; }
  QLabel* label() const { return m_Label; }

  // The search password as the discovery sends it: the first 8 characters
  // of text in the device code page, blank-padded to exactly 8 bytes.
  static QByteArray PaddedPassword(const QString& text);

 public slots:
  void OnOK();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void OnInitDialog();
  void OnShowClicked();
  void OnDeleteClicked();
  void ApplyOneDeviceRule();
  void ApplyMacRule();
  void ShowPasswordChars(bool plain);

  QLabel* m_Label = nullptr;                  // 1012
  QLineEdit* m_PasswordEdit = nullptr;        // 1022
  QCheckBox* m_ShowBox = nullptr;             // 1023
  QCheckBox* m_SaveBox = nullptr;             // 1024
  QPushButton* m_DeleteButton = nullptr;      // 1041
  QCheckBox* m_OneDeviceBox = nullptr;        // 1050
  QCheckBox* m_MacBox = nullptr;              // 1051
  controls::CMACAddrEdit* m_MacEdit = nullptr;  // 1052
  QPushButton* m_OkButton = nullptr;          // 1
  QPushButton* m_CancelButton = nullptr;      // 2
  bool m_Initialised = false;
};

}  // namespace lx47::app
