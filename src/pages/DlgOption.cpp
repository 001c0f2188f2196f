#include "pages/DlgOption.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "controls/CStaticEx.h"
#include "pagerules/option_rules.h"
#include "pages/page_controls.h"
#include "pages/page_report.h"
#include "ui/strings.h"

namespace lx47::pages {

using texts::TextId;

namespace {

using pagerules::PageField;

const QColor kRangeColor(167, 0, 47);
const QColor kNoteColor(0, 160, 255);

constexpr RefusalIcon kIcons[] = {
    {TextId::SearchPasswordLeadingSpace, ui::MsgIcon::Exclamation},
    {TextId::ConnectPasswordLeadingSpace, ui::MsgIcon::Exclamation},
    {TextId::DisconnectTimeInvalid, ui::MsgIcon::Exclamation},
    {TextId::KeepaliveIntervalInvalid, ui::MsgIcon::Exclamation},
};

QLineEdit* NumberEdit(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setAlignment(Qt::AlignCenter);
  e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
  e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
  return e;
}

QLineEdit* PasswordEdit(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  MakePasswordEdit(e);
  e->setAlignment(Qt::AlignCenter);
  e->setMaxLength(pagerules::kPasswordMaxLength);
  return e;
}

}  // namespace

DlgOption::DlgOption(QWidget* parent) : SettingsPage(parent) {
  m_PageTitle = ui::Str(TextId::OptionPageTitle);

  // TCP timers (group 1030).
  auto* timers = new QGroupBox(ui::Str(TextId::TcpTimerGroup), this);
  m_DisconnectLabel = new QLabel(ui::Str(TextId::DisconnectTime), timers);
  m_DisconnectLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_Disconnect = NumberEdit(timers);
  m_DisconnectRange = Coloured(ui::Str(TextId::SecondsRange), kRangeColor, timers);
  m_DisconnectNote = Coloured(ui::Str(TextId::DisconnectTimeNote), kNoteColor, timers);
  m_KeepaliveLabel = new QLabel(ui::Str(TextId::KeepaliveInterval), timers);
  m_KeepaliveLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_Keepalive = NumberEdit(timers);
  m_KeepaliveRange = Coloured(ui::Str(TextId::SecondsRange), kRangeColor, timers);
  m_KeepaliveNote = Coloured(ui::Str(TextId::KeepaliveNote), kNoteColor, timers);
  m_KeepaliveNote->setWordWrap(true);
  auto* tg = new QGridLayout(timers);
  tg->addWidget(m_DisconnectLabel, 0, 0);
  tg->addWidget(m_Disconnect, 0, 1);
  tg->addWidget(m_DisconnectRange, 0, 2);
  tg->addWidget(m_DisconnectNote, 1, 0, 1, 4);
  tg->addWidget(m_KeepaliveLabel, 2, 0);
  tg->addWidget(m_Keepalive, 2, 1);
  tg->addWidget(m_KeepaliveRange, 2, 2);
  tg->addWidget(m_KeepaliveNote, 3, 0, 1, 4);
  tg->setColumnStretch(3, 1);

  // Search password (group 1032).
  m_SearchGroup = new QGroupBox(ui::Str(TextId::SearchPasswordGroup), this);
  m_SearchLabel = new QLabel(ui::Str(TextId::PasswordUpTo8), m_SearchGroup);
  m_SearchPassword = PasswordEdit(m_SearchGroup);
  m_SearchShow = new QCheckBox(ui::Str(TextId::ShowCharacters), m_SearchGroup);
  auto* sg = new QHBoxLayout(m_SearchGroup);
  sg->addWidget(m_SearchLabel);
  sg->addWidget(m_SearchPassword);
  sg->addWidget(m_SearchShow);
  sg->addStretch(1);

  // Connection password (group 1031), an extended setting.
  m_ConnectGroup = new QGroupBox(ui::Str(TextId::ConnectPasswordGroup), this);
  m_ConnectEnable = new QCheckBox(ui::Str(TextId::PasswordEnabled), m_ConnectGroup);
  m_ConnectLabel = new QLabel(ui::Str(TextId::PasswordUpTo8), m_ConnectGroup);
  m_ConnectPassword = PasswordEdit(m_ConnectGroup);
  m_ConnectShow = new QCheckBox(ui::Str(TextId::ShowCharacters), m_ConnectGroup);
  auto* cg = new QGridLayout(m_ConnectGroup);
  cg->addWidget(m_ConnectEnable, 0, 0, 1, 3);
  cg->addWidget(m_ConnectLabel, 1, 0);
  cg->addWidget(m_ConnectPassword, 1, 1);
  cg->addWidget(m_ConnectShow, 1, 2);
  cg->setColumnStretch(3, 1);
  QSizePolicy keep = m_ConnectGroup->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  m_ConnectGroup->setSizePolicy(keep);

  auto* root = new QVBoxLayout(this);
  root->addWidget(timers);
  root->addWidget(m_SearchGroup);
  root->addWidget(m_ConnectGroup);
  root->addStretch(1);

  m_BoldFont = PageFont(this, 11, 600);
  m_SearchPassword->setFont(m_BoldFont);
  m_ConnectPassword->setFont(m_BoldFont);

  connect(m_SearchShow, &QCheckBox::clicked, this, [this] {
    ShowPasswordPlain(m_SearchPassword, m_SearchShow->isChecked());
    m_SearchPassword->setFocus();
  });
  connect(m_ConnectShow, &QCheckBox::clicked, this, [this] {
    ShowPasswordPlain(m_ConnectPassword, m_ConnectShow->isChecked());
    m_ConnectPassword->setFocus();
  });
  connect(m_ConnectEnable, &QCheckBox::clicked, this, &DlgOption::OnConnectEnable);

  m_FieldControls = {{PageField::Search_Password, m_SearchPassword},
                     {PageField::Connect_Password_Enable, m_ConnectEnable},
                     {PageField::Connect_Password, m_ConnectPassword},
                     {PageField::TCP_Disconnect_Time, m_Disconnect},
                     {PageField::TCP_Keepalive_Interval, m_Keepalive}};

  ShowExtendedSettings(false);
}

void DlgOption::ShowExtendedSettings(bool shown) {
  // The group holds 1013, 1010, 1011 and 1012, which show and hide with it.
  m_ConnectGroup->setVisible(shown);
}

void DlgOption::FollowConnectEnable(bool enable) {
  for (QWidget* w : std::initializer_list<QWidget*>{m_ConnectLabel, m_ConnectPassword, m_ConnectShow})
    w->setEnabled(enable);
}

void DlgOption::OnConnectEnable() {
  FollowConnectEnable(m_ConnectEnable->isChecked());
  if (m_ConnectEnable->isChecked()) m_ConnectPassword->setFocus();
}

void DlgOption::EnableConnectPassword(bool available) {
  m_ConnectEnable->setEnabled(available);
  FollowConnectEnable(available && m_ConnectEnable->isChecked());
}

void DlgOption::LoadFromEntry(DeviceEntry& entry, int) {
  if (!entry.hasBlock()) return;
  ConfigBlock block = entry.block();
  const pagerules::OptionValues v = pagerules::LoadOption(block);
  m_Disconnect->setText(QString::fromStdString(v.disconnectTime));
  m_Keepalive->setText(QString::fromStdString(v.keepaliveInterval));
  m_SearchPassword->setText(QString::fromStdString(v.searchPassword));
  m_ConnectPassword->setText(QString::fromStdString(v.connectPassword));
  m_ConnectEnable->setChecked(v.connectPasswordEnable);
  OnConnectEnable();
}

void DlgOption::EnableControls(bool enable, int) {
  for (QWidget* w : std::initializer_list<QWidget*>{m_DisconnectLabel, m_Disconnect, m_DisconnectRange,
                                                    m_DisconnectNote, m_KeepaliveLabel, m_Keepalive,
                                                    m_KeepaliveRange, m_KeepaliveNote, m_SearchLabel,
                                                    m_SearchPassword, m_SearchShow, m_ConnectEnable})
    w->setEnabled(enable);
  FollowConnectEnable(enable && m_ConnectEnable->isChecked());
}

pagerules::OptionValues DlgOption::Values() const {
  pagerules::OptionValues v;
  v.disconnectTime = m_Disconnect->text().toStdString();
  v.keepaliveInterval = m_Keepalive->text().toStdString();
  v.searchPassword = m_SearchPassword->text().toStdString();
  v.connectPasswordEnable = m_ConnectEnable->isChecked();
  v.connectPassword = m_ConnectPassword->text().toStdString();
  return v;
}

bool DlgOption::StoreToBlock(DeviceEntry& entry, bool report) {
  if (!entry.hasBlock()) return true;
  ConfigBlock block = entry.block();
  pagerules::FieldSet enabled = EnabledFields(m_FieldControls, this);
  // The switch only while on screen: the extended settings shown and this
  // page the one on display.
  enabled.set(PageField::Connect_Password_Enable,
              enabled.has(PageField::Connect_Password_Enable) && m_ConnectEnable->isVisible());
  const pagerules::StoreResult r = pagerules::StoreOption(block, Values(), enabled);
  return StoreAnswer(r, report, this, m_PageTitle, kIcons, ControlOf(m_FieldControls, r.field));
}

}  // namespace lx47::pages
