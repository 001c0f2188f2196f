// A single-line edit that only ever holds a MAC address "##:##:##:##:##:##".
// Digits go to digit positions only, the control writes the colons itself,
// and deleting turns digits into "0" instead of shifting the rest of the
// address. Every editing path of the line edit (keys, context menu, clipboard,
// input method, middle-button paste, drops) goes through the mask.
#pragma once

#include <QLineEdit>
#include <QString>
#include <array>
#include <cstdint>

class QMenu;

namespace lx47::controls {

class CMACAddrEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit CMACAddrEdit(QWidget* parent = nullptr);

  // Six bytes from the current text; missing or non-hex digits read as 0.
  // Always true.
  bool GetMACBytes(std::uint8_t out[6]) const;
  std::array<std::uint8_t, 6> macBytes() const;

  static constexpr int kMaskLength = 17;

 public slots:
  // The cut, paste and clear actions of the edit. They hide the line edit's
  // own slots of the same names, so that invoking them by name (menus,
  // accessibility, QMetaObject) also keeps to the mask. A cut puts nothing
  // on the clipboard.
  void cut();
  void paste();
  void clearSelectionMasked();

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void typeChar(QChar c);
  void backspace();
  void EraseSelection();
  void PasteMasked();
  void selectionRange(int& s, int& e) const;
  bool isDigitPos(int i) const { return i >= 0 && i < kMaskLength && m_Mask[i] == u'#'; }
  bool isLiteralPos(int i) const { return i >= 0 && i < kMaskLength && m_Mask[i] != u'#'; }
  static void writeAt(QString& text, int p, QChar c);
  // Shows text with the caret at caret, or with [selStart, selEnd) selected.
  void showText(const QString& text, int caret);
  void showTextSelected(const QString& text, int selStart, int selEnd);

  QString m_Mask;
  QString m_AllowedChars;
  bool m_CtrlDown = false;
};

}  // namespace lx47::controls
