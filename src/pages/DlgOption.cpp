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
#include "pages/page_controls.h"
#include "pages/page_report.h"
#include "pages/space_text.h"
#include "protocol/number_parse.h"
#include "ui/strings.h"

namespace lx47::pages {

namespace {

const QColor kRangeColor(167, 0, 47);
const QColor kNoteColor(0, 160, 255);
constexpr int kPasswordLength = 8;

controls::CStaticEx* Coloured(const QString& text, const QColor& c, QWidget* parent) {
  auto* l = new controls::CStaticEx(text, parent);
  l->setTextColor(c);
  l->m_DrawTransparent = true;  // on the group box's own background
  return l;
}

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
  e->setMaxLength(kPasswordLength);
  return e;
}

// A space-padded password as shown: trailing white space removed, leading
// spaces kept.
QString LoadPassword(ConfigBlock& block, field::SpaceText f) { return TrimmedRight(CleanAndLoadSpaceText(block, f)); }

// The stored form of a typed password: trailing white space dropped; a
// leading space is refused unless the text is spaces only (then "none").
bool PasswordAcceptable(const QString& typed, QString& stored) {
  stored = TrimmedRight(typed);
  return stored.isEmpty() || stored.front() != u' ';
}

// A time in seconds: trimmed, anything after the number ignored, 0..65535.
bool ReadSeconds(const QLineEdit* edit, std::uint16_t& value) {
  const NumberResult r = ParseNumber(edit->text().toStdString(), number_rules::Lenient(0xFFFF));
  if (!r.ok()) return false;
  value = static_cast<std::uint16_t>(r.value);
  return true;
}

}  // namespace

DlgOption::DlgOption(QWidget* parent) : SettingsPage(parent) {
  m_PageTitle = ui::Str(128);

  // TCP timers (group 1030).
  auto* timers = new QGroupBox(QStringLiteral("TCP タイマー間隔"), this);
  m_DisconnectLabel = new QLabel(QStringLiteral("切断までの時間"), timers);
  m_DisconnectLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_Disconnect = NumberEdit(timers);
  m_DisconnectRange = Coloured(QStringLiteral("（0～65535 秒）"), kRangeColor, timers);
  m_DisconnectNote = Coloured(ui::Str(118), kNoteColor, timers);
  m_KeepaliveLabel = new QLabel(QStringLiteral("キープアライブ送信間隔"), timers);
  m_KeepaliveLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_Keepalive = NumberEdit(timers);
  m_KeepaliveRange = Coloured(QStringLiteral("（0～65535 秒）"), kRangeColor, timers);
  m_KeepaliveNote = Coloured(ui::Str(119), kNoteColor, timers);
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
  m_SearchGroup = new QGroupBox(QStringLiteral("LX47 ConfigTool 検索パスワード"), this);
  m_SearchLabel = new QLabel(QStringLiteral("パスワード （8文字まで）"), m_SearchGroup);
  m_SearchPassword = PasswordEdit(m_SearchGroup);
  m_SearchShow = new QCheckBox(QStringLiteral("文字表示"), m_SearchGroup);
  auto* sg = new QHBoxLayout(m_SearchGroup);
  sg->addWidget(m_SearchLabel);
  sg->addWidget(m_SearchPassword);
  sg->addWidget(m_SearchShow);
  sg->addStretch(1);

  // Connection password (group 1031), an extended setting.
  m_ConnectGroup = new QGroupBox(QStringLiteral("接続時パスワード（TCP Serverモード のみ）"), this);
  m_ConnectEnable = new QCheckBox(QStringLiteral("パスワード有効"), m_ConnectGroup);
  m_ConnectLabel = new QLabel(QStringLiteral("パスワード （8文字まで）"), m_ConnectGroup);
  m_ConnectPassword = PasswordEdit(m_ConnectGroup);
  m_ConnectShow = new QCheckBox(QStringLiteral("文字表示"), m_ConnectGroup);
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

  ShowExtendedSettings(false);
}

bool DlgOption::On(const QWidget* w) const { return w->isEnabledTo(this); }

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
  m_Disconnect->setText(QString::number(block.get(field::TCP_Disconnect_Time)));
  m_Keepalive->setText(QString::number(block.get(field::TCP_Keepalive_Interval)));
  m_SearchPassword->setText(LoadPassword(block, field::Search_Password));
  m_ConnectPassword->setText(LoadPassword(block, field::Connect_Password));
  m_ConnectEnable->setChecked(block.get(field::Connect_Password_Enable) != 0);
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

bool DlgOption::StoreToBlock(DeviceEntry& entry, bool report) {
  if (!entry.hasBlock()) return true;
  ConfigBlock block = entry.block();
  QString password;

  if (On(m_SearchPassword)) {
    if (!PasswordAcceptable(m_SearchPassword->text(), password))
      return RejectField(report, this,
                         PageMessage("[%s]－「検索パスワード」の一文字目をスペースとすることはできません。\n"
                                     "（スペースのみであれば問題ありません）",
                                     m_PageTitle),
                         ui::MsgIcon::Exclamation, m_SearchPassword);
    StoreSpaceText(block, field::Search_Password, password);
  }

  // Only while the check box is on screen: the extended settings shown and
  // this page the one on display.
  if (m_ConnectEnable->isVisible() && On(m_ConnectEnable)) {
    if (m_ConnectEnable->isChecked()) {
      block.set(field::Connect_Password_Enable, 1);
      if (On(m_ConnectPassword)) {
        if (!PasswordAcceptable(m_ConnectPassword->text(), password))
          return RejectField(report, this,
                             PageMessage("[%s]－「接続時パスワード」の一文字目をスペースとすることはできません。\n"
                                         "（スペースのみであれば問題ありません）",
                                         m_PageTitle),
                             ui::MsgIcon::Exclamation, m_ConnectPassword);
        StoreSpaceText(block, field::Connect_Password, password);
      }
    } else {
      block.set(field::Connect_Password_Enable, 0);
    }
  }

  std::uint16_t seconds = 0;
  if (On(m_Disconnect)) {
    if (!ReadSeconds(m_Disconnect, seconds))
      return RejectField(report, this,
                         PageMessage("[%s]－「切断までの時間」（秒）の指定が無効または範囲外です。", m_PageTitle),
                         ui::MsgIcon::Exclamation, m_Disconnect);
    block.set(field::TCP_Disconnect_Time, seconds);
  }
  if (On(m_Keepalive)) {
    if (!ReadSeconds(m_Keepalive, seconds))
      return RejectField(report, this,
                         PageMessage("[%s]－「keep-alive 送信間隔」（秒）の指定が無効または範囲外です。", m_PageTitle),
                         ui::MsgIcon::Exclamation, m_Keepalive);
    block.set(field::TCP_Keepalive_Interval, seconds);
  }
  return true;
}

}  // namespace lx47::pages
