#include "app/DlgAppSetting.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "app/shell_fonts.h"
#include "controls/read_only_look.h"
#include "platform/codepage.h"
#include "protocol/mac_text.h"
#include "protocol/number_parse.h"
#include "ui/message_service.h"
#include "ui/settings_store.h"
#include "ui/strings.h"
#include "ui/window_gesture.h"

namespace lx47::app {

using texts::TextId;

namespace {

const QColor kSelectionText(0x3F, 0x3F, 0x3F);
const QColor kNoteText(0xA7, 0x00, 0x2F);

constexpr unsigned kSendMin = 5, kSendMax = 60;
constexpr unsigned kDelayMin = 16, kDelayMax = 100;
constexpr unsigned kRecvMin = 10, kRecvMax = 120;

QFont UiFont(qreal pt, int weight) { return GothicFont(pt, weight, {QStringLiteral("MS UI Gothic")}); }

// Adapter names and descriptions are single-byte texts of the platform: the
// ANSI code page on Windows, UTF-8 elsewhere.
QString AdapterText(const std::string& s) { return QString::fromStdString(platform::SystemTextToUtf8(s)); }
std::string AdapterBytes(const QString& s) { return platform::Utf8ToSystemText(s.toStdString()); }

void setTextColour(QWidget* w, QPalette::ColorRole role, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(role, c);
  w->setPalette(p);
}

void keepPlace(QWidget* w) {
  QSizePolicy p = w->sizePolicy();
  p.setRetainSizeWhenHidden(true);
  w->setSizePolicy(p);
}

QLineEdit* readOnlyEdit(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setReadOnly(true);
  controls::ShowReadOnlyLook(e);
  return e;
}

}  // namespace

DlgAppSetting::DlgAppSetting(ToolSettings& settings, QWidget* parent) : ui::Dialog(parent), m_Settings(settings) {
  setWindowTitle(ui::Str(TextId::ToolSettingsTitle));
  setFont(UiFont(9, 400));

  m_HostGroup = new QGroupBox(ui::Str(TextId::HostGroup), this);
  m_CurrentLabel = new QLabel(ui::Str(TextId::CurrentChoice), m_HostGroup);
  m_CurrentEdit = readOnlyEdit(m_HostGroup);
  m_HostList = new QComboBox(m_HostGroup);
  m_HostList->setEditable(false);
  m_HostList->setMinimumContentsLength(34);
  m_HostList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  m_RescanButton = new QPushButton(ui::Str(TextId::RescanButton), m_HostGroup);
  m_IpLabel = new QLabel(ui::Str(TextId::HostIpAddress), m_HostGroup);
  m_IpEdit = readOnlyEdit(m_HostGroup);
  m_MacLabel = new QLabel(ui::Str(TextId::MacAddressLabel), m_HostGroup);
  m_MacEdit = readOnlyEdit(m_HostGroup);
  m_TypeLabel = new QLabel(m_HostGroup);
  m_NoteLabel = new QLabel(ui::Str(TextId::HostChangeNote), m_HostGroup);

  m_SendCountLabel = new QLabel(ui::Str(TextId::SendCountLabel), this);
  m_SendCountEdit = new QLineEdit(this);
  m_SendCountRange = new QLabel(this);
  m_RecvCountLabel = new QLabel(ui::Str(TextId::RecvCountLabel), this);
  m_RecvCountEdit = new QLineEdit(this);
  m_RecvCountRange = new QLabel(this);
  m_RecvDelayLabel = new QLabel(ui::Str(TextId::RecvDelayLabel), this);
  m_RecvDelayEdit = new QLineEdit(this);
  m_RecvDelayRange = new QLabel(this);
  for (QLineEdit* e : {m_SendCountEdit, m_RecvCountEdit, m_RecvDelayEdit}) {
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(70);
  }
  for (QWidget* w : receiveControls()) keepPlace(w);

  m_DefaultsButton = new QPushButton(ui::Str(TextId::DefaultValuesButton), this);
  m_OkButton = new QPushButton(ui::Str(TextId::SetButton), this);
  m_OkButton->setDefault(true);
  m_CancelButton = new QPushButton(ui::Str(TextId::CancelButton), this);
  m_OkButton->setMinimumSize(96, 32);
  m_CancelButton->setMinimumSize(96, 32);
  m_DefaultsButton->setMinimumSize(96, 44);

  // Host selection: what is stored now, the list with its rescan, and the
  // chosen adapter's details; then the three numbers with their ranges and
  // the defaults button; then the two buttons.
  auto* hg = new QGridLayout(m_HostGroup);
  hg->setHorizontalSpacing(8);
  hg->addWidget(m_CurrentLabel, 0, 0);
  hg->addWidget(m_CurrentEdit, 0, 1, 1, 3);
  hg->addWidget(m_HostList, 1, 0, 1, 3);
  hg->addWidget(m_RescanButton, 1, 3);
  hg->addWidget(m_IpLabel, 2, 0);
  hg->addWidget(m_IpEdit, 2, 1);
  hg->addWidget(m_MacLabel, 3, 0);
  hg->addWidget(m_MacEdit, 3, 1);
  hg->addWidget(m_TypeLabel, 3, 2, 1, 2);
  hg->addWidget(m_NoteLabel, 4, 0, 1, 4);
  hg->setColumnStretch(1, 1);
  hg->setColumnStretch(2, 1);

  auto* numbers = new QGridLayout;
  numbers->setHorizontalSpacing(10);
  numbers->addWidget(m_SendCountLabel, 0, 0);
  numbers->addWidget(m_SendCountEdit, 0, 1);
  numbers->addWidget(m_SendCountRange, 0, 2);
  numbers->addWidget(m_RecvCountLabel, 1, 0);
  numbers->addWidget(m_RecvCountEdit, 1, 1);
  numbers->addWidget(m_RecvCountRange, 1, 2);
  numbers->addWidget(m_RecvDelayLabel, 2, 0);
  numbers->addWidget(m_RecvDelayEdit, 2, 1);
  numbers->addWidget(m_RecvDelayRange, 2, 2);
  numbers->setColumnStretch(3, 1);
  numbers->addWidget(m_DefaultsButton, 0, 4, 3, 1, Qt::AlignRight | Qt::AlignVCenter);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_OkButton);
  buttons->addSpacing(16);
  buttons->addWidget(m_CancelButton);

  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(14, 12, 14, 12);
  top->setSpacing(12);
  top->addWidget(m_HostGroup);
  top->addLayout(numbers);
  top->addLayout(buttons);

  connect(m_HostList, &QComboBox::currentIndexChanged, this, [this](int) { OnSelChangeHostList(); });
  connect(m_RescanButton, &QPushButton::clicked, this, &DlgAppSetting::OnRescan);
  connect(m_DefaultsButton, &QPushButton::clicked, this, &DlgAppSetting::OnDefaults);
  connect(m_OkButton, &QPushButton::clicked, this, &DlgAppSetting::OnOK);
  connect(m_CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  new ui::WindowGesture(this, [this] { OnRightDoubleClick(); });
}

DlgAppSetting::~DlgAppSetting() = default;

std::vector<QWidget*> DlgAppSetting::receiveControls() const {
  return {m_RecvCountLabel, m_RecvCountEdit, m_RecvCountRange, m_RecvDelayLabel, m_RecvDelayEdit, m_RecvDelayRange};
}

void DlgAppSetting::showEvent(QShowEvent* e) {
  if (!m_Initialised) {
    m_Initialised = true;
    OnInitDialog();
  }
  ui::Dialog::showEvent(e);
}

void DlgAppSetting::OnInitDialog() {
  m_RDblClkCount = 0;
  m_OkButton->setFont(UiFont(11, 600));
  m_CurrentLabel->setFont(UiFont(8, 400));
  m_CurrentEdit->setFont(UiFont(8, 400));
  setTextColour(m_CurrentLabel, QPalette::WindowText, kSelectionText);
  setTextColour(m_CurrentEdit, QPalette::Text, kSelectionText);
  setTextColour(m_NoteLabel, QPalette::WindowText, kNoteText);

  FillHostList();

  m_SendCountRange->setText(ui::Str(texts::NumberRangeText(kSendMin, kSendMax)));
  m_RecvDelayRange->setText(ui::Str(texts::NumberRangeText(kDelayMin, kDelayMax)));
  m_RecvCountRange->setText(ui::Str(texts::NumberRangeText(kRecvMin, kRecvMax)));

  // Opening reads the three numbers afresh from the store, as the fields
  // show what is stored. "%u": as an unsigned number, as the edit reads it.
  store::StoreAccess store(ui::settingsStore());
  for (int ToolSettings::*n : {&ToolSettings::MaxSendCmdLoopCount, &ToolSettings::RecvDelay_msec,
                               &ToolSettings::MaxRecvLoopCount})
    ReloadSetting(store, m_Settings, n);
  m_SendCountEdit->setText(QString::number(static_cast<unsigned>(m_Settings.MaxSendCmdLoopCount)));
  m_RecvDelayEdit->setText(QString::number(static_cast<unsigned>(m_Settings.RecvDelay_msec)));
  m_RecvCountEdit->setText(QString::number(static_cast<unsigned>(m_Settings.MaxRecvLoopCount)));

  ShowReceiveControls(m_Settings.APP_SETTING_OPTION1 == 1);
}

void DlgAppSetting::ShowReceiveControls(bool shown) {
  for (QWidget* w : receiveControls()) w->setVisible(shown);
}

void DlgAppSetting::FillHostList() {
  // The handler runs once, after the list is complete.
  const QSignalBlocker quiet(m_HostList);
  m_HostList->clear();
  m_Adapters.clear();
  hostnet::EnumAdapters(hostnet::hostNetSource(), m_Adapters);
  // A warning prepared by an earlier fill is stale now.
  m_PendingWarning.clear();

  // The stored choice, read afresh.
  store::StoreAccess store(ui::settingsStore());
  ReloadSetting(store, m_Settings, &ToolSettings::ALL_HOST_SCAN);
  for (std::string ToolSettings::*text :
       {&ToolSettings::HOST_DESC, &ToolSettings::HOST_IP, &ToolSettings::HOST_ADAPTERNAME})
    ReloadSetting(store, m_Settings, text);
  const bool allHosts = m_Settings.ALL_HOST_SCAN != 0;
  const QString storedDesc = QString::fromStdString(m_Settings.HOST_DESC);
  const QString storedIp = QString::fromStdString(m_Settings.HOST_IP);
  m_CurrentLabel->show();
  if (allHosts)
    m_CurrentEdit->setText(ui::Str(TextId::ScanAllModeShown));
  else
    m_CurrentEdit->setText(ui::Str(texts::HostWithAddressText(m_Settings.HOST_DESC, m_Settings.HOST_IP)));

  m_HostList->addItem(ui::Str(TextId::ScanAllHosts), -1);

  const std::string storedName = AdapterBytes(QString::fromStdString(m_Settings.HOST_ADAPTERNAME));
  int remembered = -1;
  for (std::size_t i = 0; i < m_Adapters.size(); ++i) {
    const hostnet::AdapterInfo& a = m_Adapters[i];
    if (!hostnet::Selectable(a)) continue;
    m_HostList->addItem(AdapterText(a.description), static_cast<int>(i));
    if (!allHosts && !storedIp.isEmpty() && remembered < 0 && a.name == storedName) {
      remembered = m_HostList->count() - 1;
      m_SelectedAdapterName = a.name;
    }
  }

  if (!allHosts && remembered < 0 && !storedDesc.isEmpty()) {
    m_PendingWarning = ui::Str(texts::StoredHostInvalidText(m_Settings.HOST_DESC, m_Settings.HOST_IP));
    if (m_WarningTimer) killTimer(m_WarningTimer);
    m_WarningTimer = startTimer(kWarningTimerMs);
  }

  m_HostList->setEnabled(true);
  m_HostList->setCurrentIndex(remembered >= 0 ? remembered : 0);
  OnSelChangeHostList();
}

void DlgAppSetting::OnSelChangeHostList() {
  const int pos = m_HostList->currentData().toInt();
  const hostnet::AdapterInfo* a =
      (pos >= 0 && static_cast<std::size_t>(pos) < m_Adapters.size()) ? &m_Adapters[pos] : nullptr;
  if (pos >= 0 && a) {
    m_IpEdit->setText(QString::fromStdString(a->firstAddress));
    m_MacEdit->setText(QString::fromStdString(MacText(a->mac)));
    m_TypeLabel->setText(QString::fromUtf8(hostnet::AdapterTypeName(a->type)));
    for (QWidget* w : std::initializer_list<QWidget*>{m_IpEdit, m_MacEdit, m_TypeLabel, m_IpLabel, m_MacLabel})
      w->setEnabled(true);
    m_SelectedAdapterName = a->name;
    return;
  }
  m_IpEdit->clear();
  m_MacEdit->clear();
  m_TypeLabel->clear();
  for (QWidget* w : std::initializer_list<QWidget*>{m_IpEdit, m_MacEdit, m_TypeLabel, m_IpLabel, m_MacLabel})
    w->setEnabled(false);
}

void DlgAppSetting::OnRescan() {
  for (QWidget* w : std::initializer_list<QWidget*>{m_HostList, m_IpLabel, m_IpEdit, m_MacLabel, m_MacEdit, m_TypeLabel})
    w->setEnabled(false);
  repaint();
  // Adapters that just came up need a moment before they report an address;
  // the wait cursor stays until the list is filled again.
  const ui::WaitCursor busy;
  ui::messages().waitCursorPause(1000);
  FillHostList();
}

void DlgAppSetting::OnDefaults() {
  m_SendCountEdit->setText(QStringLiteral("10"));
  m_RecvDelayEdit->setText(QStringLiteral("20"));
  m_RecvCountEdit->setText(QStringLiteral("60"));
}

void DlgAppSetting::timerEvent(QTimerEvent* e) {
  if (e->timerId() != m_WarningTimer) {
    ui::Dialog::timerEvent(e);
    return;
  }
  killTimer(m_WarningTimer);
  m_WarningTimer = 0;
  if (!m_PendingWarning.isEmpty()) ui::ShowMessage(this, m_PendingWarning, ui::MsgIcon::Error);
}

void DlgAppSetting::OnRightDoubleClick() {
  ++m_RDblClkCount;
  if (m_RDblClkCount == kRevealCount) {
    m_Settings.APP_SETTING_OPTION1 = 1;  // for the rest of this run; not stored
    ShowReceiveControls(true);
  }
}

bool DlgAppSetting::StoreNumber(QLineEdit* edit, int ToolSettings::*setting, unsigned min, unsigned max,
                                const QString& invalidChars, const QString& outOfRange) {
  const NumberResult r = ParseNumber(edit->text().toStdString(), number_rules::Strict(min, max));
  if (!r.ok()) {
    ui::ShowMessage(this, r.status == NumberStatus::BadCharacters ? invalidChars : outOfRange,
                    ui::MsgIcon::Exclamation);
    edit->selectAll();
    edit->setFocus();
    return false;
  }
  store::StoreAccess store(ui::settingsStore());
  StoreSetting(store, m_Settings, setting, static_cast<int>(r.value));
  return true;
}

void DlgAppSetting::OnOK() {
  QApplication::beep();
  store::StoreAccess store(ui::settingsStore());

  if (m_HostList->currentData().toInt() < 0)
    StoreAllHosts(store, m_Settings);
  else
    StoreChosenAdapter(store, m_Settings, AdapterText(m_SelectedAdapterName).toStdString(),
                       m_HostList->currentText().toStdString(), m_IpEdit->text().toStdString());

  if (!StoreNumber(m_SendCountEdit, &ToolSettings::MaxSendCmdLoopCount, kSendMin, kSendMax,
                   ui::Str(TextId::SendCountBadCharacters), ui::Str(TextId::SendCountOutOfRange)))
    return;
  if (!StoreNumber(m_RecvDelayEdit, &ToolSettings::RecvDelay_msec, kDelayMin, kDelayMax,
                   ui::Str(TextId::RecvDelayBadCharacters), ui::Str(TextId::RecvDelayOutOfRange)))
    return;
  if (!StoreNumber(m_RecvCountEdit, &ToolSettings::MaxRecvLoopCount, kRecvMin, kRecvMax,
                   ui::Str(TextId::RecvCountBadCharacters), ui::Str(TextId::RecvCountOutOfRange)))
    return;
  ui::Dialog::accept();
}

}  // namespace lx47::app
