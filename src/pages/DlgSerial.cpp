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
#include "pages/page_controls.h"
#include "pages/page_report.h"
#include "ui/strings.h"
#include "ui/window_gesture.h"

namespace lx47::pages {

using texts::TextId;

namespace {

using pagerules::PageField;

const QColor kRangeColor(167, 0, 47);
const QColor kNoteColor(0, 160, 255);

// The texts' messages carry the exclamation icon, the lists' none; the
// character's, though it is a text, none either.
constexpr RefusalIcon kIcons[] = {
    {TextId::SendTimeInvalid, ui::MsgIcon::Exclamation},
    {TextId::SendSizeInvalid, ui::MsgIcon::Exclamation},
    {TextId::SendCharNotHex, ui::MsgIcon::None},
    {TextId::SendCharInvalid, ui::MsgIcon::None},
    {TextId::BaudRateInvalid, ui::MsgIcon::None},
    {TextId::DataBitsInvalid, ui::MsgIcon::None},
    {TextId::ParityInvalid, ui::MsgIcon::None},
    {TextId::StopBitsInvalid, ui::MsgIcon::None},
    {TextId::FlowControlInvalid, ui::MsgIcon::None},
};

template <std::size_t N>
QStringList Items(const std::array<const char*, N>& texts) {
  QStringList items;
  for (const char* t : texts) items << QString::fromLatin1(t);
  return items;
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

// A list's position to select; one past its items leaves it with none.
void Select(QComboBox* list, int position) { list->setCurrentIndex(position < list->count() ? position : -1); }

}  // namespace

DlgSerial::DlgSerial(QWidget* parent) : SettingsPage(parent) {
  m_PageTitle = ui::Str(TextId::SerialPageTitle);
  m_UnlockCount = 0;
  m_Offered460800 = 0;
  new ui::WindowGesture(this, [this] { OnRightDoubleClick(); });

  auto* port = new QGroupBox(ui::Str(TextId::ComPortGroup), this);
  m_Baud = new QComboBox(port);
  m_Baud->setMinimumWidth(m_Baud->fontMetrics().horizontalAdvance(QStringLiteral("CTS / RTS")) + 48);
  m_DataBits = List(Items(pagerules::kDataBitsItems), port);
  m_Parity = List(Items(pagerules::kParityItems), port);
  m_StopBits = List(Items(pagerules::kStopBitsItems), port);
  m_Flow = List(Items(pagerules::kFlowControlItems), port);
  auto* baudLabel = new QLabel(ui::Str(TextId::BaudRate), port);
  baudLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* dataLabel = new QLabel(ui::Str(TextId::DataBits), port);
  auto* parityLabel = new QLabel(ui::Str(TextId::Parity), port);
  auto* stopLabel = new QLabel(ui::Str(TextId::StopBits), port);
  auto* flowLabel = new QLabel(ui::Str(TextId::FlowControl), port);
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

  auto* timing = new QGroupBox(ui::Str(TextId::SendTimingGroup), this);
  auto* timeLabel = new QLabel(ui::Str(TextId::SendTime), timing);
  m_Time = Edit(true, timing);
  auto* timeRange = Coloured(ui::Str(TextId::SendTimeRange), kRangeColor, timing);
  auto* sizeLabel = new QLabel(ui::Str(TextId::SendSize), timing);
  m_Size = Edit(true, timing);
  auto* sizeRange = Coloured(ui::Str(TextId::SendSizeRange), kRangeColor, timing);
  auto* charLabel = new QLabel(ui::Str(TextId::SendChar), timing);
  m_Char = Edit(false, timing);
  m_Char->setMaxLength(pagerules::kSendCharMaxLength);
  auto* charRange = Coloured(ui::Str(TextId::SendCharRange), kRangeColor, timing);
  auto* note = Coloured(ui::Str(TextId::ZeroDisables), kNoteColor, timing);
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

  m_FieldControls = {{PageField::Serial_Send_Time, m_Time},       {PageField::Serial_Send_Size, m_Size},
                     {PageField::Serial_Send_Char, m_Char},       {PageField::Serial_Baud_Rate, m_Baud},
                     {PageField::Serial_Data_Bits, m_DataBits},   {PageField::Serial_Parity, m_Parity},
                     {PageField::Serial_Stop_Bits, m_StopBits},   {PageField::Serial_Flow_Control, m_Flow}};

  for (int i = 0; i < pagerules::kListedBaudRates; ++i) {
    const auto rate = static_cast<int>(pagerules::kBaudRates[static_cast<std::size_t>(i)]);
    m_Baud->addItem(QString::number(rate), rate);
  }
}

bool DlgSerial::On(const QWidget* w) const { return w->isEnabledTo(this); }

void DlgSerial::Offer460800() {
  const auto rate = static_cast<int>(pagerules::kBaudRates[pagerules::kOfferedBaudPosition]);
  m_Baud->addItem(QString::number(rate), rate);
  m_Offered460800 = 1;
}

void DlgSerial::LoadFromEntry(DeviceEntry& entry, int) {
  if (!entry.hasBlock()) return;
  const pagerules::SerialShown shown = pagerules::LoadSerial(entry.block());
  const pagerules::SerialValues& v = shown.values;
  m_Time->setText(QString::fromStdString(v.sendTime));
  m_Size->setText(QString::fromStdString(v.sendSize));
  m_Char->setText(QString::fromStdString(v.sendChar));
  if (shown.offer460800 && !m_Offered460800) Offer460800();
  Select(m_Baud, v.baudRate);
  Select(m_DataBits, v.dataBits);
  Select(m_Parity, v.parity);
  Select(m_StopBits, v.stopBits);
  Select(m_Flow, v.flowControl);
}

void DlgSerial::EnableControls(bool enable, int) {
  for (QWidget* w : m_Controls) w->setEnabled(enable);
}

pagerules::SerialValues DlgSerial::Values() const {
  pagerules::SerialValues v;
  v.sendTime = m_Time->text().toStdString();
  v.sendSize = m_Size->text().toStdString();
  v.sendChar = m_Char->text().toStdString();
  v.baudRate = m_Baud->currentIndex();
  v.dataBits = m_DataBits->currentIndex();
  v.parity = m_Parity->currentIndex();
  v.stopBits = m_StopBits->currentIndex();
  v.flowControl = m_Flow->currentIndex();
  return v;
}

bool DlgSerial::StoreToBlock(DeviceEntry& entry, bool report) {
  if (!entry.hasBlock()) return true;
  ConfigBlock block = entry.block();
  const pagerules::StoreResult r = pagerules::StoreSerial(block, Values(), EnabledFields(m_FieldControls, this));
  return StoreAnswer(r, report, this, m_PageTitle, kIcons, ControlOf(m_FieldControls, r.field));
}

void DlgSerial::OnRightDoubleClick() {
  if (!On(m_Baud) || m_Offered460800) return;
  if (++m_UnlockCount >= kBaudUnlockCount) {
    QApplication::beep();
    Offer460800();
  }
}

}  // namespace lx47::pages
