// The base of the tool's dialogs: the keyboard rule of the tool's home
// desktop, where Enter presses the push button that has the focus and the
// default button takes Enter only while the focus is on some other control.
// Qt hands Enter to the default button whenever the focused button is not
// an auto-default one; deriving from this class makes every dialog behave
// the same whatever its buttons say.
#pragma once

#include <QDialog>

class QKeyEvent;

namespace lx47::ui {

class Dialog : public QDialog {
  Q_OBJECT
 public:
  using QDialog::QDialog;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
};

}  // namespace lx47::ui
