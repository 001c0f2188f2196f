#include "pages/DlgExtraSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "controls/CStaticEx.h"
#include "pagerules/extra_settings_rules.h"
#include "pages/page_controls.h"
#include "pages/page_report.h"
#include "protocol/session.h"
#include "ui/strings.h"
#include "ui/window_gesture.h"

namespace lx47::pages {

using texts::TextId;

namespace {

using pagerules::PageField;

const QColor kNoteColor(167, 0, 47);

constexpr TextId kMessageTexts[3] = {TextId::MsgConnectToUart, TextId::MsgDisconnectToUart, TextId::MsgConnectToClient};

controls::CStaticEx* Note(const QString& text, QWidget* parent) {
  return Coloured(text, kNoteColor, parent);
}

QLineEdit* TimeEdit(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
  e->setMaximumWidth(90);
  return e;
}

}  // namespace

DlgSpecial::DlgSpecial(Session& session, QWidget* parent) : SettingsPage(parent), m_Session(session) {
  m_PageTitle = ui::Str(TextId::SpecialPageTitle);
  m_ServiceClicks = 0;
  new ui::WindowGesture(this, [this] { OnRightDoubleClick(); });

  m_LeaseLabel = new QLabel(ui::Str(TextId::LeaseTime), this);
  m_Lease = TimeEdit(this);
  m_LeaseNote = Note(ui::Str(TextId::LeaseTimeRange), this);

  const QFont textFont = PageFont(this, 9, 600);
  for (int i = 0; i < 3; ++i) {
    m_MsgCheck[i] = new QCheckBox(ui::Str(kMessageTexts[i]), this);
    m_MsgEdit[i] = new QLineEdit(this);
    m_MsgEdit[i]->setAlignment(Qt::AlignCenter);
    m_MsgEdit[i]->setMaxLength(pagerules::kMessageMaxLength);
    m_MsgEdit[i]->setFont(textFont);
    m_MsgNote[i] = Note(ui::Str(TextId::UpTo16Characters), this);
  }

  // Never shown, yet loaded, stored and restored like the visible controls.
  auto* group = new QGroupBox(ui::Str(TextId::TcpPasswordGroup), this);
  m_PasswordGroup = group;
  m_PasswordCheck = new QCheckBox(ui::Str(TextId::TcpPasswordSet), group);
  m_PasswordLabel = new QLabel(ui::Str(TextId::PasswordUpTo32), group);
  m_Password = new QLineEdit(group);
  MakePasswordEdit(m_Password);
  m_Password->setAlignment(Qt::AlignCenter);
  m_Password->setMaxLength(pagerules::kTcpPasswordMaxLength);
  m_Password->setFont(textFont);
  m_PasswordShow = new QCheckBox(ui::Str(TextId::ShowCharacters), group);
  auto* pw = new QGridLayout(group);
  pw->addWidget(m_PasswordCheck, 0, 0, 1, 2);
  pw->addWidget(m_PasswordLabel, 1, 0);
  pw->addWidget(m_PasswordShow, 1, 1, Qt::AlignRight);
  pw->addWidget(m_Password, 2, 0, 1, 2);
  group->setVisible(false);

  m_JudgeLabel = new controls::CStaticEx(ui::Str(TextId::JudgeTime), this);
  m_JudgeLabel->setWordWrap(true);
  m_JudgeLabel->m_DrawTransparent = true;
  m_Judge = TimeEdit(this);
  m_JudgeNote = Note(ui::Str(TextId::JudgeTimeRange), this);

  m_Defaults = new QPushButton(ui::Str(TextId::RestoreDefaults), this);
  m_ClockButton = new QPushButton(ui::Str(TextId::SetClock), this);
  m_DisconnectButton = new QPushButton(ui::Str(TextId::TcpDisconnect), this);
  m_ClockButton->setVisible(false);
  m_DisconnectButton->setVisible(false);

  auto* root = new QVBoxLayout(this);
  root->addWidget(m_LeaseLabel);
  auto* lease = new QHBoxLayout;
  lease->addStretch(1);
  lease->addWidget(m_Lease);
  lease->addWidget(m_LeaseNote);
  root->addLayout(lease);
  for (int i = 0; i < 3; ++i) {
    root->addWidget(m_MsgCheck[i]);
    auto* row = new QHBoxLayout;
    row->addSpacing(18);
    row->addWidget(m_MsgEdit[i], 1);
    row->addWidget(m_MsgNote[i]);
    root->addLayout(row);
  }
  root->addWidget(group);
  root->addWidget(m_JudgeLabel);
  auto* judge = new QHBoxLayout;
  judge->addStretch(1);
  judge->addWidget(m_Judge);
  judge->addWidget(m_JudgeNote);
  root->addLayout(judge);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_ClockButton);
  buttons->addWidget(m_DisconnectButton);
  buttons->addStretch(1);
  buttons->addWidget(m_Defaults);
  root->addLayout(buttons);
  root->addStretch(1);

  connect(m_PasswordCheck, &QCheckBox::clicked, this, &DlgSpecial::OnPasswordCheck);
  connect(m_PasswordShow, &QCheckBox::clicked, this, [this] {
    ShowPasswordPlain(m_Password, m_PasswordShow->isChecked());
    m_Password->setFocus();
  });
  for (int i = 0; i < 3; ++i) connect(m_MsgCheck[i], &QCheckBox::clicked, this, [this, i] { OnMessageCheck(i); });
  connect(m_Defaults, &QPushButton::clicked, this, &DlgSpecial::RestoreDefaults);
  connect(m_ClockButton, &QPushButton::clicked, this, [this] { RunServiceCommand(DeviceCommand::SetClock); });
  connect(m_DisconnectButton, &QPushButton::clicked, this,
          [this] { RunServiceCommand(DeviceCommand::DisconnectTcp); });
}

void DlgSpecial::LoadFromEntry(DeviceEntry& entry, int index) {
  m_SettingIndex = index;
  if (!entry.hasBlock()) return;
  ConfigBlock block = entry.block();
  Show(pagerules::LoadSpecial(block));
}

void DlgSpecial::Show(const pagerules::SpecialValues& v) {
  m_Lease->setText(QString::fromStdString(v.leaseTime));
  m_Judge->setText(QString::fromStdString(v.judgeTime));
  m_Password->setText(QString::fromStdString(v.tcpPassword));
  m_PasswordCheck->setChecked(v.tcpPasswordOn);
  OnPasswordCheck();
  for (int i = 0; i < 3; ++i) {
    m_MsgEdit[i]->setText(QString::fromStdString(v.message[i]));
    m_MsgCheck[i]->setChecked(v.messageOn[i]);
    OnMessageCheck(i);
  }
}

void DlgSpecial::EnableControls(bool enable, int) {
  for (QWidget* w : std::initializer_list<QWidget*>{m_Lease, m_Judge, m_PasswordCheck, m_LeaseLabel, m_LeaseNote,
                                                    m_JudgeLabel, m_JudgeNote, m_Defaults, m_ClockButton,
                                                    m_DisconnectButton})
    w->setEnabled(enable);
  for (QCheckBox* box : m_MsgCheck) box->setEnabled(enable);
  // The edits that belong to a check box follow it.
  if (enable) {
    OnPasswordCheck();
    for (int i = 0; i < 3; ++i) OnMessageCheck(i);
  } else {
    for (QWidget* w : std::initializer_list<QWidget*>{m_PasswordLabel, m_Password, m_PasswordShow}) w->setEnabled(false);
    for (int i = 0; i < 3; ++i) {
      m_MsgEdit[i]->setEnabled(false);
      m_MsgNote[i]->setEnabled(false);
    }
  }
}

pagerules::SpecialValues DlgSpecial::Values() const {
  pagerules::SpecialValues v;
  v.leaseTime = m_Lease->text().toStdString();
  v.judgeTime = m_Judge->text().toStdString();
  v.tcpPasswordOn = m_PasswordCheck->isChecked();
  v.tcpPassword = m_Password->text().toStdString();
  for (int i = 0; i < 3; ++i) {
    v.messageOn[i] = m_MsgCheck[i]->isChecked();
    v.message[i] = m_MsgEdit[i]->text().toStdString();
  }
  return v;
}

pagerules::FieldSet DlgSpecial::EnabledFields() const {
  pagerules::FieldSet s;
  s.set(PageField::TCP_Password, m_PasswordCheck->isEnabled());
  for (int i = 0; i < 3; ++i) s.set(pagerules::kMessagePageFields[i], m_MsgCheck[i]->isEnabled());
  return s;
}

bool DlgSpecial::StoreToBlock(DeviceEntry& entry, bool) {
  if (!entry.hasBlock()) return true;
  ConfigBlock block = entry.block();
  const pagerules::StoreResult r = pagerules::StoreSpecial(block, Values(), EnabledFields());
  if (r.ok()) return true;
  // Shown whatever the caller asks, with the field's name in the message.
  const bool lease = r.field == PageField::DHCP_Lease_Time;
  return RejectField(true, this, RefusalMessage(r.message, m_PageTitle), ui::MsgIcon::Exclamation,
                     lease ? m_Lease : m_Judge);
}

void DlgSpecial::RestoreDefaults() { Show(pagerules::SpecialDefaults()); }

void DlgSpecial::OnPasswordCheck() {
  const bool on = m_PasswordCheck->isChecked() && m_PasswordCheck->isEnabled();
  for (QWidget* w : std::initializer_list<QWidget*>{m_PasswordLabel, m_Password, m_PasswordShow}) w->setEnabled(on);
}

void DlgSpecial::OnMessageCheck(int i) {
  const bool on = m_MsgCheck[i]->isChecked() && m_MsgCheck[i]->isEnabled();
  m_MsgEdit[i]->setEnabled(on);
  m_MsgNote[i]->setEnabled(on);
}

// The service gesture: right-button double-clicks on the page, counted only
// while the page is enabled.
void DlgSpecial::OnRightDoubleClick() {
  if (!m_Defaults->isEnabled()) return;
  ++m_ServiceClicks;
  if (m_ServiceClicks > kServiceClickThreshold) {
    QApplication::beep();
    m_ClockButton->setVisible(true);
    m_DisconnectButton->setVisible(true);
  }
}

// The command runs on a thread of its own: without an answer it takes up to
// about 12.8 s, which the window must not freeze for. Its result is not shown.
void DlgSpecial::RunServiceCommand(DeviceCommand command) {
  // An index that names no device of the current search addresses nothing.
  const DeviceEntry* entry = m_Session.ListedEntry(m_SettingIndex);
  if (!entry || entry->Entry_Status != kEntryFilled) return;
  if (m_StartCommand)
    m_StartCommand(command, *entry);
  else
    m_Session.StartDeviceCommand(command, *entry);
}

}  // namespace lx47::pages
