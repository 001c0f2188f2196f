#include "app/LX47ConfigToolDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "app/LX47ConfigToolApp.h"
#include "app/app_icon.h"
#include "app/commands.h"
#include "app/page_factory.h"
#include "app/shell_fonts.h"
#include "app/window_menu.h"
#include "controls/CStaticEx.h"
#include "pages/settings_page.h"
#include "protocol/mac_text.h"
#include "protocol/session.h"
#include "ui/message_service.h"
#include "ui/strings.h"
#include "ui/window_gesture.h"

namespace lx47::app {

using texts::TextId;

namespace {

// Dialog units of the window's layout to pixels, for a 9-point gothic
// dialog font (4 horizontal units per average character width of 6 pixels,
// 8 vertical units per line of 13 pixels).
int DX(int du) { return du * 3 / 2; }
int DY(int du) { return du * 13 / 8; }

QFrame* Separator(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setFixedHeight(DY(23));
  return line;
}

}  // namespace

LX47ConfigToolDlg::LX47ConfigToolDlg(Session& session, QWidget* parent, PageMaker makePage)
    : ui::Dialog(parent), m_Session(session) {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(GothicFont(9));
  setWindowIcon(AppIcon());
  setWindowTitle(AppTitle());

  // Device list (1034 frames 1000).
  auto* group = new QGroupBox(ui::Str(TextId::SearchResults), this);
  m_List = new QTableWidget(0, 3, group);
  m_List->setObjectName(QStringLiteral("deviceList"));
  m_List->setFont(MonoFont(10));
  m_List->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_List->setSelectionMode(QAbstractItemView::SingleSelection);
  m_List->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab leaves the list for the next control, as from the platform's list
  // view; a table would walk its cells and hold the keyboard in the list.
  m_List->setTabKeyNavigation(false);
  m_List->setShowGrid(true);
  m_List->setWordWrap(false);
  m_List->verticalHeader()->setVisible(false);
  m_List->horizontalHeader()->setSectionsClickable(false);
  m_List->horizontalHeader()->setHighlightSections(false);
  m_List->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // The empty third column takes whatever width is left, so it never asks
  // for a horizontal scroll bar.
  m_List->horizontalHeader()->setStretchLastSection(true);
  m_List->verticalHeader()->setDefaultSectionSize(QFontMetrics(m_List->font()).height() + 6);
  const QStringList headings{ui::Str(TextId::ListHeadingNo), ui::Str(TextId::ListHeadingMac),
                             ui::Str(TextId::ListHeadingBlank)};
  m_List->setHorizontalHeaderLabels(headings);
  {
    const QFontMetrics fm(m_List->horizontalHeader()->font());
    const int extra[3] = {18, 65, 45};
    for (int c = 0; c < 3; ++c) m_List->setColumnWidth(c, fm.horizontalAdvance(headings[c]) + extra[c]);
    // The heading's width plus 65 fits an address in the intended list font;
    // where the monospace font here is wider, the address would be cut off.
    const int macWidth = QFontMetrics(m_List->font()).horizontalAdvance(QStringLiteral("00:00:00:00:00:00")) + 12;
    m_List->setColumnWidth(1, std::max(m_List->columnWidth(1), macWidth));
  }
  // Wide enough for the three columns and a vertical scroll bar beside them
  // (sixteen rows fit without one, a smaller window may need it).
  int columns = 0;
  for (int c = 0; c < 3; ++c) columns += m_List->columnWidth(c);
  const int listWidth = columns + 2 * m_List->frameWidth() + m_List->verticalScrollBar()->sizeHint().width();
  m_List->setMinimumSize(std::max(DX(140), listWidth), DY(300));
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(m_List);
  const QMargins inner = groupLayout->contentsMargins() + group->contentsMargins();
  group->setFixedWidth(std::max(DX(154), m_List->minimumWidth() + inner.left() + inner.right()));

  // Selection text, version caption and the coloured version in its frame.
  m_SelectionLabel = new QLabel(ui::Str(TextId::SelectionNoLabel), this);
  m_VersionCaption = new QLabel(ui::Str(TextId::FirmwareVersionCaption), this);
  m_VersionCaption->setAlignment(Qt::AlignCenter);
  m_VersionFrame = new QFrame(this);
  m_VersionFrame->setFrameShape(QFrame::Box);
  m_VersionFrame->setFrameShadow(QFrame::Plain);
  m_VersionFrame->setStyleSheet(QStringLiteral("QFrame { color: gray; }"));
  m_VersionLabel = new controls::CStaticEx(m_VersionFrame);
  m_VersionLabel->setObjectName(QStringLiteral("versionLabel"));
  m_VersionLabel->setAlignment(Qt::AlignCenter);
  m_VersionLabel->setFont(MonoFont(10, 600));
  m_VersionLabel->m_TextColor = QColor(92, 0, 64);
  m_VersionLabel->setMinimumWidth(DX(51));
  auto* frameLayout = new QHBoxLayout(m_VersionFrame);
  frameLayout->setContentsMargins(1, 1, 1, 1);
  frameLayout->addWidget(m_VersionLabel);

  auto* header = new QHBoxLayout;
  header->addWidget(m_SelectionLabel);
  header->addStretch(1);
  header->addWidget(m_VersionCaption);
  header->addSpacing(DX(8));
  header->addWidget(m_VersionFrame);

  // The five pages, each in its tab.
  m_Tabs = new QTabWidget(this);
  m_Tabs->setObjectName(QStringLiteral("pageTabs"));
  m_Tabs->setMinimumSize(DX(273), DY(303));
  const TextId tabTitles[kPageCount] = {TextId::NetworkPageTitle, TextId::SerialPageTitle, TextId::OptionPageTitle,
                                        TextId::WifiPageTitle, TextId::SpecialPageTitle};
  for (int slot = 0; slot < kPageCount; ++slot) {
    pages::SettingsPage* page = makePage ? makePage(slot, m_Tabs) : CreatePage(m_Session, slot, m_Tabs);
    m_Pages[static_cast<std::size_t>(slot)] = page;
    m_Tabs->addTab(page, ui::Str(tabTitles[slot]));
  }
  // Every tab in sight: the fonts here are wider than the layout's units
  // assume, and a tab behind scroll arrows is a page users do not find.
  m_Tabs->tabBar()->setUsesScrollButtons(false);
  m_Tabs->tabBar()->setElideMode(Qt::ElideNone);
  m_Tabs->setMinimumWidth(std::max(m_Tabs->minimumWidth(), m_Tabs->tabBar()->sizeHint().width() + 4));

  auto* right = new QVBoxLayout;
  right->addLayout(header);
  right->addWidget(m_Tabs, 1);

  auto* top = new QHBoxLayout;
  top->addWidget(group);
  top->addLayout(right, 1);

  // Command buttons.
  const auto button = [this](const QString& text, const QFont& font, int w) {
    auto* b = new QPushButton(text, this);
    b->setFont(font);
    b->setMinimumSize(DX(w), DY(21));
    return b;
  };
  m_PinMonitorButton = button(QStringLiteral("PIN Monitor"), font(), 49);
  m_SearchButton = button(ui::Str(TextId::SearchButton), GothicFont(11, 600), 59);
  m_WriteButton = button(ui::Str(TextId::SetButton), GothicFont(11, 400), 59);
  m_FirmwareButton = button(ui::Str(TextId::FirmwareButton), font(), 59);
  m_ExitButton = button(ui::Str(TextId::ExitButton), GothicFont(11, 600), 59);
  m_SearchButton->setDefault(true);
  m_SearchButton->setObjectName(QStringLiteral("searchButton"));
  m_WriteButton->setObjectName(QStringLiteral("writeButton"));
  m_FirmwareButton->setObjectName(QStringLiteral("firmwareButton"));
  m_ExitButton->setObjectName(QStringLiteral("exitButton"));
  m_PinMonitorButton->setObjectName(QStringLiteral("pinMonitorButton"));

  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(m_PinMonitorButton);
  bottom->addSpacing(DX(10));
  bottom->addWidget(m_SearchButton);
  bottom->addWidget(Separator(this));
  bottom->addWidget(m_WriteButton);
  bottom->addWidget(m_FirmwareButton);
  bottom->addWidget(Separator(this));
  bottom->addWidget(m_ExitButton);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(DX(7), DY(7), DX(7), DY(5));
  root->addLayout(top, 1);
  root->addLayout(bottom);

  InstallWindowMenu(*this, header);
  // On the window and its texts and frames; the pages count their own.
  new ui::WindowGesture(this, [this] { OnRightDoubleClick(); });
  resize(DX(441), DY(364));

  connect(m_SearchButton, &QPushButton::clicked, this, &LX47ConfigToolDlg::OnSearch);
  connect(m_WriteButton, &QPushButton::clicked, this, &LX47ConfigToolDlg::OnWrite);
  connect(m_FirmwareButton, &QPushButton::clicked, this, &LX47ConfigToolDlg::OnFirmwareUpdate);
  connect(m_ExitButton, &QPushButton::clicked, this, &LX47ConfigToolDlg::OnExit);
  // The question about lost edits runs after the click has been handled, not
  // inside the list's own mouse handling.
  // One click can change the selection in several steps; they are handled
  // once, for the row selected in the end.
  connect(m_List->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (m_Filling || m_SelectionPending) return;
    m_SelectionPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          m_SelectionPending = false;
          const QModelIndexList rows = m_List->selectionModel()->selectedRows();
          if (!rows.isEmpty()) OnRowSelected(rows.front().row());
        },
        Qt::QueuedConnection);
  });

  m_ReselectTimer.setSingleShot(true);
  m_ReselectTimer.setInterval(kReselectMs);
  connect(&m_ReselectTimer, &QTimer::timeout, this, &LX47ConfigToolDlg::OnReselect);

  // Opening state.
  m_VersionLabel->setText(QStringLiteral("XX.XX"));
  ClearDeviceList();
  SetSelectionText(QString());
  m_CurrentIndex = m_PreviousIndex = -1;
  m_Tabs->setCurrentIndex(0);
  m_List->setEnabled(false);
  EnableMainControls(false);
  m_FirmwareButton->setEnabled(false);
  m_PinMonitorButton->setVisible(m_Session.Settings.PinMonitor != 0);
  m_RepeatSearch = 0;
  m_SearchRememberedMac = 0;
  m_RememberedMac = MacAddress{};
}

LX47ConfigToolDlg::~LX47ConfigToolDlg() = default;

void LX47ConfigToolDlg::ShowDevice(DeviceEntry& entry, int index) {
  SetVersionText(QString::fromStdString(FirmwareVersionText(entry)));
  m_SelectionLabel->setVisible(true);
  m_VersionFrame->setVisible(true);
  m_VersionCaption->setEnabled(true);
  m_VersionLabel->setEnabled(true);
  m_FirmwareButton->setEnabled(true);
  for (int slot = 0; slot < kPageCount; ++slot) m_Pages[static_cast<std::size_t>(slot)]->LoadFromEntry(entry, index);
}

void LX47ConfigToolDlg::EnableMainControls(bool enable) {
  m_List->setEnabled(enable);
  m_List->horizontalHeader()->setEnabled(enable);
  m_WriteButton->setEnabled(enable);
  m_SelectionLabel->setVisible(enable);
  if (!enable) SetVersionText(QString());
  m_VersionFrame->setVisible(true);
  m_VersionCaption->setEnabled(enable);
  m_VersionLabel->setEnabled(enable);
  EnablePages(enable, m_CurrentIndex);
}

void LX47ConfigToolDlg::EnablePages(bool enable, int wifiIndex) {
  for (int slot = 0; slot < kPageCount; ++slot)
    m_Pages[static_cast<std::size_t>(slot)]->EnableControls(enable, slot == kWifiPage ? wifiIndex : m_CurrentIndex);
}

bool LX47ConfigToolDlg::HasUnsavedChanges(int index) {
  DeviceEntry* listed = m_Session.ListedEntry(index);
  if (!listed || !listed->hasBlock()) return false;
  DeviceEntry& entry = *listed;
  // The pages store into the entry's own block; the copy puts it back, so
  // the test leaves no trace whatever it finds.
  const std::vector<std::uint8_t> saved = entry.Block;
  bool changed = false;
  for (pages::SettingsPage* page : m_Pages) {
    if (!page->StoreToBlock(entry, false)) {
      changed = true;  // a value the page cannot store is an edit too
      break;
    }
  }
  if (!changed) changed = entry.Block != saved;
  entry.Block = saved;
  return changed;
}

void LX47ConfigToolDlg::ClearDeviceList() {
  m_Filling = true;
  m_List->clearSelection();
  m_List->setRowCount(0);
  m_Filling = false;
}

void LX47ConfigToolDlg::FillDeviceList() {
  m_Filling = true;
  m_List->clearSelection();
  const int count = std::clamp(m_Session.DeviceCount, 0, kDeviceTableSize);
  m_List->setRowCount(count);
  for (int i = 0; i < count; ++i) {
    auto* no = new QTableWidgetItem(QString::asprintf("%u", unsigned(i + 1)));
    no->setData(Qt::UserRole, i + 1);
    m_List->setItem(i, 0, no);
    m_List->setItem(
        i, 1, new QTableWidgetItem(QString::fromStdString(MacText(m_Session.DeviceTable[std::size_t(i)].Device_MAC))));
    m_List->setItem(i, 2, new QTableWidgetItem(QString()));
  }
  m_Filling = false;
}

void LX47ConfigToolDlg::SelectRow(int row) {
  if (row < 0 || row >= m_List->rowCount()) return;
  m_Filling = true;
  m_List->selectRow(row);
  m_List->setCurrentCell(row, 0, QItemSelectionModel::SelectCurrent | QItemSelectionModel::Rows);
  m_Filling = false;
  OnRowSelected(row);
}

void LX47ConfigToolDlg::SetSelectionText(const QString& text) { m_SelectionLabel->setText(text); }

void LX47ConfigToolDlg::SetVersionText(const QString& text) {
  m_VersionLabel->setText(text);
  m_VersionLabel->update();
}

void LX47ConfigToolDlg::OnRowSelected(int i) {
  if (!m_Session.IsListed(i)) return;
  if (i == m_CurrentIndex) return;
  if (HasUnsavedChanges(m_CurrentIndex)) {
    const QString text = ui::Str(texts::SwitchLosesEditsText(m_CurrentIndex + 1, i + 1));
    if (ui::ShowMessage(this, text, ui::MsgIcon::Warning, ui::MsgButtons::YesNo) == ui::MsgResult::No) {
      // The list already shows the clicked row; the timer puts the edited
      // device back once the click is over.
      m_ReselectTimer.start();
      return;
    }
  }
  m_PreviousIndex = m_CurrentIndex;
  m_CurrentIndex = i;
  SetSelectionText(ui::Str(texts::SelectionNoText(unsigned(i + 1))));
  ShowDevice(m_Session.DeviceTable[static_cast<std::size_t>(i)], i);
}

void LX47ConfigToolDlg::OnReselect() {
  m_ReselectTimer.stop();
  if (m_CurrentIndex < 0 || m_CurrentIndex >= m_List->rowCount()) return;
  m_Filling = true;
  m_List->selectRow(m_CurrentIndex);
  m_List->setCurrentCell(m_CurrentIndex, 0, QItemSelectionModel::SelectCurrent | QItemSelectionModel::Rows);
  m_Filling = false;
}

void LX47ConfigToolDlg::OnSearch() { commands::Search(*this); }
void LX47ConfigToolDlg::OnWrite() { commands::Write(*this); }
void LX47ConfigToolDlg::OnFirmwareUpdate() { commands::FirmwareUpdate(*this); }
void LX47ConfigToolDlg::OnFactoryReset() { commands::FactoryReset(*this); }
void LX47ConfigToolDlg::OnToolSettings() { commands::ToolSettings(*this); }

void LX47ConfigToolDlg::OnExit() {
  if (HasUnsavedChanges(m_CurrentIndex) &&
      ui::ShowAppMessage(this, ui::Str(TextId::QuitLosesEdits), ui::MsgIcon::Warning, ui::MsgButtons::YesNo) ==
          ui::MsgResult::No)
    return;
  done(QDialog::Accepted);
}

void LX47ConfigToolDlg::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    e->accept();
    return;
  }
  ui::Dialog::keyPressEvent(e);
}

void LX47ConfigToolDlg::closeEvent(QCloseEvent* e) {
  e->ignore();
  OnExit();
}

void LX47ConfigToolDlg::OnRightDoubleClick() {
  ++m_RDblClkCount;
  if (m_RDblClkCount > kRevealCount && m_Session.Settings.MaskSetting) {
    m_Pages[kNetworkPage]->ShowExtendedSettings(true);
    m_Pages[kOptionPage]->ShowExtendedSettings(true);
  }
}

bool LX47ConfigToolDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
  if (HandleWindowMenuMessage(*this, message, result)) return true;
  return ui::Dialog::nativeEvent(eventType, message, result);
}

}  // namespace lx47::app
