// Small pieces the pages build their controls from.
#pragma once

#include <QFont>
#include <QLineEdit>
#include <QWidget>

#include "controls/CStaticEx.h"

namespace lx47::pages {

// The page's own font face at a size and weight, asking for fixed pitch.
inline QFont PageFont(const QWidget* page, qreal pointSize, int weight) {
  QFont f = page->font();
  f.setPointSizeF(pointSize);
  f.setWeight(static_cast<QFont::Weight>(weight));
  f.setFixedPitch(true);
  return f;
}

// A range or note in its own colour, drawn on whatever background it sits.
inline controls::CStaticEx* Coloured(const QString& text, const QColor& c, QWidget* parent) {
  auto* l = new controls::CStaticEx(text, parent);
  l->setTextColor(c);
  l->m_DrawTransparent = true;
  return l;
}

// Shows the edit's text in plain letters, or masked with ● (U+25CF) whatever
// the platform's style would choose; redrawn at once.
inline void ShowPasswordPlain(QLineEdit* edit, bool plain) {
  edit->setEchoMode(plain ? QLineEdit::Normal : QLineEdit::Password);
  edit->repaint();
}

// A centred password edit whose mask character is ●.
inline void MakePasswordEdit(QLineEdit* edit) {
  edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 9679; }"));
  edit->setEchoMode(QLineEdit::Password);
}

}  // namespace lx47::pages
