// The Serial page: the forwarding time, size and character texts, the baud
// codes (the hidden 460800, the code without an item, unknown codes), the
// small lists' values and what a failed store leaves behind.
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

DeviceEntry SerialEntry(std::uint8_t baud = 0xF4) {
  DeviceEntry e = test::EntryWithBlock();
  ConfigBlock b = e.block();
  b.set(field::Serial_Baud_Rate, baud);
  b.set(field::Serial_Data_Bits, 8);
  b.set(field::Serial_Parity, 0);
  b.set(field::Serial_Stop_Bits, 1);
  b.set(field::Serial_Flow_Control, 0);
  b.set(field::Serial_Send_Char, 0x0D);
  b.set(field::Serial_Send_Size, 100);
  b.set(field::Serial_Send_Time, 50);
  return e;
}

class SerialPage : public ::testing::Test {
 protected:
  test::RecordingMessages messages;
};

}  // namespace

TEST_F(SerialPage, StoreToBlockOfTheTexts) {
  struct Case {
    const char* name;
    const char* time;
    const char* size;
    const char* chr;
    const char* message;  // nullptr: stored
    std::uint16_t expTime, expSize;
    std::uint8_t expChar;
    ui::MsgIcon icon = ui::MsgIcon::Exclamation;
  };
  // Time, size and character as the block holds them before the store.
  const std::vector<Case> cases = {
      {"octal time, decimal size, one hex digit", "0100", "1440", "a", nullptr, 64, 1440, 0x0A},
      {"empty texts store 0", "", "", "", nullptr, 0, 0, 0},
      {"trimmed, trailing characters ignored", " 65535 ", "12ab", "7f", nullptr, 65535, 12, 0x7F},
      {"hex time", "0x20", "0", "FF", nullptr, 32, 0, 0xFF},
      {"time 65536", "65536", "1", "1", kTimeMsg, 50, 100, 0x0D, ui::MsgIcon::Exclamation},
      {"negative time", "-1", "1", "1", kTimeMsg, 50, 100, 0x0D, ui::MsgIcon::Exclamation},
      {"size 1441 after the time is stored", "7", "1441", "1", kSizeMsg, 7, 100, 0x0D, ui::MsgIcon::Exclamation},
      {"character g1", "7", "8", "g1", kCharBadMsg, 7, 8, 0x0D, ui::MsgIcon::None},
      {"character 0x refused", "7", "8", "0x", kCharBadMsg, 7, 8, 0x0D, ui::MsgIcon::None},
  };
  DlgSerial page;
  page.show();
  page.activateWindow();
  QApplication::processEvents();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const bool report : {false, true}) {
      messages.clear();
      DeviceEntry entry = SerialEntry();
      page.LoadFromEntry(entry, 0);
      page.m_Time->setText(QString::fromUtf8(c.time));
      page.m_Size->setText(QString::fromUtf8(c.size));
      page.m_Char->setText(QString::fromUtf8(c.chr));
      EXPECT_EQ(page.StoreToBlock(entry, report), c.message == nullptr);
      ConfigBlock b = entry.block();
      EXPECT_EQ(b.get(field::Serial_Send_Time), c.expTime);
      EXPECT_EQ(b.get(field::Serial_Send_Size), c.expSize);
      EXPECT_EQ(b.get(field::Serial_Send_Char), c.expChar);
      if (!report || !c.message) {
        EXPECT_EQ(messages.count(), 0);
        continue;
      }
      ASSERT_EQ(messages.count(), 1);
      EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
      EXPECT_EQ(messages.last().icon, c.icon);
      QWidget* field = c.message == kTimeMsg ? page.m_Time : c.message == kSizeMsg ? page.m_Size : page.m_Char;
      EXPECT_EQ(QApplication::focusWidget(), field);
    }
  }
}

TEST_F(SerialPage, BaudCodesAndListValues) {
  struct Case {
    const char* name;
    std::uint8_t code;
    int position;        // selected after load; -1 none
    bool stored;         // the store succeeds
    std::uint8_t after;  // Serial_Baud_Rate after the store
  };
  const std::vector<Case> cases = {
      {"0xC0 offers 460800 and keeps it", 0xC0, 9, true, 0xC0},
      {"0xD8 has no item: nothing selected, refused", 0xD8, -1, false, 0xD8},
      {"0x00 shows 9600 and stores 0xF4", 0x00, 3, true, 0xF4},
      {"0xBB is 230400", 0xBB, 8, true, 0xBB},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.clear();
    DlgSerial page;
    DeviceEntry entry = SerialEntry(c.code);
    page.LoadFromEntry(entry, 0);
    EXPECT_EQ(page.m_Baud->currentIndex(), c.position);
    EXPECT_EQ(page.StoreToBlock(entry, true), c.stored);
    EXPECT_EQ(entry.block().get(field::Serial_Baud_Rate), c.after);
    if (!c.stored) {
      ASSERT_EQ(messages.count(), 1);
      EXPECT_EQ(messages.last().text, QString::fromUtf8(kBaudMsg));
      EXPECT_EQ(messages.last().icon, ui::MsgIcon::None);
      // The texts before the list are stored, the lists after it are not.
      EXPECT_EQ(entry.block().get(field::Serial_Send_Time), 50);
    }
  }

  // Once offered, 460800 stays for other entries too.
  DlgSerial page;
  DeviceEntry offered = SerialEntry(0xC0);
  page.LoadFromEntry(offered, 0);
  DeviceEntry plain = SerialEntry(0xF4);
  page.LoadFromEntry(plain, 0);
  EXPECT_EQ(page.m_Baud->count(), 10);
  page.LoadFromEntry(offered, 0);
  EXPECT_EQ(page.m_Baud->count(), 10);

  // Odd values of the small lists load as their defaults and store as such.
  DeviceEntry odd = SerialEntry();
  ConfigBlock b = odd.block();
  b.set(field::Serial_Data_Bits, 5);
  b.set(field::Serial_Parity, 9);
  b.set(field::Serial_Stop_Bits, 3);
  b.set(field::Serial_Flow_Control, 1);
  page.LoadFromEntry(odd, 0);
  ASSERT_TRUE(page.StoreToBlock(odd, true));
  EXPECT_EQ(b.get(field::Serial_Data_Bits), 8);
  EXPECT_EQ(b.get(field::Serial_Parity), 0);
  EXPECT_EQ(b.get(field::Serial_Stop_Bits), 1);
  EXPECT_EQ(b.get(field::Serial_Flow_Control), 0);
  page.m_DataBits->setCurrentIndex(0);
  page.m_Parity->setCurrentIndex(2);
  page.m_StopBits->setCurrentIndex(1);
  page.m_Flow->setCurrentIndex(1);
  page.m_Baud->setCurrentIndex(0);
  ASSERT_TRUE(page.StoreToBlock(odd, true));
  EXPECT_EQ(b.get(field::Serial_Data_Bits), 7);
  EXPECT_EQ(b.get(field::Serial_Parity), 2);
  EXPECT_EQ(b.get(field::Serial_Stop_Bits), 2);
  EXPECT_EQ(b.get(field::Serial_Flow_Control), 2);
  EXPECT_EQ(b.get(field::Serial_Baud_Rate), 0xA0);
  EXPECT_EQ(page.m_Char->text(), "0D");
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
