#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QTimer>

#include "controls/CMACAddrEdit.h"
#include "keys.h"

using lx47::controls::CMACAddrEdit;
using namespace lx47::test;

namespace {

constexpr const char* kFull = "12:34:56:78:9A:BC";

struct EditCase {
  const char* name;
  const char* start;  // initial text
  int selStart;       // caret, or start of the selection
  int selLen;         // 0: no selection
  std::vector<KeyStep> keys;
  const char* text;   // expected text
  int caret;          // expected cursor position
  int expSelStart = -1;  // expected selection, when one stays
  int expSelLen = 0;
};

void prepare(CMACAddrEdit& e, const char* text, int s, int len) {
  e.setText(QString::fromUtf8(text));
  if (len > 0)
    e.setSelection(s, len);
  else
    e.setCursorPosition(s);
}

QString clip() { return QGuiApplication::clipboard()->text(); }
void setClip(const QString& t) { QGuiApplication::clipboard()->setText(t); }

}  // namespace

TEST(MacEdit, KeySequences) {
  const std::vector<EditCase> cases = {
      {"lower case shown upper", "", 0, 0, Typed("a"), "A", 1},
      {"twelve digits get their colons", "", 0, 0, Typed("001122aabbcc"), "00:11:22:AA:BB:CC", 17},
      {"digit on a colon writes colon and digit", "12:34", 2, 0, Typed("5"), "12:54", 4},
      {"typing overwrites inside the text", kFull, 3, 0, Typed("ff"), "12:FF:56:78:9A:BC", 5},
      {"full text, caret at end: nothing", kFull, 17, 0, Typed("7"), kFull, 17},
      {"non-hex at a digit position: nothing", kFull, 0, 0, Typed("#G "), kFull, 0},
      {"colon typed at a colon position", "12", 2, 0, Typed(":"), "12:", 3},
      {"colon typed at a digit position", "12", 1, 0, Typed(":"), "12", 1},
      {"selection is overwritten one char only", kFull, 0, 17, Typed("e"), "E2:34:56:78:9A:BC", 1},
      {"backspace at the end shortens", "12:34", 5, 0, {K(Qt::Key_Backspace)}, "12:3", 4},
      {"backspace inside zeroes, caret back", kFull, 1, 0, {K(Qt::Key_Backspace)}, "02:34:56:78:9A:BC", 0},
      {"backspace after a colon only moves", kFull, 3, 0, {K(Qt::Key_Backspace)}, kFull, 2},
      {"backspace on selection to the end", "12:34:56", 3, 5, {K(Qt::Key_Backspace)}, "12:", 3},
      {"backspace on inner selection", kFull, 0, 5, {K(Qt::Key_Backspace)}, "00:00:56:78:9A:BC", 0},
      {"ctrl+backspace ignored", kFull, 4, 0, {Ctrl(Qt::Key_Backspace)}, kFull, 4},
      // Ctrl+H types the backspace character: the same as the Backspace key.
      {"ctrl+h at the end shortens", "12:34", 5, 0, {Ctrl(Qt::Key_H)}, "12:3", 4},
      {"ctrl+h inside zeroes, caret back", kFull, 1, 0, {Ctrl(Qt::Key_H)}, "02:34:56:78:9A:BC", 0},
      {"ctrl+h on inner selection", kFull, 0, 5, {Ctrl(Qt::Key_H)}, "00:00:56:78:9A:BC", 0},
      {"delete without selection: nothing", kFull, 5, 0, {K(Qt::Key_Delete)}, kFull, 5},
      {"delete on the middle pair keeps colons", kFull, 5, 4, {K(Qt::Key_Delete)}, "12:34:00:78:9A:BC", 9, 5, 4},
      {"delete on selection to the end", kFull, 8, 9, {K(Qt::Key_Delete)}, "12:34:56", 8},
      {"shift+delete erases like delete", kFull, 0, 2, {K(Qt::Key_Delete, Qt::ShiftModifier)}, "00:34:56:78:9A:BC", 2, 0, 2},
      {"ctrl+x erases", kFull, 0, 2, {Ctrl(Qt::Key_X)}, "00:34:56:78:9A:BC", 2, 0, 2},
      {"insert ignored", kFull, 0, 17, {K(Qt::Key_Insert)}, kFull, 17, 0, 17},
      {"shift+insert does not paste", kFull, 0, 17, {K(Qt::Key_Insert, Qt::ShiftModifier)}, kFull, 17, 0, 17},
      {"ctrl+z does not undo", "", 0, 0, {Ch('5'), Ctrl(Qt::Key_Z)}, "5", 1},
      {"ctrl+a selects, then digit overwrites at 0", kFull, 5, 0, {Ctrl(Qt::Key_A), Ch('0')}, "02:34:56:78:9A:BC", 1},
      {"arrows move over colons", kFull, 0, 0, {K(Qt::Key_Right), K(Qt::Key_Right), Ch('D')}, "12:D4:56:78:9A:BC", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setClip(QStringLiteral("FF:FF:FF:FF:FF:FF"));
    CMACAddrEdit e;
    prepare(e, c.start, c.selStart, c.selLen);
    sendKeys(&e, c.keys);
    EXPECT_EQ(e.text(), QString::fromUtf8(c.text));
    EXPECT_EQ(e.cursorPosition(), c.caret);
    if (c.expSelStart >= 0) {
      EXPECT_EQ(e.selectionStart(), c.expSelStart);
      EXPECT_EQ(e.selectionLength(), c.expSelLen);
    } else if (c.name != std::string("ctrl+a selects, then digit overwrites at 0")) {
      EXPECT_FALSE(e.hasSelectedText());
    }
    EXPECT_EQ(clip(), QStringLiteral("FF:FF:FF:FF:FF:FF")) << "the clipboard must not change";
  }
}

TEST(MacEdit, CopyUsesClipboardCutDoesNot) {
  CMACAddrEdit e;
  prepare(e, kFull, 0, 5);
  setClip("x");
  sendKey(&e, Ctrl(Qt::Key_C));
  EXPECT_EQ(clip(), "12:34");
  EXPECT_EQ(e.text(), kFull);
  setClip("x");
  sendKey(&e, Ctrl(Qt::Key_X));
  EXPECT_EQ(clip(), "x");
  EXPECT_EQ(e.text(), "00:00:56:78:9A:BC");
}

TEST(MacEdit, PasteAlignsWithTheMask) {
  struct P {
    const char* name;
    const char* start;
    int s, len;
    const char* pasted;
    const char* text;
    int caret;
  };
  const std::vector<P> cases = {
      {"full address into empty", "", 0, 0, "aa:bb:cc:dd:ee:ff", "AA:BB:CC:DD:EE:FF", 17},
      {"full address over the whole text", kFull, 0, 17, "00:11:22:33:44:55", "00:11:22:33:44:55", 17},
      {"twelve digits lose one at each colon", "", 0, 0, "001122334455", "00:12:33:45:", 12},
      {"G becomes 0", "", 0, 0, "1G", "10", 2},
      {"no room in a full text", kFull, 3, 0, "FF", kFull, 3},
      {"short paste over a long selection", kFull, 0, 17, "ab", "AB:34:56:78:9A:BC", 17},
      {"paste stops at the room left", "12:34:56:78:9A:B", 16, 0, "CDE", "12:34:56:78:9A:BC", 17},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CMACAddrEdit e;
    prepare(e, c.start, c.s, c.len);
    setClip(QString::fromUtf8(c.pasted));
    sendKey(&e, Ctrl(Qt::Key_V));
    EXPECT_EQ(e.text(), QString::fromUtf8(c.text));
    EXPECT_EQ(e.cursorPosition(), c.caret);
    if (c.len > 0) {
      EXPECT_EQ(e.selectionLength(), c.len);
    }
  }
}

TEST(MacEdit, OtherEditingPathsKeepTheMask) {
  // Slots invoked by name (as menus and accessibility do).
  CMACAddrEdit e;
  prepare(e, kFull, 0, 2);
  setClip("keep");
  QMetaObject::invokeMethod(&e, "cut");
  EXPECT_EQ(e.text(), "00:34:56:78:9A:BC");
  EXPECT_EQ(clip(), "keep");
  prepare(e, "", 0, 0);
  setClip("zz:zz");
  QMetaObject::invokeMethod(&e, "paste");
  EXPECT_EQ(e.text(), "00:00");

  // Input method commits are typed character by character.
  prepare(e, "", 0, 0);
  QInputMethodEvent ime(QString(), {});
  ime.setCommitString(QStringLiteral("abxq1"));
  QApplication::sendEvent(&e, &ime);
  EXPECT_EQ(e.text(), "AB:1");

  // The context menu's paste and delete entries go through the mask; undo is off.
  prepare(e, kFull, 0, 17);
  setClip("gg");
  bool sawPaste = false, undoEnabled = true;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions()) {
      if (a->objectName() == "edit-undo") undoEnabled = a->isEnabled();
      if (a->objectName() == "edit-paste") {
        sawPaste = true;
        a->trigger();
      }
    }
    menu->close();
  });
  QContextMenuEvent cm(QContextMenuEvent::Mouse, QPoint(2, 2), e.mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(&e, &cm);
  EXPECT_TRUE(sawPaste);
  EXPECT_FALSE(undoEnabled);
  EXPECT_EQ(e.text(), "00:34:56:78:9A:BC");
  EXPECT_FALSE(e.acceptDrops());
}

TEST(MacEdit, GetMACBytes) {
  struct M {
    const char* text;
    std::array<std::uint8_t, 6> bytes;
  };
  const std::vector<M> cases = {
      {"", {0, 0, 0, 0, 0, 0}},
      {"00:1", {0x00, 0x10, 0, 0, 0, 0}},
      {kFull, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}},
      {"ab:cd:ef:01:23:45", {0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45}},
      {"1Z:34", {0x10, 0x34, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    CMACAddrEdit e;
    e.setText(c.text);
    std::uint8_t out[6] = {9, 9, 9, 9, 9, 9};
    EXPECT_TRUE(e.GetMACBytes(out));
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 6), std::vector<std::uint8_t>(c.bytes.begin(), c.bytes.end()))
        << c.text;
  }
}
