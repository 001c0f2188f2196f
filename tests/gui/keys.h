// Key events for widget tests, delivered the way a keyboard delivers them:
// modifier keys pressed before and released after the key itself.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>
#include <vector>

namespace lx47::test {

struct KeyStep {
  int key = 0;
  Qt::KeyboardModifiers mods = Qt::NoModifier;
  QString text;  // what the key types
};

inline void sendKey(QWidget* w, const KeyStep& k) {
  const bool ctrl = k.mods & Qt::ControlModifier;
  const bool shift = k.mods & Qt::ShiftModifier;
  Qt::KeyboardModifiers held = Qt::NoModifier;
  auto send = [&](QEvent::Type type, int key, Qt::KeyboardModifiers m, const QString& text) {
    QKeyEvent e(type, key, m, text);
    QApplication::sendEvent(w, &e);
  };
  if (ctrl) {
    send(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, {});
    held |= Qt::ControlModifier;
  }
  if (shift) {
    send(QEvent::KeyPress, Qt::Key_Shift, held | Qt::ShiftModifier, {});
    held |= Qt::ShiftModifier;
  }
  send(QEvent::KeyPress, k.key, k.mods, k.text);
  send(QEvent::KeyRelease, k.key, k.mods, k.text);
  if (shift) send(QEvent::KeyRelease, Qt::Key_Shift, held, {});
  if (ctrl) send(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier, {});
}

// One key that types its character (letters, digits, punctuation).
inline KeyStep Ch(QChar c) {
  int key = c.toUpper().unicode();
  return {key, Qt::NoModifier, QString(c)};
}
inline KeyStep K(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, QString text = {}) { return {key, mods, text}; }
inline KeyStep Ctrl(int key) { return {key, Qt::ControlModifier, {}}; }

// Typing a string: one key per character.
inline std::vector<KeyStep> Typed(const QString& s) {
  std::vector<KeyStep> v;
  for (QChar c : s) v.push_back(Ch(c));
  return v;
}

inline void sendKeys(QWidget* w, const std::vector<KeyStep>& steps) {
  for (const auto& k : steps) sendKey(w, k);
}

}  // namespace lx47::test
