// The tool settings dialog: from which host adapter the exchanges go out
// (every usable one, or one Ethernet or wireless adapter), and how often and
// how patiently they send and receive.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "hostnet/host_address.h"
#include "protocol/tool_settings.h"
#include "ui/dialog.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lx47::app {

class DlgAppSetting : public ui::Dialog {
  Q_OBJECT
 public:
  // Shows settings and stores what it accepts both there and in the store.
  explicit DlgAppSetting(ToolSettings& settings, QWidget* parent = nullptr);
  ~DlgAppSetting() override;

  // Right-button double-clicks on the dialog that reveal the receive fields.
  static constexpr int kRevealCount = 5;
  static constexpr int kWarningTimerMs = 500;

  // The controls, for tests.
  QComboBox* hostList() const { return m_HostList; }               // 1056
  QLineEdit* currentSelection() const { return m_CurrentEdit; }    // 1052
  QLineEdit* hostAddress() const { return m_IpEdit; }              // 1055
  QLineEdit* hostMac() const { return m_MacEdit; }                 // 1060
  QLabel* hostType() const { return m_TypeLabel; }                 // 1059
  QLabel* ipLabel() const { return m_IpLabel; }                    // 1057
  QLabel* macLabel() const { return m_MacLabel; }                  // 1058
  QPushButton* rescanButton() const { return m_RescanButton; }     // 1061
  QLineEdit* sendCountEdit() const { return m_SendCountEdit; }     // 1073
  QLineEdit* recvCountEdit() const { return m_RecvCountEdit; }     // 1071
  QLineEdit* recvDelayEdit() const { return m_RecvDelayEdit; }     // 1072
  QLabel* sendCountRange() const { return m_SendCountRange; }      // 1067
  QLabel* recvCountRange() const { return m_RecvCountRange; }      // 1068
  QLabel* recvDelayRange() const { return m_RecvDelayRange; }      // 1069
  QPushButton* defaultsButton() const { return m_DefaultsButton; } // 1022
  QPushButton* okButton() const { return m_OkButton; }             // 1
  QPushButton* cancelButton() const { return m_CancelButton; }     // 2
  // The six controls of the receive count and delay, hidden at first.
  std::vector<QWidget*> receiveControls() const;
  const std::string& selectedAdapterName() const { return m_SelectedAdapterName; }
  int rightDoubleClicks() const { return m_RDblClkCount; }

 public slots:
  void OnOK();
  void OnRescan();
  void OnDefaults();

 protected:
  void showEvent(QShowEvent* e) override;
  void timerEvent(QTimerEvent* e) override;

 private:
  void OnInitDialog();
  void FillHostList();
  void OnSelChangeHostList();
  void ShowReceiveControls(bool shown);
  // The hidden gesture that reveals the receive fields.
  void OnRightDoubleClick();
  // Reads one number edit; false (after the message) when it is refused.
  bool StoreNumber(QLineEdit* edit, int ToolSettings::*setting, unsigned min, unsigned max,
                   const QString& invalidChars, const QString& outOfRange);

  ToolSettings& m_Settings;
  std::vector<hostnet::AdapterInfo> m_Adapters;
  std::string m_SelectedAdapterName;
  QString m_PendingWarning;
  int m_RDblClkCount = 0;
  int m_WarningTimer = 0;
  bool m_Initialised = false;

  QGroupBox* m_HostGroup = nullptr;        // 1053
  QLabel* m_CurrentLabel = nullptr;        // 1054
  QLineEdit* m_CurrentEdit = nullptr;      // 1052
  QComboBox* m_HostList = nullptr;         // 1056
  QLabel* m_IpLabel = nullptr;             // 1057
  QLabel* m_MacLabel = nullptr;            // 1058
  QLineEdit* m_IpEdit = nullptr;           // 1055
  QLineEdit* m_MacEdit = nullptr;          // 1060
  QLabel* m_TypeLabel = nullptr;           // 1059
  QPushButton* m_RescanButton = nullptr;   // 1061
  QLabel* m_NoteLabel = nullptr;           // 1062
  QLabel* m_SendCountLabel = nullptr;      // 1063
  QLineEdit* m_SendCountEdit = nullptr;    // 1073
  QLabel* m_SendCountRange = nullptr;      // 1067
  QLabel* m_RecvCountLabel = nullptr;      // 1065
  QLineEdit* m_RecvCountEdit = nullptr;    // 1071
  QLabel* m_RecvCountRange = nullptr;      // 1068
  QLabel* m_RecvDelayLabel = nullptr;      // 1066
  QLineEdit* m_RecvDelayEdit = nullptr;    // 1072
  QLabel* m_RecvDelayRange = nullptr;      // 1069
  QPushButton* m_DefaultsButton = nullptr; // 1022
  QPushButton* m_OkButton = nullptr;       // 1
  QPushButton* m_CancelButton = nullptr;   // 2
};

}  // namespace lx47::app
