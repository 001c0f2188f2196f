#include "ui/dialog.h"

#include <QKeyEvent>
#include <QPushButton>

namespace lx47::ui {

void Dialog::keyPressEvent(QKeyEvent* e) {
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
  if (enter && mods == Qt::NoModifier) {
    // A focused push button of this dialog (not of a dialog inside it)
    // that Qt did not press itself.
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (button && button->window() == this && button->isVisible() && button->isEnabled()) {
      e->accept();
      button->click();
      return;
    }
  }
  QDialog::keyPressEvent(e);
}

}  // namespace lx47::ui
