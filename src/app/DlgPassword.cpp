#include "app/DlgPassword.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "app/shell_fonts.h"
#include "controls/CMACAddrEdit.h"
#include "protocol/discovery.h"
#include "protocol/mac_text.h"
#include "ui/message_service.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

namespace lx47::app {

using texts::TextId;

namespace {

const QColor kBackground(104, 120, 92);
const QColor kLabelText(223, 216, 242);

QFont DialogFont(qreal pt, int weight) {
  return GothicFont(pt, weight, {QStringLiteral("BIZ UDGothic"), QStringLiteral("BIZ UDゴシック")});
}

QFont MacFont() { return MonoFont(12.5, QFont::DemiBold); }

// A row that keeps its place while a control of it is hidden.
void keepPlace(QWidget* w) {
  QSizePolicy p = w->sizePolicy();
  p.setRetainSizeWhenHidden(true);
  w->setSizePolicy(p);
}

}  // namespace

DlgPassword::DlgPassword(QWidget* parent) : ui::Dialog(parent) {
  // A caption-less pop-up with a thin border.
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setObjectName(QStringLiteral("DlgPassword"));
  setFont(DialogFont(10, 400));
  setStyleSheet(QStringLiteral("QDialog#DlgPassword { border: 1px solid #404040; }"));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kBackground);
  setPalette(pal);
  setAutoFillBackground(true);

  m_Label = new QLabel(ui::Str(TextId::SearchPasswordLabel), this);
  m_PasswordEdit = new QLineEdit(this);
  m_PasswordEdit->setAlignment(Qt::AlignCenter);
  m_PasswordEdit->setEchoMode(QLineEdit::Password);
  m_PasswordEdit->setMaxLength(32767);
  m_ShowBox = new QCheckBox(ui::Str(TextId::ShowCharacters), this);
  m_SaveBox = new QCheckBox(ui::Str(TextId::SavePassword), this);
  m_DeleteButton = new QPushButton(ui::Str(TextId::DeleteButton), this);
  m_OneDeviceBox = new QCheckBox(ui::Str(TextId::OneDeviceOnly), this);
  m_MacBox = new QCheckBox(ui::Str(TextId::SearchMacLabel), this);
  m_MacEdit = new controls::CMACAddrEdit(this);
  m_MacEdit->setAlignment(Qt::AlignCenter);
  m_OkButton = new QPushButton(ui::Str(TextId::SearchRun), this);
  m_OkButton->setDefault(true);
  m_CancelButton = new QPushButton(ui::Str(TextId::CancelButton), this);
  keepPlace(m_MacBox);
  keepPlace(m_MacEdit);

  // Tab order is the order of creation: OK, Cancel, password, label, show,
  // save, delete, MAC edit, one-device, MAC box.
  setTabOrder(m_OkButton, m_CancelButton);
  setTabOrder(m_CancelButton, m_PasswordEdit);
  setTabOrder(m_PasswordEdit, m_ShowBox);
  setTabOrder(m_ShowBox, m_SaveBox);
  setTabOrder(m_SaveBox, m_DeleteButton);
  setTabOrder(m_DeleteButton, m_MacEdit);
  setTabOrder(m_MacEdit, m_OneDeviceBox);
  setTabOrder(m_OneDeviceBox, m_MacBox);

  // Arrangement of the template: label; password and show box; save box and
  // delete button; one-device box; MAC box and MAC edit; the two buttons.
  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(16, 18, 16, 14);
  top->setSpacing(8);
  top->addWidget(m_Label);
  auto* pwRow = new QHBoxLayout;
  pwRow->addSpacing(70);
  pwRow->addWidget(m_PasswordEdit, 1);
  pwRow->addSpacing(14);
  pwRow->addWidget(m_ShowBox);
  top->addLayout(pwRow);
  auto* saveRow = new QHBoxLayout;
  saveRow->addSpacing(84);
  saveRow->addWidget(m_SaveBox);
  saveRow->addSpacing(10);
  saveRow->addWidget(m_DeleteButton);
  saveRow->addStretch(1);
  top->addLayout(saveRow);
  top->addSpacing(14);
  top->addWidget(m_OneDeviceBox);
  auto* macRow = new QHBoxLayout;
  macRow->addSpacing(16);
  macRow->addWidget(m_MacBox);
  macRow->addSpacing(6);
  macRow->addWidget(m_MacEdit, 1);
  top->addLayout(macRow);
  top->addSpacing(22);
  auto* buttons = new QHBoxLayout;
  buttons->addSpacing(32);
  buttons->addWidget(m_OkButton);
  buttons->addSpacing(28);
  buttons->addWidget(m_CancelButton);
  buttons->addSpacing(32);
  top->addLayout(buttons);
  m_OkButton->setMinimumSize(100, 34);
  m_CancelButton->setMinimumSize(100, 34);
  // Wide enough for a whole address in the font the edit gets on opening;
  // the fixed size below is taken before that font is set.
  const int macText = QFontMetrics(MacFont()).horizontalAdvance(QStringLiteral("00:00:00:00:00:00"));
  m_MacEdit->setMinimumWidth(std::max(170, macText + 16));
  setFixedSize(sizeHint().expandedTo(QSize(356, 268)));

  connect(m_OkButton, &QPushButton::clicked, this, &DlgPassword::OnOK);
  connect(m_CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_ShowBox, &QCheckBox::clicked, this, &DlgPassword::OnShowClicked);
  connect(m_DeleteButton, &QPushButton::clicked, this, &DlgPassword::OnDeleteClicked);
  connect(m_OneDeviceBox, &QCheckBox::clicked, this, &DlgPassword::ApplyOneDeviceRule);
  connect(m_MacBox, &QCheckBox::clicked, this, &DlgPassword::ApplyMacRule);
}

void DlgPassword::showEvent(QShowEvent* e) {
  // The dialog is set up when it opens, after the caller has set the
  // members, as the owner expects of a dialog's initialisation.
  if (!m_Initialised) {
    m_Initialised = true;
    OnInitDialog();
  }
  ui::Dialog::showEvent(e);
}

void DlgPassword::OnInitDialog() {
  store::SettingsStore& store = ui::settingsStore();
  m_Password.clear();

  // Fonts and colours.
  const QFont bold11 = DialogFont(11, 600);
  m_OkButton->setFont(bold11);
  m_PasswordEdit->setFont(bold11);
  m_Label->setFont(DialogFont(10.5, 600));
  QPalette lp = m_Label->palette();
  lp.setColor(QPalette::WindowText, kLabelText);
  m_Label->setPalette(lp);

  // The saved password.
  const int saveFlag = store.readInt(QStringLiteral("SaveFlag"), 0);
  if (saveFlag != 0) {
    QString saved = store.readString(QStringLiteral("SavePassword"), QString());
    while (!saved.isEmpty() && saved.back().isSpace()) saved.chop(1);
    m_PasswordEdit->setText(saved);
  }
  m_SaveBox->setChecked(saveFlag != 0);

  m_Label->setText(ui::Str(TextId::SearchPasswordPrompt));
  m_OkButton->setText(ui::Str(TextId::SearchRun));

  m_ShowBox->setChecked(store.readInt(QStringLiteral("PasswordShow"), 0) != 0);
  ShowPasswordChars(m_ShowBox->isChecked());
  m_PasswordEdit->setFocus();
  m_PasswordEdit->setCursorPosition(0);

  m_MacEdit->setFont(MacFont());
  m_MacEdit->setText(QString::fromStdString(MacText(m_SearchMac)));

  m_OneDeviceBox->setChecked(m_OneDevice == 1);
  m_MacBox->setChecked(m_SearchMacFlag == 1);
  ApplyOneDeviceRule();
}

void DlgPassword::ShowPasswordChars(bool plain) {
  m_PasswordEdit->setEchoMode(plain ? QLineEdit::Normal : QLineEdit::Password);
  m_PasswordEdit->update();
}

void DlgPassword::OnShowClicked() {
  ShowPasswordChars(m_ShowBox->isChecked());
  m_PasswordEdit->setFocus();
}

void DlgPassword::OnDeleteClicked() {
  store::SettingsStore& store = ui::settingsStore();
  store.writeInt(QStringLiteral("SaveFlag"), 0);
  store.remove(QStringLiteral("SavePassword"));
  m_SaveBox->setChecked(false);
}

void DlgPassword::ApplyOneDeviceRule() {
  const bool on = m_OneDeviceBox->isChecked();
  m_MacBox->setVisible(on);
  m_MacEdit->setVisible(on);
  if (on) ApplyMacRule();
}

void DlgPassword::ApplyMacRule() {
  if (m_MacBox->isChecked()) {
    // What was typed before is replaced by the address the caller gave.
    m_MacEdit->setText(QString::fromStdString(MacText(m_SearchMac)));
    m_MacEdit->setEnabled(true);
    m_MacEdit->setCursorPosition(0);
    m_MacEdit->setFocus();
  } else {
    m_MacEdit->setEnabled(false);
  }
}

QByteArray DlgPassword::PaddedPassword(const QString& text) {
  const SearchPassword padded = TypedSearchPassword(text.left(8).toStdString());
  return QByteArray(reinterpret_cast<const char*>(padded.data()), static_cast<qsizetype>(padded.size()));
}

void DlgPassword::OnOK() {
  store::SettingsStore& store = ui::settingsStore();
  QString text = m_PasswordEdit->text();
  if (text.isEmpty()) text = QStringLiteral("        ");
  if (text.size() > 8) {
    ui::ShowMessage(this, ui::Str(TextId::PasswordTooLong), ui::MsgIcon::None);
    m_PasswordEdit->setFocus();
    return;
  }
  m_Password = PaddedPassword(text);

  if (m_SaveBox->isChecked()) {
    store.writeInt(QStringLiteral("SaveFlag"), 1);
    store.writeString(QStringLiteral("SavePassword"), text);
  } else {
    store.writeInt(QStringLiteral("SaveFlag"), 0);
  }
  store.writeInt(QStringLiteral("PasswordShow"), m_ShowBox->isChecked() ? 1 : 0);

  m_SearchMacFlag = m_MacBox->isChecked() ? 1 : 0;
  m_OneDevice = m_OneDeviceBox->isChecked() ? 1 : 0;

  MacAddress filter{};
  if (m_SearchMacFlag == 1 && m_OneDevice == 1) {
    m_MacEdit->GetMACBytes(filter.data());
    const bool allZero = std::all_of(filter.begin(), filter.end(), [](std::uint8_t b) { return b == 0x00; });
    const bool allOnes = std::all_of(filter.begin(), filter.end(), [](std::uint8_t b) { return b == 0xFF; });
    if (allZero || allOnes) {
      ui::ShowMessage(this, ui::Str(TextId::MacAddressInvalid), ui::MsgIcon::Exclamation);
      m_MacEdit->setFocus();
      return;
    }
  }
  m_SearchMac = filter;
  ui::Dialog::accept();
}

}  // namespace lx47::app
