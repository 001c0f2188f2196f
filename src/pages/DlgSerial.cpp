#include "pages/DlgSerial.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "controls/CStaticEx.h"
#include "pages/page_report.h"
#include "protocol/number_parse.h"
#include "ui/strings.h"
#include "ui/window_gesture.h"

namespace lx47::pages {

namespace {

const QColor kRangeColor(167, 0, 47);
const QColor kNoteColor(0, 160, 255);
constexpr int kOfferedBaudPosition = 9;  // "460800", code 0xC0
constexpr std::uint16_t kMaxSendSize = 1440;

controls::CStaticEx* Coloured(const QString& text, const QColor& c, QWidget* parent) {
  auto* l = new controls::CStaticEx(text, parent);
  l->setTextColor(c);
  l->m_DrawTransparent = true;  // on the group box's own background
  return l;
}

QComboBox* List(const QStringList& items, QWidget* parent) {
  auto* c = new QComboBox(parent);
  c->addItems(items);
  c->setMinimumWidth(c->fontMetrics().horizontalAdvance(QStringLiteral("CTS / RTS")) + 48);
  return c;
}

QLineEdit* Edit(bool digitsOnly, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setAlignment(Qt::AlignCenter);
  if (digitsOnly)
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
  e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 16);
  return e;
}

int PositionOf(std::uint8_t value, std::initializer_list<std::uint8_t> values, int otherwise) {
  int pos = 0;
  for (std::uint8_t v : values) {
    if (v == value) return pos;
    ++pos;
  }
  return otherwise;
}

// A list's position to select; one past its items leaves it with none.
void Select(QComboBox* list, int position) { list->setCurrentIndex(position < list->count() ? position : -1); }

}  // namespace

DlgSerial::DlgSerial(QWidget* parent) : SettingsPage(parent) {
  m_PageTitle = ui::Str(127);
  m_UnlockCount = 0;
  m_Offered460800 = 0;
  new ui::WindowGesture(this, [this] { OnRightDoubleClick(); });

  auto* port = new QGroupBox(QStringLiteral("COMポート設定"), this);
  m_Baud = new QComboBox(port);
  m_Baud->setMinimumWidth(m_Baud->fontMetrics().horizontalAdvance(QStringLiteral("CTS / RTS")) + 48);
  m_DataBits = List({QStringLiteral("7"), QStringLiteral("8")}, port);
  m_Parity = List({QStringLiteral("none"), QStringLiteral("ODD"), QStringLiteral("EVEN")}, port);
  m_StopBits = List({QStringLiteral("1"), QStringLiteral("2")}, port);
  m_Flow = List({QStringLiteral("none"), QStringLiteral("CTS / RTS")}, port);
  auto* baudLabel = new QLabel(QStringLiteral("ボーレート"), port);
  baudLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* dataLabel = new QLabel(QStringLiteral("データビット"), port);
  auto* parityLabel = new QLabel(QStringLiteral("パリティー"), port);
  auto* stopLabel = new QLabel(QStringLiteral("ストップビット"), port);
  auto* flowLabel = new QLabel(QStringLiteral("フロー制御"), port);
  auto* pg = new QGridLayout(port);
  pg->setColumnMinimumWidth(0, 24);
  const std::pair<QLabel*, QComboBox*> rows[] = {
      {baudLabel, m_Baud}, {dataLabel, m_DataBits}, {parityLabel, m_Parity}, {stopLabel, m_StopBits}, {flowLabel, m_Flow}};
  int r = 0;
  for (const auto& [label, list] : rows) {
    pg->addWidget(label, r, 1);
    pg->addWidget(list, r, 2);
    ++r;
  }
  pg->setColumnStretch(3, 1);

  auto* timing = new QGroupBox(QStringLiteral("シリアルから Wi-Fi へのデータ送出タイミング"), this);
  auto* timeLabel = new QLabel(QStringLiteral("時間"), timing);
  m_Time = Edit(true, timing);
  auto* timeRange = Coloured(QStringLiteral("（0～65535 ミリ秒）"), kRangeColor, timing);
  auto* sizeLabel = new QLabel(QStringLiteral("受信データサイズ"), timing);
  m_Size = Edit(true, timing);
  auto* sizeRange = Coloured(QStringLiteral("（0～1440 バイト）"), kRangeColor, timing);
  auto* charLabel = new QLabel(QStringLiteral("受信キャラクター"), timing);
  m_Char = Edit(false, timing);
  m_Char->setMaxLength(2);
  auto* charRange = Coloured(QStringLiteral("（2桁の16進数で指定）"), kRangeColor, timing);
  auto* note = Coloured(QStringLiteral("0 を指定すると、当該機能は 無効となります。デフォルトは 0 です。"), kNoteColor, timing);
  note->setWordWrap(true);
  auto* tg = new QGridLayout(timing);
  tg->addWidget(timeLabel, 0, 0);
  tg->addWidget(m_Time, 0, 1);
  tg->addWidget(timeRange, 0, 2);
  tg->addWidget(sizeLabel, 1, 0);
  tg->addWidget(m_Size, 1, 1);
  tg->addWidget(sizeRange, 1, 2);
  tg->addWidget(charLabel, 2, 0);
  tg->addWidget(m_Char, 2, 1);
  tg->addWidget(charRange, 2, 2);
  tg->addWidget(note, 3, 0, 1, 4);
  tg->setColumnStretch(3, 1);

  auto* root = new QVBoxLayout(this);
  root->addWidget(port);
  root->addWidget(timing);
  root->addStretch(1);

  m_Controls = {m_Baud,     baudLabel, m_DataBits, dataLabel, m_Parity,  parityLabel, m_StopBits, stopLabel, m_Flow,
                flowLabel,  timeLabel, m_Time,     timeRange, sizeLabel, m_Size,      sizeRange,  charLabel, m_Char,
                charRange,  note};

  for (int rate : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400})
    m_Baud->addItem(QString::number(rate), rate);
}

bool DlgSerial::On(const QWidget* w) const { return w->isEnabledTo(this); }

void DlgSerial::Offer460800() {
  m_Baud->addItem(QStringLiteral("460800"), 460800);
  m_Offered460800 = 1;
}

void DlgSerial::LoadFromEntry(DeviceEntry& entry, int) {
  if (!entry.hasBlock()) return;
  ConfigBlock block = entry.block();
  m_Time->setText(QString::number(block.get(field::Serial_Send_Time)));
  m_Size->setText(QString::number(block.get(field::Serial_Send_Size)));
  m_Char->setText(QString::asprintf("%02X", unsigned(block.get(field::Serial_Send_Char))));

  const std::uint8_t code = block.get(field::Serial_Baud_Rate);
  int baud = 3;  // 9600 for a code the table does not know
  for (std::size_t i = 0; i < BaudCodeTable.size(); ++i)
    if (BaudCodeTable[i] == code) baud = static_cast<int>(i);
  if (baud == kOfferedBaudPosition && !m_Offered460800) Offer460800();
  Select(m_Baud, baud);

  Select(m_DataBits, PositionOf(block.get(field::Serial_Data_Bits), {7, 8}, 1));
  Select(m_Parity, PositionOf(block.get(field::Serial_Parity), {0, 1, 2}, 0));
  Select(m_StopBits, PositionOf(block.get(field::Serial_Stop_Bits), {1, 2}, 0));
  Select(m_Flow, block.get(field::Serial_Flow_Control) == 2 ? 1 : 0);
}

void DlgSerial::EnableControls(bool enable, int) {
  for (QWidget* w : m_Controls) w->setEnabled(enable);
}

bool DlgSerial::StoreToBlock(DeviceEntry& entry, bool report) {
  if (!entry.hasBlock()) return true;
  ConfigBlock block = entry.block();

  if (On(m_Time)) {
    const NumberResult t = ParseNumber(m_Time->text().toStdString(), number_rules::Lenient(0xFFFF));
    if (!t.ok())
      return RejectField(report, this, PageMessage("[%s]－「時間」（ミリ秒）の指定が無効または範囲外です。", m_PageTitle),
                         ui::MsgIcon::Exclamation, m_Time);
    block.set(field::Serial_Send_Time, static_cast<std::uint16_t>(t.value));
  }
  if (On(m_Size)) {
    const NumberResult s = ParseNumber(m_Size->text().toStdString(), number_rules::Lenient(kMaxSendSize));
    if (!s.ok())
      return RejectField(report, this,
                         PageMessage("[%s]－「受信データサイズ」 の指定が無効または範囲外です。", m_PageTitle),
                         ui::MsgIcon::Exclamation, m_Size);
    block.set(field::Serial_Send_Size, static_cast<std::uint16_t>(s.value));
  }
  if (On(m_Char)) {
    const NumberResult c = ParseNumber(m_Char->text().toStdString(), number_rules::kHexByte);
    if (c.status == NumberStatus::BadCharacters)
      return RejectField(report, this,
                         PageMessage("[%s]－「受信キャラクター」（16進数）の指定が不正です。", m_PageTitle),
                         ui::MsgIcon::None, m_Char);
    if (!c.ok())
      return RejectField(report, this,
                         PageMessage("[%s]－「受信キャラクター」（16進数）の指定が無効または範囲外です。", m_PageTitle),
                         ui::MsgIcon::None, m_Char);
    block.set(field::Serial_Send_Char, static_cast<std::uint8_t>(c.value));
  }

  // The lists store by position; a list without a selection is refused.
  const auto invalid = [&](QComboBox* list, const char* format) {
    return RejectField(report, this, PageMessage(format, m_PageTitle), ui::MsgIcon::None, list);
  };
  if (On(m_Baud)) {
    const int pos = m_Baud->currentIndex();
    if (pos < 0 || pos >= static_cast<int>(BaudCodeTable.size()))
      return invalid(m_Baud, "[%s]－「ボーレート」の指定が無効です。");
    block.set(field::Serial_Baud_Rate, BaudCodeTable[static_cast<std::size_t>(pos)]);
  }
  if (On(m_DataBits)) {
    const int pos = m_DataBits->currentIndex();
    if (pos < 0 || pos >= 2) return invalid(m_DataBits, "[%s]－「データビット」の指定が無効です。");
    block.set(field::Serial_Data_Bits, pos == 0 ? 7 : 8);
  }
  if (On(m_Parity)) {
    const int pos = m_Parity->currentIndex();
    if (pos < 0 || pos >= 3) return invalid(m_Parity, "[%s]－「パリティー」の指定が無効です。");
    block.set(field::Serial_Parity, static_cast<std::uint8_t>(pos));
  }
  if (On(m_StopBits)) {
    const int pos = m_StopBits->currentIndex();
    if (pos < 0 || pos >= 2) return invalid(m_StopBits, "[%s]－「ストップビット」の指定が無効です。");
    block.set(field::Serial_Stop_Bits, pos == 0 ? 1 : 2);
  }
  if (On(m_Flow)) {
    const int pos = m_Flow->currentIndex();
    if (pos < 0 || pos >= 4) return invalid(m_Flow, "[%s]－「フロー制御」の指定が無効です。");
    block.set(field::Serial_Flow_Control, pos == 1 ? 2 : 0);
  }
  return true;
}

void DlgSerial::OnRightDoubleClick() {
  if (!On(m_Baud) || m_Offered460800) return;
  if (++m_UnlockCount >= kBaudUnlockCount) {
    QApplication::beep();
    Offer460800();
  }
}

}  // namespace lx47::pages
