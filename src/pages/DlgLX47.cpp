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
#include <cstring>

#include "controls/CStaticEx.h"
#include "pages/DlgSelectRouter.h"
#include "pages/page_controls.h"
#include "pages/zero_text.h"
#include "platform/codepage.h"
#include "protocol/router_scan.h"
#include "protocol/session.h"
#include "ui/message_service.h"
#include "ui/strings.h"

namespace lx47::pages {

namespace {

struct SecurityItem {
  const char* text;
  int code;
};
constexpr SecurityItem kSecurityItems[] = {{"open", 0}, {"WPA", 2},  {"WPA2", 3},
                                           {"WPA/WPA2", 4}, {"WPA3", 6}, {"WPA2/WPA3", 7}};
constexpr int kWpaWpa2Index = 3;
constexpr int kDefaultChannelIndex = 10;  // channel 11
const QColor kStatusColor(167, 0, 47);

QString ModeName(std::uint8_t mode) {
  switch (mode) {
    case 0: return ui::Str(166);
    case 1: return ui::Str(167);
    case 2: return ui::Str(169);
    case 3: return ui::Str(168);
    default: return QString();
  }
}

}  // namespace

QString DlgLX47::RouterSsidForPage(const RouterScanRecord& record) {
  // Widened byte by byte, an SSID with bytes above 0x7F could never be
  // stored back as the same bytes: the code page has no form for those
  // characters. When the bytes read as code-page text and encode back to
  // themselves, that text is what the device must get again.
  const std::string raw = record.ssid();
  const std::string utf8 = platform::AnsiToUtf8(raw);
  if (platform::Utf8ToAnsi(utf8) == raw) return QString::fromStdString(utf8);
  return DlgSelectRouter::SsidText(record);
}

DlgLX47::DlgLX47(Session& session, OperationRunner runner, QWidget* parent)
    : SettingsPage(parent), m_Session(session), m_Runner(std::move(runner)) {
  // The page's one message has no "[title]" prefix.
  m_PageTitle.clear();

  m_ModeLabel = new controls::CStaticEx(this);
  m_ModeLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  m_LinkLabel = new controls::CStaticEx(this);
  m_LinkLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  auto* infraGroup = new QGroupBox(QStringLiteral("インフラストラクチャーモード 設定"), this);
  m_RouterButton = new QPushButton(QStringLiteral("Wi-Fiルーターをサーチして選択"), infraGroup);
  m_RouterButton->setEnabled(false);
  m_InfraSsid = new QLineEdit(infraGroup);
  m_InfraPassword = new QLineEdit(infraGroup);
  MakePasswordEdit(m_InfraPassword);
  m_InfraShow = new QCheckBox(QStringLiteral("文字表示"), infraGroup);

  auto* apGroup = new QGroupBox(QStringLiteral("アクセスポイントモード 設定"), this);
  m_ApSsid = new QLineEdit(apGroup);
  m_ApPassword = new QLineEdit(apGroup);
  MakePasswordEdit(m_ApPassword);
  m_ApShow = new QCheckBox(QStringLiteral("文字表示"), apGroup);
  m_Security = new QComboBox(apGroup);
  m_Channel = new QComboBox(apGroup);

  for (const SecurityItem& item : kSecurityItems) m_Security->addItem(QString::fromLatin1(item.text), item.code);
  m_Security->setCurrentIndex(0);
  for (int ch = 1; ch <= 13; ++ch) m_Channel->addItem(QString::asprintf("%d", ch), ch);
  m_Channel->setCurrentIndex(kDefaultChannelIndex);

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
  m_InfraSsid->setMaxLength(32);
  m_InfraPassword->setMaxLength(64);
  m_ApSsid->setMaxLength(31);
  m_ApPassword->setMaxLength(63);

  auto* status = new QHBoxLayout;
  status->addWidget(m_ModeLabel, 1);
  status->addWidget(m_LinkLabel, 1);

  auto* infra = new QGridLayout(infraGroup);
  infra->addWidget(m_RouterButton, 0, 0, 1, 2, Qt::AlignRight);
  infra->addWidget(new QLabel(QStringLiteral("SSID（32文字まで）"), infraGroup), 1, 0, 1, 2);
  infra->addWidget(m_InfraSsid, 2, 0, 1, 2);
  infra->addWidget(new QLabel(QStringLiteral("パスワード （64文字まで）"), infraGroup), 3, 0);
  infra->addWidget(m_InfraShow, 3, 1, Qt::AlignRight);
  infra->addWidget(m_InfraPassword, 4, 0, 1, 2);

  auto* ap = new QGridLayout(apGroup);
  ap->addWidget(new QLabel(QStringLiteral("SSID（31文字まで）"), apGroup), 0, 0, 1, 2);
  ap->addWidget(m_ApSsid, 1, 0, 1, 2);
  ap->addWidget(new QLabel(QStringLiteral("パスワード（8文字以上63文字まで）"), apGroup), 2, 0);
  ap->addWidget(m_ApShow, 2, 1, Qt::AlignRight);
  ap->addWidget(m_ApPassword, 3, 0, 1, 2);
  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel(QStringLiteral("セキュリティーモード"), apGroup), 0, 0);
  lists->addWidget(m_Security, 0, 1);
  lists->addWidget(new QLabel(QStringLiteral("Wi-Fi チャネル"), apGroup), 1, 0);
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
  const ConfigBlock block = entry.block();

  m_ModeLabel->setText(QStringLiteral("現在の動作モード：") + ModeName(block.get(field::Wifi_Mode)));
  m_LinkLabel->setText(QString::fromStdString(SecurityModeName(block.get(field::Wifi_Security))) +
                       QString::asprintf(", チャネル：%u", unsigned(block.get(field::Wifi_Channel))));

  m_InfraSsid->setText(LoadZeroText(block, field::Wifi_Infra_SSID));
  m_InfraPassword->setText(LoadZeroText(block, field::Wifi_Infra_Password));
  m_ApSsid->setText(LoadZeroText(block, field::Wifi_AP_SSID));
  m_ApPassword->setText(LoadZeroText(block, field::Wifi_AP_Password));

  const int code = block.get(field::Wifi_AP_Security);
  int item = m_Security->findData(code);
  if (item < 0) item = kWpaWpa2Index;  // 1, 5 and above 7 have no item of their own
  m_Security->blockSignals(true);
  m_Security->setCurrentIndex(item);
  m_Security->blockSignals(false);
  if (item == 0) m_ApPassword->clear();
  UpdateApPasswordEnabled();

  // A channel outside 1..13 selects nothing; storing then keeps the block's
  // value instead of writing a list error value.
  const int channel = block.get(field::Wifi_AP_Channel);
  m_Channel->setCurrentIndex(channel >= 1 && channel <= 13 ? channel - 1 : -1);

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

bool DlgLX47::StoreToBlock(DeviceEntry& entry, bool) {
  if (!entry.hasBlock()) return true;
  ConfigBlock block = entry.block();
  bool result = true;
  if (m_InfraSsid->isEnabled()) StoreZeroText(block, field::Wifi_Infra_SSID, m_InfraSsid->text());
  if (m_InfraPassword->isEnabled()) StoreZeroText(block, field::Wifi_Infra_Password, m_InfraPassword->text());
  if (m_ApSsid->isEnabled()) StoreZeroText(block, field::Wifi_AP_SSID, m_ApSsid->text());

  if (m_Security->isEnabled() && m_Security->currentIndex() >= 0) {
    block.set(field::Wifi_AP_Security, static_cast<std::uint8_t>(m_Security->currentData().toInt()));
    if (m_Security->currentIndex() == 0) {
      auto raw = block.raw(field::Wifi_AP_Password);
      std::memset(raw.data(), 0, raw.size());
    } else if (m_ApPassword->text().trimmed().size() < 8) {
      ui::ShowAppMessage(this, QStringLiteral("パスワードは 8文字以上必要です。"), ui::MsgIcon::Exclamation);
      m_ApPassword->selectAll();
      m_ApPassword->setFocus();
      result = false;  // the channel below is written all the same
    } else {
      StoreZeroText(block, field::Wifi_AP_Password, m_ApPassword->text());
    }
  }
  if (m_Channel->isEnabled() && m_Channel->currentIndex() >= 0)
    block.set(field::Wifi_AP_Channel, static_cast<std::uint8_t>(m_Channel->currentData().toInt()));
  return result;
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
  const QString ssid = RouterSsidForPage(m_Session.RouterScanTable[static_cast<std::size_t>(r)]);
  // The same router keeps the password typed for it; another needs its own.
  if (ssid != m_InfraSsid->text()) {
    m_InfraSsid->setText(ssid);
    m_InfraPassword->clear();
  }
}

}  // namespace lx47::pages
