#include "pages/DlgNetwork.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "controls/CIPAddrEdit.h"
#include "controls/read_only_look.h"
#include "pagerules/network_rules.h"
#include "pages/DlgOption.h"
#include "pages/page_controls.h"
#include "pages/page_report.h"
#include "ui/strings.h"
#include "ui/window_gesture.h"

namespace lx47::pages {

using texts::TextId;

namespace {

using pagerules::ModeChoice;
using pagerules::PageField;

constexpr RefusalIcon kIcons[] = {
    {TextId::LocalPortInvalid, ui::MsgIcon::Exclamation},
    {TextId::LocalAddressInvalid, ui::MsgIcon::Exclamation},
    {TextId::SubnetMaskInvalid, ui::MsgIcon::Exclamation},
    {TextId::ServerPortInvalid, ui::MsgIcon::Exclamation},
};

QLabel* RightLabel(const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return l;
}

QLineEdit* PortEdit(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setAlignment(Qt::AlignCenter);
  e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
  e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 14);
  return e;
}

// A radio button whose check the page sets itself in its click handlers, as
// the handlers decide which of the group's buttons end up checked (none, at
// first, for a mode the page does not offer).
QRadioButton* Radio(const QString& text, QWidget* parent) {
  auto* r = new QRadioButton(text, parent);
  r->setAutoExclusive(false);
  return r;
}

void KeepPlace(QWidget* w) {
  QSizePolicy p = w->sizePolicy();
  p.setRetainSizeWhenHidden(true);
  w->setSizePolicy(p);
}

}  // namespace

DlgNetwork::DlgNetwork(QWidget* parent) : SettingsPage(parent) {
  m_PageTitle = ui::Str(TextId::NetworkPageTitle);
  m_UnlockCount = 0;
  new ui::WindowGesture(this, [this] { OnRightDoubleClick(); });
  m_BoldFont = PageFont(this, 10, 600);

  // Addressing (group 1019).
  auto* ipGroup = new QGroupBox(ui::Str(TextId::IpAddressGroup), this);
  m_Manual = Radio(ui::Str(TextId::ManualSetting), ipGroup);
  m_Dhcp = Radio(QStringLiteral("DHCP"), ipGroup);
  m_LocalIpLabel = RightLabel(ui::Str(TextId::LocalIpAddress), ipGroup);
  m_MaskLabel = RightLabel(ui::Str(TextId::SubnetMask), ipGroup);
  m_GatewayLabel = RightLabel(ui::Str(TextId::DefaultGateway), ipGroup);
  m_LocalIp = new controls::CIPAddrEdit(ipGroup);
  m_Mask = new controls::CIPAddrEdit(ipGroup);
  m_Gateway = new controls::CIPAddrEdit(ipGroup);
  m_PortLabel = new QLabel(ui::Str(TextId::PortNumber), ipGroup);
  m_Port = PortEdit(ipGroup);
  auto* ipGrid = new QGridLayout(ipGroup);
  auto* radios = new QHBoxLayout;
  radios->addWidget(m_Manual);
  radios->addSpacing(12);
  radios->addWidget(m_Dhcp);
  radios->addStretch(1);
  ipGrid->addLayout(radios, 0, 0, 1, 4);
  ipGrid->addWidget(m_LocalIpLabel, 1, 0);
  ipGrid->addWidget(m_LocalIp, 1, 1);
  ipGrid->addWidget(m_PortLabel, 1, 2, Qt::AlignRight);
  ipGrid->addWidget(m_Port, 1, 3);
  ipGrid->addWidget(m_MaskLabel, 2, 0);
  ipGrid->addWidget(m_Mask, 2, 1);
  ipGrid->addWidget(m_GatewayLabel, 3, 0);
  ipGrid->addWidget(m_Gateway, 3, 1);
  ipGrid->setColumnStretch(4, 1);
  ipGrid->setHorizontalSpacing(4);
  ipGrid->setContentsMargins(6, 4, 6, 4);

  // Operation mode (group 1024), hidden until an entry in TCP Client mode
  // is loaded. The Mixed radio (1027) is no member of the group: it shows
  // with the extended settings whether the group is shown or not, so it
  // sits beside the group box, over a slot in the group's row of modes.
  auto* modeArea = new QWidget(this);
  m_ModeGroup = new QGroupBox(ui::Str(TextId::OperationModeGroup), modeArea);
  m_Server = Radio(QString::fromLatin1(pagerules::kServerModeText), m_ModeGroup);
  m_Client = Radio(QString::fromLatin1(pagerules::kClientModeText), m_ModeGroup);
  // A single ampersand would mark a shortcut key on a button.
  m_Mixed = Radio(QString::fromLatin1(pagerules::kMixedModeText).replace(QLatin1Char('&'), QStringLiteral("&&")),
                  modeArea);
  m_MixedSlot = new QWidget(m_ModeGroup);
  m_MixedSlot->setFixedSize(m_Mixed->sizeHint());
  m_ServerIpLabel = new QLabel(ui::Str(TextId::ServerIpAddress), m_ModeGroup);
  m_ServerIpLabel->setAlignment(Qt::AlignCenter);
  m_ServerIp = new controls::CIPAddrEdit(m_ModeGroup);
  m_ServerPortLabel = new QLabel(ui::Str(TextId::PortNumber), m_ModeGroup);
  m_ServerPort = PortEdit(m_ModeGroup);
  auto* modeGrid = new QGridLayout(m_ModeGroup);
  auto* modes = new QHBoxLayout;
  modes->addWidget(m_Server);
  modes->addWidget(m_Client);
  modes->addWidget(m_MixedSlot);
  modes->addStretch(1);
  modeGrid->addLayout(modes, 0, 0, 1, 4);
  modeGrid->addWidget(m_ServerIpLabel, 1, 0);
  modeGrid->addWidget(m_ServerIp, 1, 1);
  modeGrid->addWidget(m_ServerPortLabel, 1, 2, Qt::AlignRight);
  modeGrid->addWidget(m_ServerPort, 1, 3);
  modeGrid->setColumnStretch(4, 1);
  modeGrid->setHorizontalSpacing(4);
  modeGrid->setContentsMargins(6, 4, 6, 4);
  KeepPlace(m_ModeGroup);
  auto* areaLayout = new QVBoxLayout(modeArea);
  areaLayout->setContentsMargins(0, 0, 0, 0);
  areaLayout->addWidget(m_ModeGroup);
  modeArea->installEventFilter(this);
  QWidget::setTabOrder(m_Client, m_Mixed);
  m_ModeGroup->setVisible(false);
  m_Mixed->setVisible(false);
  m_Mixed->setEnabled(false);

  // Extended settings: connection through the server's domain name.
  m_DnsConnect = new QCheckBox(ui::Str(TextId::DnsConnect), this);
  m_DnsLabel = new QLabel(ui::Str(TextId::DnsServerIpAddress), this);
  m_DnsServer = new controls::CIPAddrEdit(this);
  m_DomainLabel = new QLabel(ui::Str(TextId::DomainName), this);
  m_Domain = new QLineEdit(this);
  for (QWidget* w : std::initializer_list<QWidget*>{m_DnsConnect, m_DnsLabel, m_DnsServer, m_DomainLabel, m_Domain})
    KeepPlace(w);
  auto* dnsGrid = new QGridLayout;
  dnsGrid->setContentsMargins(8, 0, 8, 0);
  dnsGrid->addWidget(m_DnsConnect, 0, 0, 1, 3);
  dnsGrid->addWidget(m_DnsLabel, 1, 0);
  dnsGrid->addWidget(m_DnsServer, 1, 1);
  dnsGrid->addWidget(m_DomainLabel, 2, 0);
  dnsGrid->addWidget(m_Domain, 2, 1, 1, 2);
  dnsGrid->setColumnStretch(2, 1);
  m_DnsConnect->setVisible(false);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(6, 6, 6, 6);
  root->addWidget(ipGroup);
  root->addSpacing(8);
  root->addWidget(modeArea);
  root->addSpacing(8);
  root->addLayout(dnsGrid);
  root->addStretch(1);

  for (QWidget* w : std::initializer_list<QWidget*>{m_LocalIp, m_Port, m_Mask, m_Gateway, m_ServerIp, m_ServerPort,
                                                    m_DnsServer})
    w->setFont(m_BoldFont);
  for (QLineEdit* e : {m_Port, m_ServerPort})
    e->setFixedWidth(QFontMetrics(m_BoldFont).horizontalAdvance(QStringLiteral("00000")) + 14);
  m_Port->setReadOnly(true);
  controls::ShowReadOnlyLook(m_Port);

  connect(m_Manual, &QRadioButton::clicked, this, &DlgNetwork::SelectManualAddress);
  connect(m_Dhcp, &QRadioButton::clicked, this, &DlgNetwork::SelectDhcp);
  connect(m_Server, &QRadioButton::clicked, this, [this] { SelectServerMode(false); });
  connect(m_Client, &QRadioButton::clicked, this, &DlgNetwork::SelectClientMode);
  connect(m_Mixed, &QRadioButton::clicked, this, &DlgNetwork::SelectMixedMode);

  m_FieldControls = {{PageField::Local_Port, m_Port},
                     {PageField::DHCP_Enable, m_Dhcp},
                     {PageField::Device_IP_Address, m_LocalIp},
                     {PageField::Subnet_Mask, m_Mask},
                     {PageField::Default_Gateway, m_Gateway},
                     {PageField::Server_IP_Address, m_ServerIp},
                     {PageField::Server_Port, m_ServerPort}};
  ShowExtendedSettings(false);
}

bool DlgNetwork::On(const QWidget* w) const { return w->isEnabledTo(this); }

bool DlgNetwork::eventFilter(QObject* watched, QEvent* event) {
  // The area has laid out the group box (also while it is hidden, as it
  // keeps its place); the group's own layout runs here too, so the slot's
  // place is known even while the group is hidden.
  if (watched == m_Mixed->parent() && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest ||
                                       event->type() == QEvent::Show)) {
    if (m_MixedSlot->size() != m_Mixed->sizeHint()) m_MixedSlot->setFixedSize(m_Mixed->sizeHint());
    m_ModeGroup->layout()->setGeometry(m_ModeGroup->contentsRect());
    m_Mixed->setGeometry(QRect(m_ModeGroup->pos() + m_MixedSlot->pos(), m_MixedSlot->size()));
    m_Mixed->raise();
  }
  return SettingsPage::eventFilter(watched, event);
}

void DlgNetwork::ShowExtendedSettings(bool shown) {
  m_ExtendedSettingsShown = shown;
  m_Mixed->setVisible(shown);
  m_Mixed->setEnabled(shown);
  for (QWidget* w : std::initializer_list<QWidget*>{m_DnsConnect, m_DnsLabel, m_DnsServer, m_DomainLabel, m_Domain})
    w->setVisible(shown);
}

void DlgNetwork::EnableAddressFields(bool enable) {
  for (QWidget* w : std::initializer_list<QWidget*>{m_LocalIpLabel, m_MaskLabel, m_GatewayLabel, m_LocalIp, m_Mask,
                                                    m_Gateway})
    w->setEnabled(enable);
}

void DlgNetwork::EnableServerFields(bool enable) {
  for (QWidget* w : std::initializer_list<QWidget*>{m_ServerIpLabel, m_ServerIp, m_ServerPortLabel, m_ServerPort})
    w->setEnabled(enable);
}

void DlgNetwork::SelectManualAddress() {
  m_Manual->setChecked(true);
  m_Dhcp->setChecked(false);
  EnableAddressFields(true);
}

void DlgNetwork::SelectDhcp() {
  m_Dhcp->setChecked(true);
  m_Manual->setChecked(false);
  EnableAddressFields(false);
}

void DlgNetwork::SelectServerMode(bool fromLoad) {
  m_Server->setChecked(true);
  m_Client->setChecked(false);
  m_Mixed->setChecked(false);
  EnableServerFields(false);
  EnableConnectPassword(!fromLoad);
}

void DlgNetwork::SelectClientMode() {
  m_Client->setChecked(true);
  m_Server->setChecked(false);
  m_Mixed->setChecked(false);
  EnableServerFields(true);
  EnableConnectPassword(false);
}

void DlgNetwork::SelectMixedMode() {
  m_Mixed->setChecked(true);
  m_Server->setChecked(false);
  m_Client->setChecked(false);
  EnableServerFields(true);
  EnableConnectPassword(false);
}

void DlgNetwork::EnableConnectPassword(bool available) {
  DlgOption* option = m_OptionPage;
  if (!option && window() != this) option = window()->findChild<DlgOption*>();
  if (option) option->EnableConnectPassword(available);
}

void DlgNetwork::ShowModeGroup(bool shown) { m_ModeGroup->setVisible(shown); }

void DlgNetwork::LoadFromEntry(DeviceEntry& entry, int) {
  if (!entry.hasBlock()) return;
  ConfigBlock block = entry.block();
  const pagerules::NetworkShown shown = pagerules::LoadNetwork(block);
  const pagerules::NetworkValues& v = shown.values;

  if (v.dhcp)
    SelectDhcp();
  else
    SelectManualAddress();
  m_Port->setText(QString::fromStdString(v.localPort));
  m_LocalIp->setAddress(v.deviceIp);
  m_Mask->setAddress(v.subnetMask);
  m_Gateway->setAddress(v.defaultGateway);

  if (v.mode == ModeChoice::Server)
    SelectServerMode(true);
  else if (v.mode == ModeChoice::Client)
    SelectClientMode();
  ShowModeGroup(shown.modeGroupShown);
  if (shown.modeGroupShown) m_ServerPort->setText(QString::fromStdString(v.serverPort));
  m_ServerIp->setAddress(v.serverIp);

  m_DnsConnect->setChecked(v.dnsConnect);
  m_DnsServer->setAddress(v.dnsServer);
  m_Domain->setText(QString::fromStdString(v.domainName));
}

void DlgNetwork::EnableControls(bool enable, int) {
  m_Manual->setEnabled(enable);
  m_Dhcp->setEnabled(enable);
  EnableAddressFields(enable && m_Manual->isChecked());
  for (QWidget* w : std::initializer_list<QWidget*>{m_PortLabel, m_Port, m_Server, m_Client, m_Mixed})
    w->setEnabled(enable);
  EnableServerFields(enable && (m_Client->isChecked() || m_Mixed->isChecked()));
}

pagerules::NetworkValues DlgNetwork::Values() const {
  pagerules::NetworkValues v;
  v.dhcp = m_Dhcp->isChecked();
  v.localPort = m_Port->text().toStdString();
  v.deviceIp = m_LocalIp->address();
  v.subnetMask = m_Mask->address();
  v.defaultGateway = m_Gateway->address();
  v.mode = m_Server->isChecked()   ? ModeChoice::Server
           : m_Client->isChecked() ? ModeChoice::Client
           : m_Mixed->isChecked()  ? ModeChoice::Mixed
                                   : ModeChoice::None;
  v.serverIp = m_ServerIp->address();
  v.serverPort = m_ServerPort->text().toStdString();
  v.dnsConnect = m_DnsConnect->isChecked();
  v.dnsServer = m_DnsServer->address();
  v.domainName = m_Domain->text().toStdString();
  return v;
}

bool DlgNetwork::StoreToBlock(DeviceEntry& entry, bool report) {
  if (!entry.hasBlock()) return true;
  ConfigBlock block = entry.block();
  const pagerules::StoreResult r =
      pagerules::StoreNetwork(block, Values(), EnabledFields(m_FieldControls, this), m_ExtendedSettingsShown);
  return StoreAnswer(r, report, this, m_PageTitle, kIcons, ControlOf(m_FieldControls, r.field));
}

void DlgNetwork::OnRightDoubleClick() {
  if (!On(m_Port) || m_UnlockCount >= kPortUnlockCount) return;
  if (++m_UnlockCount == kPortUnlockCount) {
    QApplication::beep();
    m_Port->setReadOnly(false);
  }
}

}  // namespace lx47::pages
