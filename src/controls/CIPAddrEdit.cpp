#include "controls/CIPAddrEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <cstring>

namespace lx47::controls {

namespace {

int FieldValue(const QLineEdit* f) {
  bool ok = false;
  const int v = f->text().toInt(&ok);
  return ok ? v : 0;
}

// A field's width for its font: the widest octet from 0 to 255 (digits are
// not equally wide in every font, bold ones least of all), the line edit's
// own margin of 2 pixels on each side of its text, and room of as much
// again so that no digit touches a dot or the border.
int FieldWidth(const QFontMetrics& fm) {
  int widest = 0;
  for (int octet = 0; octet <= 255; ++octet) widest = std::max(widest, fm.horizontalAdvance(QString::number(octet)));
  constexpr int kLineEditMargin = 2;
  constexpr int kRoom = 3;
  return widest + 2 * (kLineEditMargin + kRoom);
}

}  // namespace

CIPAddrEdit::CIPAddrEdit(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Sunken);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(0);
  auto* validator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
  for (int i = 0; i < 4; ++i) {
    auto* f = new QLineEdit(this);
    f->setFrame(false);
    f->setAlignment(Qt::AlignCenter);
    f->setMaxLength(3);
    f->setValidator(validator);
    f->setContextMenuPolicy(Qt::NoContextMenu);
    // Tab enters the control at its first field and leaves it from there;
    // the other fields are reached by typing, clicking and the arrow keys.
    f->setFocusPolicy(i == 0 ? Qt::StrongFocus : Qt::ClickFocus);
    f->installEventFilter(this);
    connect(f, &QLineEdit::textEdited, this, [this, i] { onEdited(i); });
    connect(f, &QLineEdit::editingFinished, this, [this, i] { normaliseField(i); });
    m_Fields[static_cast<std::size_t>(i)] = f;
    layout->addWidget(f, 1);
    if (i < 3) {
      auto* dot = new QLabel(QStringLiteral("."), this);
      dot->setAlignment(Qt::AlignCenter);
      m_Dots[static_cast<std::size_t>(i)] = dot;
      layout->addWidget(dot);
    }
  }
  setFocusProxy(m_Fields[0]);
  updateFieldWidths();
}

// The fields outlive this part of the object: QWidget's destructor takes the
// focus from them, and a field losing focus would call back into a control
// that is already half gone.
CIPAddrEdit::~CIPAddrEdit() {
  for (QLineEdit* f : m_Fields) {
    if (!f) continue;
    f->removeEventFilter(this);
    f->disconnect(this);
  }
}

std::array<std::uint8_t, 4> CIPAddrEdit::bytes() const {
  std::array<std::uint8_t, 4> b{};
  for (std::size_t i = 0; i < 4; ++i) {
    const int v = FieldValue(m_Fields[i]);
    b[i] = static_cast<std::uint8_t>(v > 255 ? 255 : v);
  }
  return b;
}

void CIPAddrEdit::setBytes(const std::array<std::uint8_t, 4>& b) {
  for (std::size_t i = 0; i < 4; ++i) m_Fields[i]->setText(QString::number(b[i]));
}

std::uint32_t CIPAddrEdit::address() const {
  const auto b = bytes();
  std::uint32_t v;
  std::memcpy(&v, b.data(), 4);
  return v;
}

void CIPAddrEdit::setAddress(std::uint32_t networkOrder) {
  std::array<std::uint8_t, 4> b;
  std::memcpy(b.data(), &networkOrder, 4);
  setBytes(b);
}

bool CIPAddrEdit::isBlank() const {
  for (const QLineEdit* f : m_Fields)
    if (!f->text().isEmpty()) return false;
  return true;
}

void CIPAddrEdit::clearAddress() {
  for (QLineEdit* f : m_Fields) f->clear();
}

QString CIPAddrEdit::text() const {
  const auto b = bytes();
  return QStringLiteral("%1.%2.%3.%4").arg(b[0]).arg(b[1]).arg(b[2]).arg(b[3]);
}

QSize CIPAddrEdit::sizeHint() const {
  const QFontMetrics fm(font());
  int dots = 0;
  for (const QLabel* dot : m_Dots) dots += dot->sizeHint().width();
  const QMargins frame = contentsMargins() + layout()->contentsMargins();
  return {4 * FieldWidth(fm) + dots + frame.left() + frame.right(), fm.height() + 6};
}

int CIPAddrEdit::indexOf(QObject* o) const {
  for (int i = 0; i < 4; ++i)
    if (m_Fields[static_cast<std::size_t>(i)] == o) return i;
  return -1;
}

void CIPAddrEdit::moveTo(int i, bool selectAll, bool caretAtEnd) {
  if (i < 0 || i > 3) return;
  QLineEdit* f = m_Fields[static_cast<std::size_t>(i)];
  f->setFocus(Qt::OtherFocusReason);
  if (selectAll)
    f->selectAll();
  else
    f->setCursorPosition(caretAtEnd ? f->text().size() : 0);
}

void CIPAddrEdit::clampField(int i) {
  QLineEdit* f = m_Fields[static_cast<std::size_t>(i)];
  if (!f->text().isEmpty() && FieldValue(f) > 255) f->setText(QStringLiteral("255"));
}

void CIPAddrEdit::normaliseField(int i) {
  // Leaving a field shows its number as it reads: "010" becomes "10".
  QLineEdit* f = m_Fields[static_cast<std::size_t>(i)];
  if (f->text().isEmpty()) return;
  const int v = FieldValue(f);
  f->setText(QString::number(v > 255 ? 255 : v));
}

void CIPAddrEdit::onEdited(int i) {
  QLineEdit* f = m_Fields[static_cast<std::size_t>(i)];
  clampField(i);
  emit addressEdited();
  if (f->text().size() == 3 && f->cursorPosition() == 3 && i < 3) moveTo(i + 1, true, false);
}

bool CIPAddrEdit::pasteAddress(const QString& text) {
  const QStringList parts = text.trimmed().split(u'.');
  if (parts.size() != 4) return false;
  std::array<std::uint8_t, 4> b{};
  for (std::size_t i = 0; i < 4; ++i) {
    bool ok = false;
    const int v = parts[static_cast<int>(i)].trimmed().toInt(&ok);
    if (!ok || v < 0 || v > 255) return false;
    b[i] = static_cast<std::uint8_t>(v);
  }
  setBytes(b);
  emit addressEdited();
  return true;
}

bool CIPAddrEdit::eventFilter(QObject* watched, QEvent* event) {
  const int i = indexOf(watched);
  if (i < 0 || event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
  auto* k = static_cast<QKeyEvent*>(event);
  QLineEdit* f = m_Fields[static_cast<std::size_t>(i)];
  const bool noSelection = !f->hasSelectedText();
  if (k->matches(QKeySequence::Paste)) {
    const QString clip = QApplication::clipboard()->text();
    if (clip.contains(u'.')) {
      pasteAddress(clip);  // a dotted text that is not an address is dropped
      return true;
    }
    return false;  // digits go into this field through its validator
  }
  switch (k->key()) {
    case Qt::Key_Period:
    case Qt::Key_Space:
      if (!f->text().isEmpty() && i < 3) moveTo(i + 1, true, false);
      return true;
    case Qt::Key_Backspace:
      if (noSelection && f->cursorPosition() == 0 && i > 0) {
        moveTo(i - 1, false, true);
        return true;
      }
      return false;
    case Qt::Key_Left:
      if (k->modifiers() == Qt::NoModifier && noSelection && f->cursorPosition() == 0 && i > 0) {
        moveTo(i - 1, false, true);
        return true;
      }
      return false;
    case Qt::Key_Right:
      if (k->modifiers() == Qt::NoModifier && noSelection && f->cursorPosition() == f->text().size() && i < 3) {
        moveTo(i + 1, false, false);
        return true;
      }
      return false;
    default:
      return false;
  }
}

void CIPAddrEdit::changeEvent(QEvent* event) {
  QFrame::changeEvent(event);
  if (event->type() == QEvent::FontChange) updateFieldWidths();
  if (event->type() == QEvent::EnabledChange) {
    // A disabled control shows the dialog colour, as the platform's edits do.
    setBackgroundRole(isEnabled() ? QPalette::Base : QPalette::Window);
  }
}

void CIPAddrEdit::updateFieldWidths() {
  const QFontMetrics fm(font());
  for (QLineEdit* f : m_Fields) f->setMinimumWidth(FieldWidth(fm));
  updateGeometry();
}

}  // namespace lx47::controls
