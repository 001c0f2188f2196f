// The router selection dialog: lets the device scan for Wi-Fi routers,
// lists them by SSID and hands the chosen record of the session's
// RouterScanTable back to the Wi-Fi page.
#pragma once

#include <cstdint>

#include "pages/operation_runner.h"
#include "protocol/router_scan.h"
#include "ui/dialog.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace lx47 {
struct Session;
}

namespace lx47::pages {

class DlgSelectRouter : public ui::Dialog {
 public:
  // runner: runs the scan, which leaves its routers in session.
  DlgSelectRouter(Session& session, OperationRunner runner, QWidget* parent = nullptr);

  // Set by the caller before the dialog opens.
  std::int32_t m_SettingIndex = -1;
  // The chosen record of RouterScanTable; -1 while none is chosen.
  std::int32_t m_SelectedRecord = -1;

  // Runs one router scan for the device of m_SettingIndex and refills the list.
  void Rescan();

  // A record's SSID as the list shows it: the bytes up to the first zero,
  // at most 32, each widened to the character of the same value.
  static QString SsidText(const RouterScanRecord& record);

  // Controls, for tests and screenshots.
  QListWidget* list() const { return m_List; }
  QPushButton* okButton() const { return m_Ok; }
  QPushButton* rescanButton() const { return m_Rescan; }
  QLineEdit* ssidEdit() const { return m_Ssid; }
  QLineEdit* macEdit() const { return m_Mac; }
  QLabel* rssiLabel() const { return m_Rssi; }
  QLabel* securityLabel() const { return m_Security; }
  QLabel* channelLabel() const { return m_Channel; }

  void accept() override;
  void setVisible(bool visible) override;

 private:
  void OnSelectionChanged();

  Session& m_Session;
  OperationRunner m_Runner;
  bool m_Initialised = false;
  QListWidget* m_List = nullptr;
  QPushButton* m_Rescan = nullptr;
  QPushButton* m_Ok = nullptr;
  QPushButton* m_Cancel = nullptr;
  QLineEdit* m_Ssid = nullptr;
  QLineEdit* m_Mac = nullptr;
  QLabel* m_Rssi = nullptr;
  QLabel* m_Security = nullptr;
  QLabel* m_Channel = nullptr;
};

}  // namespace lx47::pages
