// The Serial page as a widget: its messages, their icons and focus, which
// control reaches which field, the offered 460800 and its hidden gesture.
// The rules themselves are the unit tests'.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <functional>

#include "page_support.h"
#include "pages/DlgSerial.h"
#include "recording_messages.h"

using namespace lx47;
using pages::DlgSerial;

namespace {

const char* const kTimeMsg = "[シリアル設定]－「時間」（ミリ秒）の指定が無効または範囲外です。";
const char* const kSizeMsg = "[シリアル設定]－「受信データサイズ」 の指定が無効または範囲外です。";
const char* const kCharBadMsg = "[シリアル設定]－「受信キャラクター」（16進数）の指定が不正です。";
const char* const kBaudMsg = "[シリアル設定]－「ボーレート」の指定が無効です。";

DeviceEntry SerialEntry(std::uint8_t baud = 0xF4) { return test::EntryOf(test::SerialBlock(baud)); }

class SerialPage : public ::testing::Test {
 protected:
  test::RecordingMessages messages;
};

}  // namespace

// Each refusal of the rules shows its own text, with the texts' icon or
// none, and puts the focus on its field; a caller that asks for no report
// gets none.
TEST_F(SerialPage, RefusalsShowTheirMessageAndFocusTheField) {
  struct Case {
    const char* message;
    ui::MsgIcon icon;
    std::function<QWidget*(DlgSerial&)> field;
    std::function<void(QWidget*)> spoil;
  };
  const auto text = [](const char* t) {
    return [t](QWidget* w) { static_cast<QLineEdit*>(w)->setText(QString::fromUtf8(t)); };
  };
  const auto none = [](QWidget* w) { static_cast<QComboBox*>(w)->setCurrentIndex(-1); };
  const Case cases[] = {
      {kTimeMsg, ui::MsgIcon::Exclamation, [](DlgSerial& p) -> QWidget* { return p.m_Time; }, text("65536")},
      {kSizeMsg, ui::MsgIcon::Exclamation, [](DlgSerial& p) -> QWidget* { return p.m_Size; }, text("1441")},
      {kCharBadMsg, ui::MsgIcon::None, [](DlgSerial& p) -> QWidget* { return p.m_Char; }, text("g1")},
      {kBaudMsg, ui::MsgIcon::None, [](DlgSerial& p) -> QWidget* { return p.m_Baud; }, none},
      {"[シリアル設定]－「データビット」の指定が無効です。", ui::MsgIcon::None,
       [](DlgSerial& p) -> QWidget* { return p.m_DataBits; }, none},
      {"[シリアル設定]－「パリティー」の指定が無効です。", ui::MsgIcon::None,
       [](DlgSerial& p) -> QWidget* { return p.m_Parity; }, none},
      {"[シリアル設定]－「ストップビット」の指定が無効です。", ui::MsgIcon::None,
       [](DlgSerial& p) -> QWidget* { return p.m_StopBits; }, none},
      {"[シリアル設定]－「フロー制御」の指定が無効です。", ui::MsgIcon::None,
       [](DlgSerial& p) -> QWidget* { return p.m_Flow; }, none},
  };
  DlgSerial page;
  page.show();
  page.activateWindow();
  QApplication::processEvents();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    for (const bool report : {false, true}) {
      messages.clear();
      DeviceEntry entry = SerialEntry();
      page.LoadFromEntry(entry, 0);
      c.spoil(c.field(page));
      EXPECT_FALSE(page.StoreToBlock(entry, report));
      if (!report) {
        EXPECT_EQ(messages.count(), 0);
        continue;
      }
      ASSERT_EQ(messages.count(), 1);
      EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
      EXPECT_EQ(messages.last().icon, c.icon);
      EXPECT_EQ(QApplication::focusWidget(), c.field(page));
    }
  }
}

// What each control holds reaches its own field; the lists load as the
// rules choose, 460800 offered and kept for the page's lifetime.
TEST_F(SerialPage, ControlsAndLists) {
  DlgSerial page;
  DeviceEntry entry = SerialEntry(0xD8);
  page.LoadFromEntry(entry, 0);
  EXPECT_EQ(page.m_Baud->currentIndex(), -1);  // a code without an item
  EXPECT_EQ(page.m_Baud->count(), 9);
  EXPECT_EQ(page.m_Char->text(), "0D");
  EXPECT_EQ(page.m_Time->text(), "50");
  EXPECT_EQ(page.m_DataBits->currentText(), "8");

  page.m_Time->setText("0100");
  page.m_Size->setText("1440");
  page.m_Char->setText("7f");
  page.m_Baud->setCurrentIndex(0);
  page.m_DataBits->setCurrentIndex(0);
  page.m_Parity->setCurrentIndex(2);
  page.m_StopBits->setCurrentIndex(1);
  page.m_Flow->setCurrentIndex(1);
  ASSERT_TRUE(page.StoreToBlock(entry, true));
  ConfigBlock b = entry.block();
  EXPECT_EQ(b.get(field::Serial_Send_Time), 64);
  EXPECT_EQ(b.get(field::Serial_Send_Size), 1440);
  EXPECT_EQ(b.get(field::Serial_Send_Char), 0x7F);
  EXPECT_EQ(b.get(field::Serial_Baud_Rate), 0xA0);
  EXPECT_EQ(b.get(field::Serial_Data_Bits), 7);
  EXPECT_EQ(b.get(field::Serial_Parity), 2);
  EXPECT_EQ(b.get(field::Serial_Stop_Bits), 2);
  EXPECT_EQ(b.get(field::Serial_Flow_Control), 2);

  // 0xC0 offers 460800, selects it and stores it again; the item stays.
  DeviceEntry offered = SerialEntry(0xC0);
  page.LoadFromEntry(offered, 0);
  EXPECT_EQ(page.m_Baud->currentText(), "460800");
  ASSERT_TRUE(page.StoreToBlock(offered, true));
  EXPECT_EQ(offered.block().get(field::Serial_Baud_Rate), 0xC0);
  DeviceEntry plain = SerialEntry(0xF4);
  page.LoadFromEntry(plain, 0);
  EXPECT_EQ(page.m_Baud->currentText(), "9600");
  page.LoadFromEntry(offered, 0);
  EXPECT_EQ(page.m_Baud->count(), 10);
  EXPECT_EQ(messages.count(), 0);
}

TEST_F(SerialPage, RightDoubleClicksOffer460800Once) {
  DlgSerial page;
  const QPointF at(2, 2);
  for (int i = 0; i < DlgSerial::kBaudUnlockCount * 3; ++i) {
    QMouseEvent e(QEvent::MouseButtonDblClick, at, page.mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&page, &e);
    EXPECT_EQ(page.m_Baud->count(), i + 1 < DlgSerial::kBaudUnlockCount ? 9 : 10) << i;
  }
  EXPECT_EQ(page.m_Baud->itemText(9), "460800");
  // Disabled lists take no gesture.
  DlgSerial other;
  other.EnableControls(false, 0);
  for (int i = 0; i < DlgSerial::kBaudUnlockCount; ++i) {
    QMouseEvent e(QEvent::MouseButtonDblClick, at, other.mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&other, &e);
  }
  EXPECT_EQ(other.m_Baud->count(), 9);
  DeviceEntry entry = SerialEntry();
  EXPECT_TRUE(other.StoreToBlock(entry, true));  // nothing enabled, nothing checked
}
