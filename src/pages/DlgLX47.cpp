#include "pages/DlgLX47.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/CStaticEx.h"
#include "pagerules/wifi_rules.h"
#include "pages/DlgSelectRouter.h"
#include "pages/page_controls.h"
#include "pages/page_report.h"
#include "protocol/router_scan.h"
#include "protocol/session.h"
#include "ui/message_service.h"
#include "ui/strings.h"

namespace lx47::pages {

using texts::TextId;

namespace {

using pagerules::PageField;

constexpr RefusalIcon kIcons[] = {
    {TextId::ApPasswordTooShort, ui::MsgIcon::Exclamation},
};
const QColor kStatusColor(167, 0, 47);

}  // namespace

DlgLX47::DlgLX47(Session& session, OperationRunner runner, QWidget* parent)
    : SettingsPage(parent), m_Session(session), m_Runner(std::move(runner)) {
  // The page's one message has no "[title]" prefix.
  m_PageTitle.clear();

  m_ModeLabel = new controls::CStaticEx(this);
  m_ModeLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  m_LinkLabel = new controls::CStaticEx(this);
  m_LinkLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  auto* infraGroup = new QGroupBox(ui::Str(TextId::InfrastructureGroup), this);
  m_RouterButton = new QPushButton(ui::Str(TextId::SearchRouters), infraGroup);
  m_RouterButton->setEnabled(false);
  m_InfraSsid = new QLineEdit(infraGroup);
  m_InfraPassword = new QLineEdit(infraGroup);
  MakePasswordEdit(m_InfraPassword);
  m_InfraShow = new QCheckBox(ui::Str(TextId::ShowCharacters), infraGroup);

  auto* apGroup = new QGroupBox(ui::Str(TextId::AccessPointGroup), this);
  m_ApSsid = new QLineEdit(apGroup);
  m_ApPassword = new QLineEdit(apGroup);
  MakePasswordEdit(m_ApPassword);
  m_ApShow = new QCheckBox(ui::Str(TextId::ShowCharacters), apGroup);
  m_Security = new QComboBox(apGroup);
  m_Channel = new QComboBox(apGroup);

  for (const pagerules::SecurityChoice& item : pagerules::kApSecurityChoices)
    m_Security->addItem(QString::fromLatin1(item.text), item.code);
  m_Security->setCurrentIndex(pagerules::kOpenSecurity);
  for (int ch = 1; ch <= pagerules::kChannelCount; ++ch) m_Channel->addItem(QString::asprintf("%d", ch), ch);
  m_Channel->setCurrentIndex(pagerules::kDefaultChannelPosition);

  const QFont editFont = PageFont(this, 10, 600);
  for (QLineEdit* e : {m_InfraSsid, m_InfraPassword, m_ApSsid, m_ApPassword}) {
    e->setFont(editFont);
    e->setAlignment(Qt::AlignCenter);
  }
  const QFont statusFont = PageFont(this, 9, 400);
  for (controls::CStaticEx* l : {m_ModeLabel, m_LinkLabel}) {
    l->setFont(statusFont);
    l->setTextColor(kStatusColor);
    // One status line on the page's own background, like the coloured
    // texts of the other pages, not two grey patches.
    l->m_DrawTransparent = true;
  }
  m_InfraSsid->setMaxLength(pagerules::kInfraSsidMaxLength);
  m_InfraPassword->setMaxLength(pagerules::kInfraPasswordMaxLength);
  m_ApSsid->setMaxLength(pagerules::kApSsidMaxLength);
  m_ApPassword->setMaxLength(pagerules::kApPasswordMaxLength);

  auto* status = new QHBoxLayout;
  status->addWidget(m_ModeLabel, 1);
  status->addWidget(m_LinkLabel, 1);

  auto* infra = new QGridLayout(infraGroup);
  infra->addWidget(m_RouterButton, 0, 0, 1, 2, Qt::AlignRight);
  infra->addWidget(new QLabel(ui::Str(TextId::InfrastructureSsid), infraGroup), 1, 0, 1, 2);
  infra->addWidget(m_InfraSsid, 2, 0, 1, 2);
  infra->addWidget(new QLabel(ui::Str(TextId::InfrastructurePassword), infraGroup), 3, 0);
  infra->addWidget(m_InfraShow, 3, 1, Qt::AlignRight);
  infra->addWidget(m_InfraPassword, 4, 0, 1, 2);

  auto* ap = new QGridLayout(apGroup);
  ap->addWidget(new QLabel(ui::Str(TextId::AccessPointSsid), apGroup), 0, 0, 1, 2);
  ap->addWidget(m_ApSsid, 1, 0, 1, 2);
  ap->addWidget(new QLabel(ui::Str(TextId::AccessPointPassword), apGroup), 2, 0);
  ap->addWidget(m_ApShow, 2, 1, Qt::AlignRight);
  ap->addWidget(m_ApPassword, 3, 0, 1, 2);
  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel(ui::Str(TextId::SecurityMode), apGroup), 0, 0);
  lists->addWidget(m_Security, 0, 1);
  lists->addWidget(new QLabel(ui::Str(TextId::WifiChannel), apGroup), 1, 0);
  lists->addWidget(m_Channel, 1, 1);
  lists->setColumnStretch(2, 1);
  ap->addLayout(lists, 4, 0, 1, 2);

  auto* root = new QVBoxLayout(this);
  root->addLayout(status);
  root->addWidget(infraGroup);
  root->addWidget(apGroup);
  root->addStretch(1);

  connect(m_InfraShow, &QCheckBox::clicked, this, [this] {
    ShowPasswordPlain(m_InfraPassword, m_InfraShow->isChecked());
    m_InfraPassword->setFocus();
  });
  connect(m_ApShow, &QCheckBox::clicked, this, [this] {
    ShowPasswordPlain(m_ApPassword, m_ApShow->isChecked());
    m_ApPassword->setFocus();
  });
  connect(m_Security, &QComboBox::currentIndexChanged, this, &DlgLX47::OnSecurityChanged);
  connect(m_RouterButton, &QPushButton::clicked, this, &DlgLX47::OnSelectRouter);
}

void DlgLX47::LoadFromEntry(DeviceEntry& entry, int index) {
  m_SettingIndex = index;
  if (!entry.hasBlock()) return;
  const pagerules::WifiShown shown = pagerules::LoadWifi(entry.block());
  const pagerules::WifiValues& v = shown.values;

  m_ModeLabel->setText(ui::Str(TextId::CurrentMode) + ui::Str(shown.modeName));
  m_LinkLabel->setText(QString::fromStdString(shown.linkSecurity) + ui::Str(texts::LinkChannelText(shown.linkChannel)));

  m_InfraSsid->setText(QString::fromStdString(v.infraSsid));
  m_InfraPassword->setText(QString::fromStdString(v.infraPassword));
  m_ApSsid->setText(QString::fromStdString(v.apSsid));
  m_ApPassword->setText(QString::fromStdString(v.apPassword));
  m_Security->blockSignals(true);
  m_Security->setCurrentIndex(v.apSecurity);
  m_Security->blockSignals(false);
  UpdateApPasswordEnabled();
  m_Channel->setCurrentIndex(v.apChannel);

  m_RouterButton->setEnabled(true);
}

void DlgLX47::EnableControls(bool enable, int index) {
  m_SettingIndex = index;
  for (QWidget* w : std::initializer_list<QWidget*>{m_ModeLabel, m_LinkLabel, m_InfraSsid, m_InfraPassword,
                                                    m_InfraShow, m_Security, m_Channel, m_RouterButton})
    w->setEnabled(enable);
  // The access-point password follows the security list, as a change of the
  // list would set it: with "open" there is no password to type.
  if (enable)
    UpdateApPasswordEnabled();
  else {
    m_ApPassword->setEnabled(false);
    m_ApShow->setEnabled(false);
  }
  m_ApSsid->setEnabled(enable);
}

pagerules::WifiValues DlgLX47::Values() const {
  pagerules::WifiValues v;
  v.infraSsid = m_InfraSsid->text().toStdString();
  v.infraPassword = m_InfraPassword->text().toStdString();
  v.apSsid = m_ApSsid->text().toStdString();
  v.apPassword = m_ApPassword->text().toStdString();
  v.apSecurity = m_Security->currentIndex();
  v.apChannel = m_Channel->currentIndex();
  return v;
}

pagerules::FieldSet DlgLX47::EnabledFields() const {
  pagerules::FieldSet s;
  s.set(PageField::Wifi_Infra_SSID, m_InfraSsid->isEnabled());
  s.set(PageField::Wifi_Infra_Password, m_InfraPassword->isEnabled());
  s.set(PageField::Wifi_AP_SSID, m_ApSsid->isEnabled());
  s.set(PageField::Wifi_AP_Security, m_Security->isEnabled());
  s.set(PageField::Wifi_AP_Channel, m_Channel->isEnabled());
  return s;
}

bool DlgLX47::StoreToBlock(DeviceEntry& entry, bool) {
  if (!entry.hasBlock()) return true;
  ConfigBlock block = entry.block();
  // The message is shown whatever the caller asks; the access-point
  // password is the page's one field that can be refused.
  return StoreAnswer(pagerules::StoreWifi(block, Values(), EnabledFields()), true, this, m_PageTitle, kIcons,
                     m_ApPassword);
}

void DlgLX47::OnSecurityChanged() { UpdateApPasswordEnabled(); }

void DlgLX47::UpdateApPasswordEnabled() {
  const bool on = m_Security->currentIndex() != 0;
  m_ApPassword->setEnabled(on);
  m_ApShow->setEnabled(on);
}

void DlgLX47::OnSelectRouter() {
  if (m_SettingIndex < 0) {
    ui::ShowAppMessage(this, QStringLiteral(" m_SettingIndex  NG!!!\n"), ui::MsgIcon::None);
    return;
  }
  DlgSelectRouter dlg(m_Session, m_Runner, this);
  dlg.m_SettingIndex = m_SettingIndex;
  const int code = m_RunRouterDialog ? m_RunRouterDialog(dlg) : dlg.exec();
  if (code != QDialog::Accepted) return;
  const int r = dlg.m_SelectedRecord;
  if (r < 0 || r >= kRouterScanCapacity) return;
  pagerules::WifiValues v = Values();
  if (pagerules::ChooseRouter(v, pagerules::RouterSsidText(m_Session.RouterScanTable[static_cast<std::size_t>(r)]))) {
    m_InfraSsid->setText(QString::fromStdString(v.infraSsid));
    m_InfraPassword->setText(QString::fromStdString(v.infraPassword));
  }
}

}  // namespace lx47::pages
