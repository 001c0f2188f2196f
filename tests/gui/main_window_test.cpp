// The main window: the question that guards page edits when another device
// is selected, the exit question, Escape, the hidden gesture, the layout
// rules of the opening state.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <optional>

#include "app/LX47ConfigToolDlg.h"
#include "app/page_factory.h"
#include "controls/CStaticEx.h"
#include "device_reply.h"
#include "keys.h"
#include "pages/settings_page.h"
#include "protocol/device_table.h"
#include "protocol/session.h"
#include "recording_messages.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

using lx47::texts::TextId;

#ifdef Q_OS_WIN
#include <QRegularExpression>
#include <iterator>

#include "app/DlgFactoryReset.h"
#include "app/window_menu.h"
#include "fakes.h"
#include "app/DlgAppSetting.h"
#include "modal.h"

#include <windows.h>
#endif

using namespace lx47;
using app::LX47ConfigToolDlg;
using ui::MsgButtons;
using ui::MsgIcon;
using ui::MsgResult;

namespace {

constexpr std::size_t kEditedByte = 200;

// A page with one "field": a byte of the block of its own (200 + slot),
// which an edit changes.
class FakePage : public pages::SettingsPage {
 public:
  FakePage(int slot, QWidget* parent) : SettingsPage(parent), offset(kEditedByte + std::size_t(slot)) {}
  void LoadFromEntry(DeviceEntry& entry, int index) override {
    value = entry.Block.at(offset);
    invalid = false;
    loadedIndex = index;
  }
  void EnableControls(bool enable, int) override { enabled = enable; }
  bool StoreToBlock(DeviceEntry& entry, bool) override {
    if (invalid) return false;
    entry.Block.at(offset) = value;
    return true;
  }
  void ShowExtendedSettings(bool shown) override { extended = shown; }

  const std::size_t offset;
  std::uint8_t value = 0;
  bool invalid = false;
  int loadedIndex = -1;
  bool enabled = true;
  bool extended = false;
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) DeviceTable[i].storeReply(test::DeviceReply("IAMI", test::Mac(i + 1)), 0);
    session.DeviceCount = 3;
    dlg.emplace(session, nullptr, [this](int slot, QWidget* parent) {
      pages[slot] = new FakePage(slot, parent);
      return pages[slot];
    });
  }
  void TearDown() override { dlg.reset(); }

  // As the search command does after finding the devices.
  void ListDevices() {
    dlg->FillDeviceList();
    dlg->EnableMainControls(true);
    dlg->m_CurrentIndex = dlg->m_PreviousIndex = -1;
    dlg->SelectRow(0);
  }
  // A user's click on a row: the list's selection changes, the window
  // reacts once the event loop runs.
  void Click(int row) {
    dlg->deviceList()->selectRow(row);
    QApplication::processEvents();
  }
  FakePage& network() { return *pages[app::kNetworkPage]; }

  store::MemorySettingsStore store;
  ui::ScopedSettingsStore scopedStore{&store};
  test::RecordingMessages rec;
  FakePage* pages[5] = {};
  Session session;
  DeviceTableArray& DeviceTable = session.DeviceTable;
  std::optional<LX47ConfigToolDlg> dlg;
};

}  // namespace

TEST_F(MainWindowTest, OpensWithoutDeviceAndTheRightTexts) {
  EXPECT_TRUE(dlg->windowTitle().startsWith(ui::Str(TextId::ToolName) + "  Ver "));
  EXPECT_EQ(dlg->m_CurrentIndex, -1);
  EXPECT_FALSE(dlg->deviceList()->isEnabled());
  EXPECT_FALSE(dlg->writeButton()->isEnabled());
  EXPECT_FALSE(dlg->firmwareButton()->isEnabled());
  EXPECT_TRUE(dlg->searchButton()->isEnabled());
  EXPECT_TRUE(dlg->searchButton()->isDefault());
  EXPECT_TRUE(dlg->pinMonitorButton()->isHidden());  // "PinMonitor" absent
  for (FakePage* p : pages) EXPECT_FALSE(p->enabled);
  ASSERT_EQ(dlg->tabs()->count(), 5);
  const TextId titles[5] = {TextId::NetworkPageTitle, TextId::SerialPageTitle, TextId::OptionPageTitle,
                            TextId::WifiPageTitle, TextId::SpecialPageTitle};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(dlg->tabs()->tabText(i), ui::Str(titles[i]));
  auto* header = dlg->deviceList()->horizontalHeader();
  EXPECT_EQ(dlg->deviceList()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("MAC Address"));
  EXPECT_FALSE(header->sectionsClickable());
  // The installed icon, built in: every size the desktop entry installs.
  const QList<QSize> sizes = dlg->windowIcon().availableSizes();
  for (int size : {16, 32, 48, 64, 128, 256}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

TEST_F(MainWindowTest, EveryTabIsInSightWhenTheWindowOpens) {
  dlg->show();
  QApplication::processEvents();
  const QTabBar* bar = dlg->tabs()->tabBar();
  for (int i = 0; i < dlg->tabs()->count(); ++i)
    EXPECT_LE(bar->tabRect(i).right(), bar->width() - 1) << bar->tabText(i).toStdString();
}

TEST_F(MainWindowTest, PinMonitorButtonShowsWhenTheSettingIsSet) {
  session.Settings.PinMonitor = 1;  // as start-up read it
  LX47ConfigToolDlg other(session, nullptr, [](int slot, QWidget* parent) { return new FakePage(slot, parent); });
  EXPECT_FALSE(other.pinMonitorButton()->isHidden());
  other.pinMonitorButton()->click();  // bound to nothing
  EXPECT_EQ(rec.count(), 0);
}

TEST_F(MainWindowTest, ListingShowsTheFirstDeviceWithoutQuestion) {
  ListDevices();
  EXPECT_EQ(rec.count(), 0);
  EXPECT_EQ(dlg->m_CurrentIndex, 0);
  EXPECT_EQ(dlg->deviceList()->rowCount(), 3);
  EXPECT_EQ(dlg->deviceList()->item(2, 0)->text(), QStringLiteral("3"));
  EXPECT_EQ(dlg->deviceList()->item(2, 0)->data(Qt::UserRole).toInt(), 3);
  EXPECT_EQ(dlg->deviceList()->item(2, 1)->text(), QStringLiteral("00:80:47:00:00:03"));
  EXPECT_EQ(dlg->selectionLabel()->text(), QStringLiteral("選択 No. 1"));
  EXPECT_EQ(dlg->versionLabel()->text(), QStringLiteral("1.2.3"));
  EXPECT_TRUE(dlg->firmwareButton()->isEnabled());
  for (FakePage* p : pages) EXPECT_EQ(p->loadedIndex, 0);
}

TEST_F(MainWindowTest, NoEditSwitchesAtOnce) {
  ListDevices();
  Click(1);
  EXPECT_EQ(rec.count(), 0);
  EXPECT_EQ(dlg->m_CurrentIndex, 1);
  EXPECT_EQ(dlg->m_PreviousIndex, 0);
  EXPECT_EQ(network().loadedIndex, 1);
}

TEST_F(MainWindowTest, EditThenSelectAnotherAndAnswerNoKeepsTheEdit) {
  ListDevices();
  const std::vector<std::uint8_t> block0 = DeviceTable[0].Block;
  network().value ^= 0xFF;
  rec.answer(MsgResult::No);
  Click(2);
  ASSERT_EQ(rec.count(), 1);
  const QString expected = QString::asprintf(ui::Str(TextId::SwitchLosesEdits).toUtf8().constData(), 1, 3, 1);
  EXPECT_EQ(rec.last().text, expected);
  EXPECT_EQ(rec.last().caption, ui::Str(TextId::ToolName));
  EXPECT_EQ(rec.last().icon, MsgIcon::Warning);
  EXPECT_EQ(rec.last().buttons, MsgButtons::YesNo);
  EXPECT_EQ(dlg->m_CurrentIndex, 0);
  EXPECT_EQ(network().value, std::uint8_t(block0[kEditedByte] ^ 0xFF));  // the edit stays
  EXPECT_EQ(DeviceTable[0].Block, block0);                              // the test left no trace

  // Within about 200 ms the edited device's row is selected again.
  QElapsedTimer t;
  t.start();
  while (dlg->deviceList()->currentRow() != 0 && t.elapsed() < 2000) QApplication::processEvents();
  EXPECT_EQ(dlg->deviceList()->currentRow(), 0);
  EXPECT_GE(t.elapsed(), 150);
  EXPECT_EQ(dlg->deviceList()->selectionModel()->selectedRows().size(), 1);
  QApplication::processEvents();
  EXPECT_EQ(rec.count(), 1);  // putting the row back asks nothing
}

TEST_F(MainWindowTest, EditThenSelectAnotherAndAnswerYesLoadsIt) {
  ListDevices();
  const std::vector<std::uint8_t> block0 = DeviceTable[0].Block;
  network().value ^= 0xFF;
  rec.answer(MsgResult::Yes);
  Click(1);
  EXPECT_EQ(rec.count(), 1);
  EXPECT_EQ(dlg->m_CurrentIndex, 1);
  EXPECT_EQ(network().value, DeviceTable[1].Block[kEditedByte]);
  EXPECT_EQ(DeviceTable[0].Block, block0);
}

TEST_F(MainWindowTest, HasUnsavedChangesCountsAFailedStoreAndRestoresTheBlock) {
  ListDevices();
  const std::vector<std::uint8_t> block0 = DeviceTable[0].Block;
  EXPECT_FALSE(dlg->HasUnsavedChanges(0));
  EXPECT_FALSE(dlg->HasUnsavedChanges(-1));
  EXPECT_FALSE(dlg->HasUnsavedChanges(3));
  pages[app::kSpecialPage]->value ^= 1;
  EXPECT_TRUE(dlg->HasUnsavedChanges(0));
  pages[app::kSpecialPage]->value ^= 1;
  pages[app::kSerialPage]->invalid = true;
  EXPECT_TRUE(dlg->HasUnsavedChanges(0));
  EXPECT_EQ(DeviceTable[0].Block, block0);
}

TEST_F(MainWindowTest, ExitAsksOnlyWithEditsAndNoKeepsTheWindow) {
  // No device shown: never asks.
  dlg->show();
  dlg->exitButton()->click();
  EXPECT_EQ(rec.count(), 0);
  EXPECT_FALSE(dlg->isVisible());

  dlg->show();
  ListDevices();
  pages[app::kOptionPage]->invalid = true;  // an invalid value counts as an edit
  rec.answer(MsgResult::No);
  dlg->close();  // the caption bar's close request
  ASSERT_EQ(rec.count(), 1);
  EXPECT_EQ(rec.last().text, ui::Str(TextId::QuitLosesEdits));
  EXPECT_EQ(rec.last().caption, ui::AppName());
  EXPECT_EQ(rec.last().icon, MsgIcon::Warning);
  EXPECT_EQ(rec.last().buttons, MsgButtons::YesNo);
  EXPECT_TRUE(dlg->isVisible());

  rec.answer(MsgResult::Yes);
  dlg->exitButton()->click();
  EXPECT_EQ(rec.count(), 2);
  EXPECT_FALSE(dlg->isVisible());
}

TEST_F(MainWindowTest, EscapeDoesNothing) {
  dlg->show();
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&*dlg, &esc);
  dlg->reject();
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(rec.count(), 0);
}

TEST_F(MainWindowTest, RightDoubleClicksRevealExtendedSettingsPastTheCountWithMaskSetting) {
  dlg->resize(900, 700);
  dlg->show();
  const QPoint empty(dlg->width() / 2, 3);  // the margin above the controls
  ASSERT_EQ(dlg->childAt(empty), nullptr);
  const auto rightDoubleClick = [&] {
    QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(empty), dlg->mapToGlobal(QPointF(empty)), Qt::RightButton,
                  Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&*dlg, &e);
  };
  for (int i = 0; i < LX47ConfigToolDlg::kRevealCount + 3; ++i) rightDoubleClick();
  EXPECT_FALSE(network().extended);  // "MaskSetting" off
  EXPECT_FALSE(pages[app::kOptionPage]->extended);

  session.Settings.MaskSetting = 1;
  dlg->m_RDblClkCount = 0;
  for (int i = 0; i < LX47ConfigToolDlg::kRevealCount; ++i) rightDoubleClick();
  EXPECT_FALSE(network().extended);
  rightDoubleClick();
  EXPECT_TRUE(network().extended);
  EXPECT_TRUE(pages[app::kOptionPage]->extended);
  EXPECT_FALSE(pages[app::kSerialPage]->extended);
}

#ifdef Q_OS_WIN
// The entries in the real system menu: on top, each above a separator, and
// two separators appended below the system's own entries; a WM_SYSCOMMAND of
// either opens its command's dialog, and other system commands keep their
// default handling. A native window exists only on the windows platform.
TEST_F(MainWindowTest, NativeSystemMenuHasTheTwoEntriesAndRoutesTheirCommands) {
  if (QGuiApplication::platformName() != QLatin1String("windows"))
    GTEST_SKIP() << "the system menu needs a native window: run with -platform windows";
  const HWND hwnd = reinterpret_cast<HWND>(dlg->winId());
  const HMENU menu = GetSystemMenu(hwnd, FALSE);
  ASSERT_NE(menu, nullptr);
  QStringList entries;  // "id text" per entry, "-" per separator
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = UINT(std::size(text) - 1);
    ASSERT_TRUE(GetMenuItemInfoW(menu, UINT(i), TRUE, &info)) << i;
    entries << ((info.fType & MFT_SEPARATOR) ? QStringLiteral("-")
                                             : QString::number(info.wID) + ' ' + QString::fromWCharArray(text));
  }
  const std::string shown = entries.join(" | ").toStdString();
  ASSERT_GE(entries.size(), 7) << shown;
  EXPECT_EQ(entries.mid(0, 4), (QStringList{"1111 " + ui::Str(TextId::FactoryResetMenu), "-",
                                            "1112 " + ui::Str(TextId::ToolSettingsMenu), "-"}))
      << shown;
  EXPECT_EQ(entries.mid(entries.size() - 2), (QStringList{"-", "-"})) << shown;
  // The system's own entries in between (Wine adds one of its own there).
  const QStringList standard = entries.mid(4, entries.size() - 6);
  EXPECT_TRUE(standard.filter(QRegularExpression("^111[12] ")).isEmpty()) << shown;
  EXPECT_EQ(standard.filter(QRegularExpression(QStringLiteral("^%1 ").arg(SC_CLOSE))).size(), 1) << shown;

  test::FakeHostNet net;  // the tool settings dialog lists no real adapter
  test::ModalWatch<app::DlgFactoryReset> reset([](app::DlgFactoryReset& d) { d.reject(); });
  SendMessageW(hwnd, WM_SYSCOMMAND, app::IDM_FACTORY_RESET, 0);
  EXPECT_TRUE(reset.seen);
  test::ModalWatch<app::DlgAppSetting> tools([](app::DlgAppSetting& d) { d.reject(); });
  SendMessageW(hwnd, WM_SYSCOMMAND, app::IDM_TOOL_SETTINGS, 0);
  EXPECT_TRUE(tools.seen);

  // The system's close command still closes the window (no edits to lose).
  dlg->show();
  QApplication::processEvents();
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  QApplication::processEvents();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(rec.count(), 0);
}
#else
TEST_F(MainWindowTest, WindowMenuHasTheTwoEntriesInOrder) {
  auto* button = dlg->findChild<QToolButton*>(QStringLiteral("windowMenuButton"));
  ASSERT_NE(button, nullptr);
  ASSERT_NE(button->menu(), nullptr);
  QStringList entries;
  for (QAction* a : button->menu()->actions()) entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(entries, (QStringList{ui::Str(TextId::FactoryResetMenu), "-", ui::Str(TextId::ToolSettingsMenu), "-"}));
}

// The window menu's button says what it is, in the tool's language, and how
// to reach it from the keyboard; the shortcut opens it, and while it is open
// the menu is the button's child for accessibility tools.
TEST_F(MainWindowTest, WindowMenuIsDiscoverable) {
  dlg->show();
  QApplication::setActiveWindow(&*dlg);
  auto* button = dlg->findChild<QToolButton*>(QStringLiteral("windowMenuButton"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->accessibleName(), QStringLiteral("ウィンドウメニュー"));
  const QString shortcut = QKeySequence(Qt::ALT | Qt::Key_Space).toString(QKeySequence::NativeText);
  EXPECT_TRUE(button->toolTip().contains(shortcut)) << button->toolTip().toStdString();
  EXPECT_TRUE(button->toolTip().contains(QStringLiteral("LX47 の初期化"))) << button->toolTip().toStdString();
  EXPECT_TRUE(button->toolTip().contains(QStringLiteral("ツール設定"))) << button->toolTip().toStdString();

  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(button);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->childCount(), 0);
  QStringList entries;
  bool seen = false;
  QTimer::singleShot(0, [&] {
    QMenu* menu = button->menu();
    seen = menu->isVisible();
    if (iface->childCount() == 1) {
      QAccessibleInterface* child = iface->child(0);
      EXPECT_EQ(child->object(), menu);
      EXPECT_EQ(iface->indexOfChild(child), 0);
      for (int i = 0; i < child->childCount(); ++i) entries << child->child(i)->text(QAccessible::Name);
    }
    menu->close();
  });
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::AltModifier, QStringLiteral(" "));
  QApplication::sendEvent(&*dlg, &press);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(entries.contains(ui::Str(TextId::FactoryResetMenu))) << entries.join(u'|').toStdString();
  EXPECT_TRUE(entries.contains(ui::Str(TextId::ToolSettingsMenu))) << entries.join(u'|').toStdString();
  EXPECT_EQ(iface->childCount(), 0);
}
#endif

// Sixteen devices, the most a search lists: the columns fit the list, the
// empty third one takes what is left, and no horizontal scroll bar shows.
TEST_F(MainWindowTest, DeviceListNeedsNoHorizontalScrollBar) {
  for (int i = 0; i < kDeviceTableSize; ++i) DeviceTable[i].storeReply(test::DeviceReply("IAMI", test::Mac(i + 1)), 0);
  session.DeviceCount = kDeviceTableSize;
  dlg->show();
  ListDevices();
  QApplication::processEvents();
  QTableWidget* list = dlg->deviceList();
  EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
  EXPECT_LE(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width());
  EXPECT_GT(list->columnWidth(2), 0);
  EXPECT_EQ(list->horizontalHeader()->length(), list->viewport()->width());
}

// Tab moves on from the device list to the next control and leaves the
// chosen device as it is.
TEST_F(MainWindowTest, TabLeavesTheDeviceList) {
  dlg->show();
  QApplication::setActiveWindow(&*dlg);
  ListDevices();
  QTableWidget* list = dlg->deviceList();
  list->setCurrentCell(2, 1);
  list->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(list->hasFocus());
  test::sendKey(list, {Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t")});
  EXPECT_FALSE(list->hasFocus());
  EXPECT_EQ(list->currentRow(), 2);
}
