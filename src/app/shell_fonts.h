// Fonts of the shell's windows, mapped to what the desktop has: the gothic
// dialog faces become the Japanese UI font, "Consolas" the monospace font.
#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace lx47::app {

// `preferred` faces come first: the dialogs that were drawn with a face of
// their own keep it where the desktop has it.
inline QFont GothicFont(qreal pointSize, int weight = 400, const QStringList& preferred = {}) {
  QFont f;
  QStringList families = preferred;
  families << QStringLiteral("Noto Sans CJK JP") << QStringLiteral("Noto Sans JP") << QStringLiteral("IPAGothic")
           << QStringLiteral("Yu Gothic UI") << QStringLiteral("MS UI Gothic") << QStringLiteral("Meiryo");
  f.setFamilies(families);
  f.setPointSizeF(pointSize);
  f.setWeight(static_cast<QFont::Weight>(weight));
  f.setItalic(false);
  return f;
}

inline QFont MonoFont(qreal pointSize, int weight = 400) {
  QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  f.setFamilies({QStringLiteral("Consolas"), QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Sans Mono"),
                 f.family()});
  f.setStyleHint(QFont::Monospace);
  f.setFixedPitch(true);
  f.setPointSizeF(pointSize);
  f.setWeight(static_cast<QFont::Weight>(weight));
  f.setItalic(false);
  return f;
}

}  // namespace lx47::app
