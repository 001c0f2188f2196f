// A static text whose colours its owner chooses: hints, range notes and
// status lines that stand out in colour.
#pragma once

#include <QColor>
#include <QLabel>

namespace lx47::controls {

class CStaticEx : public QLabel {
 public:
  explicit CStaticEx(QWidget* parent = nullptr);
  explicit CStaticEx(const QString& text, QWidget* parent = nullptr);

  // Owners write these directly; the next repaint uses them, so a change
  // after the label has been shown needs only an update().
  QColor m_TextColor;  // black at construction
  QColor m_BkColor;    // the desktop's button-face (dialog) colour at construction
  // The owner paints the background itself (dark dialogs): the label then
  // draws only its text, in m_TextColor.
  bool m_DrawTransparent = false;

  // Sets m_TextColor and repaints.
  void setTextColor(const QColor& c) {
    m_TextColor = c;
    update();
  }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace lx47::controls
