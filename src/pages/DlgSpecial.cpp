#include "pages/DlgSpecial.h"

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
#include <cstring>

#include "controls/CStaticEx.h"
#include "pages/page_controls.h"
#include "pages/zero_text.h"
#include "protocol/session.h"
#include "ui/message_service.h"
#include "ui/strings.h"
#include "ui/window_gesture.h"

namespace lx47::pages {

namespace {

constexpr std::uint16_t kDefaultLease = 1440;  // minutes
constexpr std::uint16_t kDefaultJudge = 300;   // seconds
constexpr std::uint16_t kDefaultExtra = 300;
const QColor kNoteColor(167, 0, 47);

const field::ZeroText kMessageFields[3] = {field::Msg_Connect_To_UART, field::Msg_Disconnect_To_UART,
                                           field::Msg_Connect_To_Client};
const char* const kMessageTexts[3] = {"TCP接続時 UARTにメッセージを送信する", "TCP切断時 UARTにメッセージを送信する",
                                      "TCP接続時 TCPクライアントにメッセージを送信する"};

// An unsigned decimal number as the digit-only edits hold it: leading
// digits, nothing (or no digit) reads as 0. kTooLarge for anything above
// 65535, which the page refuses rather than silently keeping its low 16 bits.
constexpr std::uint32_t kTooLarge = 0x10000;
std::uint32_t ReadTime(const QString& text) {
  const QString t = text.trimmed();
  std::uint32_t v = 0;
  for (QChar c : t) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
    v = v * 10 + static_cast<std::uint32_t>(c.unicode() - '0');
    if (v > 0xFFFF) return kTooLarge;
  }
  return v;
}

void ZeroField(ConfigBlock& block, field::ZeroText f) {
  auto raw = block.raw(f);
  std::memset(raw.data(), 0, raw.size());
}

controls::CStaticEx* Note(const QString& text, QWidget* parent) {
  auto* l = new controls::CStaticEx(text, parent);
  l->setTextColor(kNoteColor);
  l->m_DrawTransparent = true;  // on the page's own background, as on the other pages
  return l;
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
  m_PageTitle = ui::Str(173);
  m_ServiceClicks = 0;
  new ui::WindowGesture(this, [this] { OnRightDoubleClick(); });

  m_LeaseLabel = new QLabel(QStringLiteral("（アクセスポイントモード接続時） DHCP リース時間"), this);
  m_Lease = TimeEdit(this);
  m_LeaseNote = Note(QStringLiteral("（10～65535 分）"), this);

  const QFont textFont = PageFont(this, 9, 600);
  for (int i = 0; i < 3; ++i) {
    m_MsgCheck[i] = new QCheckBox(QString::fromUtf8(kMessageTexts[i]), this);
    m_MsgEdit[i] = new QLineEdit(this);
    m_MsgEdit[i]->setAlignment(Qt::AlignCenter);
    m_MsgEdit[i]->setMaxLength(16);
    m_MsgEdit[i]->setFont(textFont);
    m_MsgNote[i] = Note(QStringLiteral("（16文字まで）"), this);
  }

  // Never shown, yet loaded, stored and restored like the visible controls.
  auto* group = new QGroupBox(QStringLiteral("TCP接続パスワード"), this);
  m_PasswordGroup = group;
  m_PasswordCheck = new QCheckBox(QStringLiteral("TCP接続パスワードを設定する"), group);
  m_PasswordLabel = new QLabel(QStringLiteral("パスワード （32文字まで）"), group);
  m_Password = new QLineEdit(group);
  MakePasswordEdit(m_Password);
  m_Password->setAlignment(Qt::AlignCenter);
  m_Password->setMaxLength(32);
  m_Password->setFont(textFont);
  m_PasswordShow = new QCheckBox(QStringLiteral("文字表示"), group);
  auto* pw = new QGridLayout(group);
  pw->addWidget(m_PasswordCheck, 0, 0, 1, 2);
  pw->addWidget(m_PasswordLabel, 1, 0);
  pw->addWidget(m_PasswordShow, 1, 1, Qt::AlignRight);
  pw->addWidget(m_Password, 2, 0, 1, 2);
  group->setVisible(false);

  m_JudgeLabel = new controls::CStaticEx(
      QStringLiteral("アクセスポイントモード接続時、接続元からの通信パケットが途絶えた場合に切断と判断するまでの時間"), this);
  m_JudgeLabel->setWordWrap(true);
  m_JudgeLabel->m_DrawTransparent = true;
  m_Judge = TimeEdit(this);
  m_JudgeNote = Note(QStringLiteral("（10～65535 秒）"), this);

  m_Defaults = new QPushButton(QStringLiteral("デフォルトに戻す"), this);
  m_ClockButton = new QPushButton(QStringLiteral("時刻設定"), this);
  m_DisconnectButton = new QPushButton(QStringLiteral("TCP切断"), this);
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

  // Out-of-range times are corrected in the block itself, so the next write
  // sends the corrected values even if the user touches nothing.
  if (block.get(field::DHCP_Lease_Time) == 0) block.set(field::DHCP_Lease_Time, kDefaultLease);
  m_Lease->setText(QString::number(block.get(field::DHCP_Lease_Time)));
  if (block.get(field::Disconnect_Judge_Time) < 10) block.set(field::Disconnect_Judge_Time, kDefaultJudge);
  m_Judge->setText(QString::number(block.get(field::Disconnect_Judge_Time)));
  if (block.get(field::Extra_Time_Value) < 3) block.set(field::Extra_Time_Value, kDefaultExtra);

  const bool hasPassword = block.raw(field::TCP_Password)[0] != 0;
  m_Password->setText(hasPassword ? LoadZeroText(block, field::TCP_Password) : QString());
  m_PasswordCheck->setChecked(hasPassword);
  OnPasswordCheck();

  for (int i = 0; i < 3; ++i) {
    const bool on = block.raw(kMessageFields[i])[0] != 0;
    m_MsgEdit[i]->setText(on ? LoadZeroText(block, kMessageFields[i]) : QString());
    m_MsgCheck[i]->setChecked(on);
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

bool DlgSpecial::RefuseTime(QLineEdit* edit, const char* name) {
  ui::ShowAppMessage(this,
                     QStringLiteral("[%1]－「%2」 の指定が無効または範囲外です。").arg(m_PageTitle, QString::fromUtf8(name)),
                     ui::MsgIcon::Exclamation);
  edit->selectAll();
  edit->setFocus();
  return false;
}

bool DlgSpecial::StoreToBlock(DeviceEntry& entry, bool) {
  if (!entry.hasBlock()) return true;
  ConfigBlock block = entry.block();

  std::uint32_t lease = ReadTime(m_Lease->text());
  if (lease == 0) lease = kDefaultLease;
  if (lease < 10 || lease > 0xFFFF) return RefuseTime(m_Lease, "DHCPリース時間");
  block.set(field::DHCP_Lease_Time, static_cast<std::uint16_t>(lease));

  std::uint32_t judge = ReadTime(m_Judge->text());
  if (judge == 0) judge = kDefaultJudge;
  if (judge < 10 || judge > 0xFFFF) return RefuseTime(m_Judge, "切断判断時間");
  block.set(field::Disconnect_Judge_Time, static_cast<std::uint16_t>(judge));

  if (m_PasswordCheck->isEnabled()) {
    if (m_PasswordCheck->isChecked())
      StoreZeroText(block, field::TCP_Password, m_Password->text());
    else
      ZeroField(block, field::TCP_Password);
  }
  for (int i = 0; i < 3; ++i) {
    if (!m_MsgCheck[i]->isEnabled()) continue;
    if (m_MsgCheck[i]->isChecked())
      StoreZeroText(block, kMessageFields[i], m_MsgEdit[i]->text());
    else
      ZeroField(block, kMessageFields[i]);  // the edit keeps its text, the device gets none
  }
  return true;
}

void DlgSpecial::RestoreDefaults() {
  m_Lease->setText(QString::number(kDefaultLease));
  m_Judge->setText(QString::number(kDefaultJudge));
  for (QLineEdit* e : m_MsgEdit) e->clear();
  m_Password->clear();
  m_PasswordCheck->setChecked(!m_Password->text().trimmed().isEmpty());
  OnPasswordCheck();
  for (int i = 0; i < 3; ++i) {
    m_MsgCheck[i]->setChecked(false);
    OnMessageCheck(i);
  }
}

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
