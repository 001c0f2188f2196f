// The Serial page, second tab of the main window: the RS-232C settings and
// the three conditions on which the device forwards serial data to Wi-Fi.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "pages/settings_page.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace lx47::controls {
class CStaticEx;
}

namespace lx47::pages {

// Serial_Baud_Rate codes by list position; the last one has no list item.
inline constexpr std::array<std::uint8_t, 11> BaudCodeTable = {0xA0, 0xD0, 0xE8, 0xF4, 0xFA, 0xFD,
                                                                0xFE, 0xFF, 0xBB, 0xC0, 0xD8};

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

 protected:

 private:
  // The hidden gesture that offers "460800".
  void OnRightDoubleClick();
  void Offer460800();
  bool On(const QWidget* w) const;

  std::vector<QWidget*> m_Controls;  // every control but the group boxes
};

}  // namespace lx47::pages
