// Asks for the MAC address of the device to return to its factory settings.
#pragma once

#include <cstdint>

#include "protocol/config_block.h"
#include "ui/dialog.h"

class QLabel;
class QPushButton;

namespace lx47::controls {
class CMACAddrEdit;
}

namespace lx47::app {

class DlgFactoryReset : public ui::Dialog {
  Q_OBJECT
 public:
  explicit DlgFactoryReset(QWidget* parent = nullptr);

  // In: the address the edit shows at opening; out (on OK): the typed one.
  MacAddress m_Mac{};
  // In: the caller's value; out (on OK): always 2.
  std::uint8_t m_EraseMode = 0;

  static constexpr std::uint8_t kEraseModeSent = 2;

  controls::CMACAddrEdit* macEdit() const { return m_MacEdit; }
  QLabel* iconLabel() const { return m_Icon; }
  QLabel* textLabel() const { return m_Text; }
  QPushButton* okButton() const { return m_OkButton; }
  QPushButton* cancelButton() const { return m_CancelButton; }

 public slots:
  void accept() override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void OnInitDialog();

  QLabel* m_Icon = nullptr;          // 1043
  QLabel* m_Text = nullptr;          // 1044
  controls::CMACAddrEdit* m_MacEdit = nullptr;  // 1046
  QLabel* m_EraseLabel = nullptr;    // 1045, never shown
  QWidget* m_EraseList = nullptr;    // 1121, never shown or filled
  QPushButton* m_OkButton = nullptr;
  QPushButton* m_CancelButton = nullptr;
  bool m_Opened = false;
};

}  // namespace lx47::app
