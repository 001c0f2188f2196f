#include "app/DlgFactoryReset.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "app/shell_fonts.h"
#include "controls/CMACAddrEdit.h"
#include "protocol/mac_text.h"
#include "ui/message_service.h"
#include "ui/strings.h"

namespace lx47::app {

using texts::TextId;

namespace {

QFont DialogFont(qreal pt, int weight = 400) {
  return GothicFont(pt, weight, {QStringLiteral("BIZ UDPGothic"), QStringLiteral("BIZ UDPゴシック")});
}

}  // namespace

DlgFactoryReset::DlgFactoryReset(QWidget* parent) : ui::Dialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setWindowTitle(ui::Str(TextId::FactoryResetTitle));
  setObjectName(QStringLiteral("DlgFactoryReset"));
  setFont(DialogFont(9));

  m_Icon = new QLabel(this);
  m_Icon->setFixedSize(32, 32);
  m_Text = new QLabel(this);
  m_Text->setWordWrap(true);
  m_Text->setMinimumWidth(252);
  m_MacEdit = new controls::CMACAddrEdit(this);
  m_MacEdit->setObjectName(QStringLiteral("resetMacEdit"));
  m_MacEdit->setFont(MonoFont(12.5, 600));
  m_MacEdit->setFixedWidth(QFontMetrics(m_MacEdit->font()).horizontalAdvance(QStringLiteral("00:00:00:00:00:00")) +
                           20);
  m_EraseLabel = new QLabel(ui::Str(TextId::EraseMode), this);
  m_EraseList = new QComboBox(this);
  m_EraseLabel->hide();
  m_EraseList->hide();
  m_OkButton = new QPushButton(QStringLiteral("OK"), this);
  m_OkButton->setDefault(true);
  m_CancelButton = new QPushButton(ui::Str(TextId::CancelButton), this);
  for (QPushButton* b : {m_OkButton, m_CancelButton}) b->setMinimumSize(72, 34);

  auto* textRow = new QHBoxLayout;
  textRow->addWidget(m_Icon, 0, Qt::AlignTop);
  textRow->addSpacing(6);
  textRow->addWidget(m_Text, 1);
  auto* macRow = new QHBoxLayout;
  macRow->addStretch(1);
  macRow->addWidget(m_MacEdit);
  macRow->addSpacing(12);
  auto* eraseRow = new QHBoxLayout;
  eraseRow->addSpacing(38);
  eraseRow->addWidget(m_EraseLabel);
  eraseRow->addWidget(m_EraseList);
  eraseRow->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(2);
  buttons->addWidget(m_OkButton);
  buttons->addSpacing(18);
  buttons->addWidget(m_CancelButton);
  buttons->addStretch(3);
  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(12, 18, 12, 14);
  root->setSpacing(8);
  root->addLayout(textRow);
  root->addLayout(macRow);
  root->addLayout(eraseRow);
  root->addSpacing(14);
  root->addLayout(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(315, 229)));

  connect(m_OkButton, &QPushButton::clicked, this, &DlgFactoryReset::accept);
  connect(m_CancelButton, &QPushButton::clicked, this, &DlgFactoryReset::reject);
}

void DlgFactoryReset::showEvent(QShowEvent* e) {
  ui::Dialog::showEvent(e);
  if (!m_Opened) {
    m_Opened = true;
    OnInitDialog();
  }
}

void DlgFactoryReset::OnInitDialog() {
  m_Icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
  m_Text->setText(ui::Str(TextId::FactoryResetMacPrompt));
  m_MacEdit->setText(QString::fromStdString(MacText(m_Mac)));
  m_MacEdit->setCursorPosition(0);
  m_MacEdit->setFocus();
  // Showing the dialog gives the first control the focus as if tabbed to,
  // which selects the whole address; the caret goes back to the start once
  // that is over.
  QMetaObject::invokeMethod(
      this,
      [this] {
        m_MacEdit->deselect();
        m_MacEdit->setCursorPosition(0);
      },
      Qt::QueuedConnection);
}

void DlgFactoryReset::accept() {
  const MacAddress mac = m_MacEdit->macBytes();
  bool allZero = true;
  bool allOnes = true;
  for (std::uint8_t b : mac) {
    allZero = allZero && b == 0x00;
    allOnes = allOnes && b == 0xFF;
  }
  if (allZero || allOnes) {
    ui::ShowAppMessage(this, ui::Str(TextId::MacAddressInvalid), ui::MsgIcon::Warning);
    return;
  }
  m_Mac = mac;
  m_EraseMode = kEraseModeSent;
  ui::Dialog::accept();
}

}  // namespace lx47::app
