// What every settings page offers the main window and the write command.
#pragma once

#include <QKeyEvent>
#include <QString>
#include <QWidget>

#include "protocol/device_table.h"

namespace lx47::pages {

class SettingsPage : public QWidget {
 public:
  using QWidget::QWidget;
  // Fills the page from the entry's block; index is the entry's place in
  // the device table (used by the Wi-Fi and Special pages).
  virtual void LoadFromEntry(DeviceEntry& entry, int index) = 0;
  // Enables or disables the page's controls; dependent controls follow
  // their check boxes and radio buttons.
  virtual void EnableControls(bool enable, int index) = 0;
  // Validates the fields in the page's fixed order and writes them into the
  // entry's block in place; stops at the first invalid field and returns
  // false. With report true the field's message is shown and the field gets
  // the focus (the Wi-Fi and Special pages show their message in both cases).
  virtual bool StoreToBlock(DeviceEntry& entry, bool report) = 0;
  // Shows (true) the extended settings that the main window's hidden gesture
  // reveals. Only the Network and Option pages have any; the others ignore it.
  virtual void ShowExtendedSettings(bool shown) {}

  QString m_PageTitle;

 protected:
  // Enter and Escape in a page's edit would otherwise reach the main
  // window's default button (a search) or close it; a page is no dialog.
  void keyPressEvent(QKeyEvent* e) override {
    switch (e->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Escape:
        e->accept();
        return;
      default:
        QWidget::keyPressEvent(e);
    }
  }
};

}  // namespace lx47::pages
