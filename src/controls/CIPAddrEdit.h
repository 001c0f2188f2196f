// An IPv4 address edit: four number fields of 0..255 between dots, in one
// sunken frame, as the device addresses are typed everywhere in the tool.
// Typing "." (or a space) moves to the next field, and so does a third digit;
// Backspace in an empty field and the arrow keys at a field's edge move back
// and forth; a field above 255 becomes 255. A blank field reads as 0.
// Pasting "a.b.c.d" fills all four fields. The address is read and written as
// four bytes in network order (the first byte is the leftmost field), the way
// the configuration block keeps it.
#pragma once

#include <QFrame>
#include <array>
#include <cstdint>

class QLabel;
class QLineEdit;

namespace lx47::controls {

class CIPAddrEdit : public QFrame {
  Q_OBJECT
 public:
  explicit CIPAddrEdit(QWidget* parent = nullptr);
  ~CIPAddrEdit() override;

  // The four bytes, first field first; blank fields read 0.
  std::array<std::uint8_t, 4> bytes() const;
  void setBytes(const std::array<std::uint8_t, 4>& b);
  // The same four bytes as a 32-bit value in network order (memory order
  // equals field order), as ConfigBlock's IPv4 fields hold them.
  std::uint32_t address() const;
  void setAddress(std::uint32_t networkOrder);

  // Every field empty.
  bool isBlank() const;
  void clearAddress();
  // "a.b.c.d" (blank fields as 0).
  QString text() const;

  QLineEdit* field(int i) const { return m_Fields[static_cast<std::size_t>(i)]; }

  QSize sizeHint() const override;

 signals:
  void addressEdited();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  int indexOf(QObject* o) const;
  void moveTo(int i, bool selectAll, bool caretAtEnd);
  void onEdited(int i);
  void clampField(int i);
  void normaliseField(int i);
  bool pasteAddress(const QString& text);
  void updateFieldWidths();

  std::array<QLineEdit*, 4> m_Fields{};
  std::array<QLabel*, 3> m_Dots{};
};

}  // namespace lx47::controls
