#include "controls/read_only_look.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPalette>

namespace lx47::controls {

namespace {

// The background of the dialog for a read-only edit, the input colour for
// an editable one; only the background role changes, so text colours that
// an owner set stay.
void Apply(QLineEdit* edit) {
  const QWidget* parent = edit->parentWidget();
  const QPalette around = parent ? parent->palette() : QApplication::palette(edit);
  QPalette p = edit->palette();
  p.setBrush(QPalette::Base, edit->isReadOnly() ? around.brush(QPalette::Window) : around.brush(QPalette::Base));
  edit->setPalette(p);
}

class ReadOnlyLook final : public QObject {
 public:
  explicit ReadOnlyLook(QLineEdit* edit) : QObject(edit), m_Edit(edit) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_Edit && event->type() == QEvent::ReadOnlyChange) Apply(m_Edit);
    return false;
  }

 private:
  QLineEdit* m_Edit;
};

}  // namespace

void ShowReadOnlyLook(QLineEdit* edit) {
  edit->installEventFilter(new ReadOnlyLook(edit));
  Apply(edit);
}

}  // namespace lx47::controls
