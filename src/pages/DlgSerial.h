// The Serial page, second tab of the main window: the RS-232C settings and
// the three conditions on which the device forwards serial data to Wi-Fi.
#pragma once

#include <vector>

#include "pagerules/serial_rules.h"
#include "pages/field_controls.h"
#include "pages/settings_page.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace lx47::controls {
class CStaticEx;
}

namespace lx47::pages {

class DlgSerial : public SettingsPage {
  Q_OBJECT
 public:
  explicit DlgSerial(QWidget* parent = nullptr);

  void LoadFromEntry(DeviceEntry& entry, int index) override;
  void EnableControls(bool enable, int index) override;
  bool StoreToBlock(DeviceEntry& entry, bool report) override;

  // Right double-clicks on the page that offer "460800".
  static constexpr int kBaudUnlockCount = 5;
  int m_UnlockCount = 0;
  int m_Offered460800 = 0;

  QComboBox* m_Baud = nullptr;      // 1015
  QComboBox* m_DataBits = nullptr;  // 1017
  QComboBox* m_Parity = nullptr;    // 1019
  QComboBox* m_StopBits = nullptr;  // 1021
  QComboBox* m_Flow = nullptr;      // 1023
  QLineEdit* m_Time = nullptr;      // 1027
  QLineEdit* m_Size = nullptr;      // 1030
  QLineEdit* m_Char = nullptr;      // 1033

 private:
  // The hidden gesture that offers "460800".
  void OnRightDoubleClick();
  void Offer460800();
  bool On(const QWidget* w) const;
  // What the controls hold.
  pagerules::SerialValues Values() const;

  std::vector<QWidget*> m_Controls;  // every control but the group boxes
  FieldControls m_FieldControls;
};

}  // namespace lx47::pages
