#include "controls/CStaticEx.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QStyle>

namespace lx47::controls {

CStaticEx::CStaticEx(QWidget* parent) : CStaticEx(QString(), parent) {}

CStaticEx::CStaticEx(const QString& text, QWidget* parent)
    : QLabel(text, parent), m_TextColor(Qt::black), m_BkColor(QApplication::palette().color(QPalette::Button)) {
  setTextFormat(Qt::PlainText);
}

void CStaticEx::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!m_DrawTransparent) p.fillRect(rect(), m_BkColor);
  drawFrame(&p);

  // The colour applies to the enabled label; a disabled one keeps the
  // desktop's greyed text so that the state stays visible.
  QPalette pal = palette();
  pal.setColor(QPalette::Active, QPalette::WindowText, m_TextColor);
  pal.setColor(QPalette::Inactive, QPalette::WindowText, m_TextColor);

  QRect cr = contentsRect();
  const int m = margin();
  cr.adjust(m, m, -m, -m);
  int flags = QStyle::visualAlignment(layoutDirection(), alignment());
  if (wordWrap()) flags |= Qt::TextWordWrap;
  style()->drawItemText(&p, cr, flags, pal, isEnabled(), text(), QPalette::WindowText);
}

}  // namespace lx47::controls
