#include "controls/CMACAddrEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

namespace lx47::controls {

namespace {

int hexValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  return 0;
}

bool isNavigationKey(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return true;
    default:
      return false;
  }
}

// Keys the line edit may see because they never change the text itself.
bool isPassThroughKey(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return true;
    default:
      return false;
  }
}

}  // namespace

CMACAddrEdit::CMACAddrEdit(QWidget* parent)
    : QLineEdit(parent), m_Mask(QStringLiteral("##:##:##:##:##:##")), m_AllowedChars(QStringLiteral("0123456789ABCDEF")) {
  // Text arrives only as typed characters; an input method would compose
  // full-width text that the mask refuses anyway.
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setInputMethodHints(Qt::ImhPreferUppercase | Qt::ImhNoPredictiveText | Qt::ImhLatinOnly);
  setAcceptDrops(false);
  setDragEnabled(false);
}

bool CMACAddrEdit::GetMACBytes(std::uint8_t out[6]) const {
  const QString t = text();
  bool first = true;
  int high = 0;
  int n = 0;
  for (int i = 0; i < kMaskLength; ++i) {
    if (m_Mask[i] != u'#') {
      first = true;
      high = 0;
      continue;
    }
    const int v = i < t.size() ? hexValue(t[i]) : 0;
    if (first) {
      high = v;
      first = false;
    } else {
      if (n < 6) out[n++] = static_cast<std::uint8_t>(high * 16 + v);
      first = true;
      high = 0;
    }
  }
  return true;
}

std::array<std::uint8_t, 6> CMACAddrEdit::macBytes() const {
  std::array<std::uint8_t, 6> b{};
  GetMACBytes(b.data());
  return b;
}

void CMACAddrEdit::selectionRange(int& s, int& e) const {
  if (hasSelectedText()) {
    s = selectionStart();
    e = selectionEnd();
  } else {
    s = e = cursorPosition();
  }
}

void CMACAddrEdit::writeAt(QString& text, int p, QChar c) {
  if (p < text.size())
    text[p] = c;
  else
    text.append(c);
}

void CMACAddrEdit::showText(const QString& t, int caret) {
  setText(t);
  setCursorPosition(caret);
}

void CMACAddrEdit::showTextSelected(const QString& t, int selStart, int selEnd) {
  setText(t);
  selEnd = std::min<int>(selEnd, t.size());
  if (selEnd > selStart)
    setSelection(selStart, selEnd - selStart);
  else
    setCursorPosition(std::min<int>(selStart, t.size()));
}

bool CMACAddrEdit::event(QEvent* e) {
  // Keys the mask handles must reach keyPressEvent even when a window-wide
  // shortcut uses the same keys.
  if (e->type() == QEvent::ShortcutOverride) {
    auto* k = static_cast<QKeyEvent*>(e);
    const bool ctrl = m_CtrlDown || (k->modifiers() & Qt::ControlModifier);
    switch (k->key()) {
      case Qt::Key_Insert:
      case Qt::Key_Delete:
      case Qt::Key_Backspace:
        k->accept();
        return true;
      case Qt::Key_X:
      case Qt::Key_C:
      case Qt::Key_V:
      case Qt::Key_H:
        if (ctrl) {
          k->accept();
          return true;
        }
        break;
      default:
        break;
    }
  }
  return QLineEdit::event(e);
}

void CMACAddrEdit::keyPressEvent(QKeyEvent* e) {
  const int key = e->key();
  if (key == Qt::Key_Insert) {  // also Shift+Insert and Ctrl+Insert
    e->accept();
    return;
  }
  if (key == Qt::Key_Control) {
    m_CtrlDown = true;
    QLineEdit::keyPressEvent(e);
    return;
  }
  if (key == Qt::Key_Delete) {
    EraseSelection();
    e->accept();
    return;
  }
  const bool ctrl = m_CtrlDown || (e->modifiers() & Qt::ControlModifier);
  if (ctrl && (key == Qt::Key_X || key == Qt::Key_C || key == Qt::Key_V)) {
    if (key == Qt::Key_X)
      EraseSelection();
    else if (key == Qt::Key_C)
      copy();
    else
      PasteMasked();
    e->accept();
    return;
  }
  if (key == Qt::Key_Backspace) {
    // Ctrl+Backspace is a control character, which the mask refuses.
    if (!ctrl) backspace();
    e->accept();
    return;
  }
  if (ctrl && key == Qt::Key_H && !(e->modifiers() & Qt::AltModifier)) {
    // Ctrl+H types the backspace character, as in every edit of the home
    // desktop.
    backspace();
    e->accept();
    return;
  }
  if (isNavigationKey(key) || isPassThroughKey(key) || e->matches(QKeySequence::SelectAll)) {
    QLineEdit::keyPressEvent(e);
    return;
  }
  if (ctrl) {
    // Undo, redo, word deletion and the like would change the text outside
    // the mask; like every control character they are ignored here.
    e->ignore();
    return;
  }
  const QString t = e->text();
  if (t.isEmpty()) {
    e->ignore();
    return;
  }
  for (QChar c : t) typeChar(c);
  e->accept();
}

void CMACAddrEdit::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Control) m_CtrlDown = false;
  QLineEdit::keyReleaseEvent(e);
}

void CMACAddrEdit::focusOutEvent(QFocusEvent* e) {
  // A Ctrl released while another window has the focus is never seen here;
  // forgetting it keeps a later plain X, C or V from acting as a command.
  m_CtrlDown = false;
  QLineEdit::focusOutEvent(e);
}

void CMACAddrEdit::typeChar(QChar c) {
  if (c == QChar(u'\b')) {
    backspace();
    return;
  }
  c = c.toUpper();
  int s = 0, e = 0;
  selectionRange(s, e);
  QString t = text();
  if (m_AllowedChars.contains(c)) {
    int p = s;
    if (p >= kMaskLength) return;
    if (m_Mask[p] != u'#') {
      writeAt(t, p, m_Mask[p]);
      ++p;
    }
    if (p < kMaskLength && m_Mask[p] == u'#') {
      writeAt(t, p, c);
      ++p;
    }
    showText(t, p);
    return;
  }
  if (s < kMaskLength && m_Mask[s] != u'#' && c == m_Mask[s]) {
    writeAt(t, s, c);
    showText(t, s + 1);
  }
}

void CMACAddrEdit::backspace() {
  int s = 0, e = 0;
  selectionRange(s, e);
  QString t = text();
  if (s == e && s > 0) --s;
  if (e == t.size()) {
    t.remove(s, e - s);
  } else {
    for (int i = s; i < e; ++i)
      if (isDigitPos(i)) t[i] = u'0';
  }
  showText(t, s);
}

void CMACAddrEdit::EraseSelection() {
  int s = 0, e = 0;
  selectionRange(s, e);
  if (s == e) return;
  QString t = text();
  if (e == t.size()) {
    t.remove(s, e - s);
  } else {
    for (int i = s; i < e; ++i) {
      if (isDigitPos(i))
        t[i] = u'0';
      else if (isLiteralPos(i))
        t[i] = m_Mask[i];
    }
  }
  showTextSelected(t, s, e);
}

void CMACAddrEdit::PasteMasked() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  if (!data || !data->hasText()) return;
  QString pasted = data->text();
  const auto nul = pasted.indexOf(QChar(u'\0'));
  if (nul >= 0) pasted.truncate(nul);
  const int plen = static_cast<int>(pasted.size());

  auto masked = [&](int i, QChar c) -> QChar {
    if (isLiteralPos(i)) return m_Mask[i];
    c = c.toUpper();
    return m_AllowedChars.contains(c) ? c : QChar(u'0');
  };

  int s = 0, e = 0;
  selectionRange(s, e);
  QString t = text();
  if (s < e) {
    for (int i = s; i < e && i - s < plen; ++i)
      if (i < kMaskLength) t[i] = masked(i, pasted[i - s]);
    showTextSelected(t, s, e);
    return;
  }
  const int room = kMaskLength - static_cast<int>(t.size());
  int i = s;
  for (; i < s + room && i - s < plen; ++i) writeAt(t, i, masked(i, pasted[i - s]));
  // The caret goes after the last character written.
  showText(t, i);
}

void CMACAddrEdit::cut() { EraseSelection(); }
void CMACAddrEdit::paste() { PasteMasked(); }
void CMACAddrEdit::clearSelectionMasked() { EraseSelection(); }

void CMACAddrEdit::inputMethodEvent(QInputMethodEvent* e) {
  // Committed text is typed character by character; a composition in
  // progress is not shown.
  for (QChar c : e->commitString()) typeChar(c);
  e->accept();
}

void CMACAddrEdit::contextMenuEvent(QContextMenuEvent* e) {
  // The line edit's own menu would cut, paste and undo around the mask, so
  // the control offers the same entries, with the same texts, wired to its
  // masked operations. Undo and redo stay disabled: the control keeps no
  // history of its own.
  QMenu menu(this);
  auto add = [&](const char* name, const char* text, QKeySequence::StandardKey keys, bool enabled, auto slot) {
    QString label = QCoreApplication::translate("QLineEdit", text);
    const QString shortcut = QKeySequence(keys).toString(QKeySequence::NativeText);
    if (!shortcut.isEmpty()) label += u'\t' + shortcut;
    QAction* a = menu.addAction(label);
    a->setObjectName(QLatin1String(name));
    a->setEnabled(enabled);
    connect(a, &QAction::triggered, this, slot);
  };
  const bool sel = hasSelectedText();
  const QMimeData* clip = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  add("edit-undo", "&Undo", QKeySequence::Undo, false, [] {});
  add("edit-redo", "&Redo", QKeySequence::Redo, false, [] {});
  menu.addSeparator();
  add("edit-cut", "Cu&t", QKeySequence::Cut, sel, [this] { EraseSelection(); });
  add("edit-copy", "&Copy", QKeySequence::Copy, sel, [this] { copy(); });
  add("edit-paste", "&Paste", QKeySequence::Paste, clip && clip->hasText(), [this] { PasteMasked(); });
  add("edit-delete", "Delete", QKeySequence::UnknownKey, sel, [this] { EraseSelection(); });
  menu.addSeparator();
  add("select-all", "Select All", QKeySequence::SelectAll, !text().isEmpty(), [this] { selectAll(); });
  menu.exec(e->globalPos());
}

void CMACAddrEdit::mouseReleaseEvent(QMouseEvent* e) {
  // The middle button would paste the X11 selection without the mask.
  if (e->button() == Qt::MiddleButton) {
    e->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(e);
}

void CMACAddrEdit::dragEnterEvent(QDragEnterEvent* e) { e->ignore(); }
void CMACAddrEdit::dragMoveEvent(QDragMoveEvent* e) { e->ignore(); }
void CMACAddrEdit::dropEvent(QDropEvent* e) { e->ignore(); }

}  // namespace lx47::controls
