#include "pages/DlgSelectRouter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <span>

#include "controls/read_only_look.h"
#include "pagerules/wifi_rules.h"
#include "protocol/mac_text.h"
#include "protocol/outcomes.h"
#include "protocol/result_codes.h"
#include "protocol/session.h"
#include "ui/message_service.h"
#include "ui/strings.h"

namespace lx47::pages {

using texts::TextId;

namespace {

const char* const kIndexNg = " m_SettingIndex  NG!!!\n";

}  // namespace

DlgSelectRouter::DlgSelectRouter(Session& session, OperationRunner runner, QWidget* parent)
    : ui::Dialog(parent), m_Session(session), m_Runner(std::move(runner)) {
  setWindowTitle(ui::Str(TextId::SelectRouterTitle));
  setModal(true);

  auto* prompt = new QLabel(ui::Str(TextId::SelectRouterPrompt), this);
  m_Rescan = new QPushButton(ui::Str(TextId::RescanButton), this);
  m_List = new QListWidget(this);
  m_List->setSelectionMode(QAbstractItemView::SingleSelection);
  m_List->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_List->setMinimumHeight(150);

  m_Ssid = new QLineEdit(this);
  m_Ssid->setReadOnly(true);
  controls::ShowReadOnlyLook(m_Ssid);
  m_Mac = new QLineEdit(this);
  m_Mac->setReadOnly(true);
  controls::ShowReadOnlyLook(m_Mac);
  m_Mac->setFrame(false);
  m_Rssi = new QLabel(ui::Str(TextId::RssiLabel), this);
  m_Security = new QLabel(ui::Str(TextId::SecurityModeLabel), this);
  m_Channel = new QLabel(ui::Str(TextId::ChannelLabel), this);

  m_Ok = new QPushButton(ui::Str(TextId::SelectButton), this);
  m_Ok->setDefault(true);
  m_Cancel = new QPushButton(ui::Str(TextId::CancelButton), this);

  auto* top = new QHBoxLayout;
  top->addWidget(prompt, 1);
  top->addWidget(m_Rescan, 0, Qt::AlignBottom);

  auto* details = new QGridLayout;
  details->addWidget(new QLabel(QStringLiteral("SSID:"), this), 0, 0);
  details->addWidget(m_Ssid, 0, 1);
  details->addWidget(new QLabel(ui::Str(TextId::RouterMac), this), 1, 0);
  details->addWidget(m_Mac, 1, 1);
  details->setColumnStretch(1, 1);

  auto* lines = new QHBoxLayout;
  lines->addWidget(m_Rssi, 1);
  lines->addWidget(m_Security, 2);
  lines->addWidget(m_Channel, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_Ok);
  buttons->addWidget(m_Cancel);

  auto* root = new QVBoxLayout(this);
  root->addLayout(top);
  root->addWidget(m_List, 1);
  root->addLayout(details);
  root->addLayout(lines);
  root->addLayout(buttons);
  resize(420, 360);

  connect(m_Rescan, &QPushButton::clicked, this, &DlgSelectRouter::Rescan);
  connect(m_List, &QListWidget::itemSelectionChanged, this, &DlgSelectRouter::OnSelectionChanged);
  connect(m_Ok, &QPushButton::clicked, this, &DlgSelectRouter::accept);
  connect(m_Cancel, &QPushButton::clicked, this, &DlgSelectRouter::reject);
}

QString DlgSelectRouter::SsidText(const RouterScanRecord& record) {
  const std::string ssid = record.ssid();
  return QString::fromLatin1(ssid.data(), static_cast<qsizetype>(ssid.size()));
}

// The first scan is part of opening the dialog: it runs, with its progress
// window and its messages, before the dialog appears, so that no empty
// dialog waits behind them.
void DlgSelectRouter::setVisible(bool visible) {
  if (visible && !m_Initialised) {
    m_Initialised = true;
    // Placed now, over the window it belongs to, so that the progress window
    // and the messages of the scan come up where the dialog will.
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr)
      move(owner->geometry().center() - QPoint(width() / 2, height() / 2));
    m_SelectedRecord = -1;
    m_Ok->setEnabled(false);
    Rescan();
  }
  ui::Dialog::setVisible(visible);
}

void DlgSelectRouter::Rescan() {
  if (m_SettingIndex < 0 || m_SettingIndex >= kDeviceTableSize) {
    ui::ShowAppMessage(this, QString::fromUtf8(kIndexNg), ui::MsgIcon::None);
    m_Ok->setEnabled(false);
    return;
  }
  // Emptying the list changes no button: OK keeps its state until a line is
  // highlighted or a scan finds nothing.
  {
    const QSignalBlocker quiet(m_List);
    m_List->clear();
  }

  RunnerRequest request;
  request.kind = OP_ROUTER_SCAN;
  request.target = &m_Session.DeviceTable[static_cast<std::size_t>(m_SettingIndex)];
  request.title = ui::Str(TextId::RouterScanning);
  request.message = ui::Str(TextId::PleaseWait) + QStringLiteral("\n\n") + ui::Str(TextId::EscapeAborts);
  const RunnerOutcome outcome = m_Runner ? m_Runner(this, request) : RunnerOutcome{};

  if (!outcome.ok || outcome.result != PR_OK) {
    ui::ShowMessage(this, ui::Str(RouterScanFailureText(outcome.result)), ui::MsgIcon::Exclamation);
    ui::messages().waitCursorPause(1000);
  } else {
    ui::messages().waitCursorPause(500);
  }

  const int count = std::min<int>(m_Session.RouterScanCount, kRouterScanCapacity);
  if (count == 0) {
    ui::ShowAppMessage(this, ui::Str(TextId::NoRouterFound), ui::MsgIcon::None);
    m_Ok->setEnabled(false);
    return;
  }
  // Alphabetical, as a sorted list box orders its lines; each line keeps its
  // record's index, so the table's order does not matter.
  const std::span<const RouterScanRecord> records(m_Session.RouterScanTable.data(), static_cast<std::size_t>(count));
  m_List->blockSignals(true);
  for (int i : pagerules::RouterListOrder(records)) {
    auto* item = new QListWidgetItem(SsidText(records[static_cast<std::size_t>(i)]), m_List);
    item->setData(Qt::UserRole, i);
  }
  m_List->blockSignals(false);
}

void DlgSelectRouter::OnSelectionChanged() {
  const QList<QListWidgetItem*> selected = m_List->selectedItems();
  if (selected.isEmpty()) {
    m_Ok->setEnabled(false);
    return;
  }
  const int r = selected.front()->data(Qt::UserRole).toInt();
  if (r < 0 || r >= kRouterScanCapacity) return;
  const RouterScanRecord& rec = m_Session.RouterScanTable[static_cast<std::size_t>(r)];
  m_Channel->setText(ui::Str(TextId::ChannelLabel) + QString::asprintf("%u", unsigned(rec.channel())));
  m_Security->setText(ui::Str(TextId::SecurityModeLabel) + QString::fromStdString(SecurityModeName(rec.security())));
  m_Rssi->setText(ui::Str(TextId::RssiLabel) + QString::asprintf("%d", int(rec.rssi())));
  m_Ssid->setText(SsidText(rec));
  m_Mac->setText(QString::fromStdString(MacText(rec.bssid(), ":", HexCase::Lower)));
  m_Ok->setEnabled(true);
}

void DlgSelectRouter::accept() {
  const QList<QListWidgetItem*> selected = m_List->selectedItems();
  if (selected.isEmpty()) return;  // nothing highlighted: the dialog stays open
  m_SelectedRecord = selected.front()->data(Qt::UserRole).toInt();
  ui::Dialog::accept();
}

}  // namespace lx47::pages
