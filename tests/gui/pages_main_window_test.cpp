// The Network, Serial and Option pages inside the main window: an untouched
// page is no edit, an invalid value is, the extended settings and the page on
// display decide what is written.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <optional>

#include "app/LX47ConfigToolDlg.h"
#include "app/page_factory.h"
#include "controls/CIPAddrEdit.h"
#include "pages/DlgNetwork.h"
#include "pages/DlgOption.h"
#include "pages/DlgSerial.h"
#include "protocol/session.h"
#include "recording_messages.h"
#include "sample_device.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

using lx47::texts::TextId;

using namespace lx47;

namespace {

class PagesInMainWindow : public ::testing::Test {
 protected:
  void Open(bool extended) {
    session.DeviceTable[0] = test::SimulatedDevice(1);
    session.DeviceCount = 1;
    dlg.emplace(session);
    // As the main window's hidden gesture shows them.
    for (int slot : {app::kNetworkPage, app::kOptionPage}) dlg->page(slot)->ShowExtendedSettings(extended);
    dlg->show();
    QApplication::processEvents();
    dlg->FillDeviceList();
    dlg->EnableMainControls(true);
    dlg->SelectRow(0);
  }
  void TearDown() override { dlg.reset(); }
  pages::DlgNetwork& network() { return *dynamic_cast<pages::DlgNetwork*>(dlg->page(app::kNetworkPage)); }
  pages::DlgOption& option() { return *dynamic_cast<pages::DlgOption*>(dlg->page(app::kOptionPage)); }
  ConfigBlock block() { return session.DeviceTable[0].block(); }

  store::MemorySettingsStore store;
  ui::ScopedSettingsStore scopedStore{&store};
  test::RecordingMessages rec;
  Session session;
  std::optional<app::LX47ConfigToolDlg> dlg;
};

}  // namespace

TEST_F(PagesInMainWindow, ZeroBytesInPaddedTextsAreNoEdit) {
  for (const bool extended : {false, true}) {
    SCOPED_TRACE(extended ? "extended shown" : "extended hidden");
    Open(extended);
    dlg->tabs()->setCurrentIndex(app::kOptionPage);
    QApplication::processEvents();
    // Loading cleaned the stored copy itself.
    EXPECT_EQ(block().get(field::Server_Domain_Name), std::string(32, ' '));
    EXPECT_EQ(block().get(field::Search_Password), std::string(8, ' '));
    EXPECT_EQ(block().get(field::Connect_Password), std::string(8, ' '));
    EXPECT_FALSE(dlg->HasUnsavedChanges(0));
    dlg->OnExit();
    EXPECT_EQ(rec.count(), 0);
    TearDown();
  }
}

TEST_F(PagesInMainWindow, AnInvalidValueMakesExitAsk) {
  Open(false);
  network().m_Port->setText("0");
  const std::vector<std::uint8_t> before = session.DeviceTable[0].Block;
  rec.answer(ui::MsgResult::No);
  dlg->OnExit();
  ASSERT_EQ(rec.count(), 1);  // the page's own message stays silent
  EXPECT_EQ(rec.last().text, ui::Str(TextId::QuitLosesEdits));
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(session.DeviceTable[0].Block, before);
}

TEST_F(PagesInMainWindow, HiddenExtendedSettingsAreNeverWritten) {
  Open(false);
  network().SelectServerMode(false);  // makes the connection password available
  network().m_DnsConnect->setChecked(true);
  network().m_DnsServer->setAddress(test::Ip("8.8.8.8"));
  network().m_Domain->setText("changed.example");
  option().m_ConnectEnable->setChecked(true);
  option().EnableConnectPassword(true);
  option().m_ConnectPassword->setText("secret");
  dlg->tabs()->setCurrentIndex(app::kOptionPage);
  QApplication::processEvents();
  for (int slot = 0; slot < app::kPageCount; ++slot)
    ASSERT_TRUE(dlg->page(slot)->StoreToBlock(session.DeviceTable[0], true));
  EXPECT_EQ(block().get(field::Operation_Mode), 2);  // the visible edit is stored
  EXPECT_EQ(block().get(field::DNS_Connect_Enable), 0);
  EXPECT_EQ(block().get(field::DNS_Server_IP_Address), test::Ip("10.47.0.53"));
  EXPECT_EQ(block().get(field::Server_Domain_Name), std::string(32, ' '));
  EXPECT_EQ(block().get(field::Connect_Password_Enable), 0);
  EXPECT_EQ(block().get(field::Connect_Password), std::string(8, ' '));
}

TEST_F(PagesInMainWindow, ConnectionPasswordIsStoredOnlyWhileTheOptionPageIsOnDisplay) {
  Open(true);
  // A TCP Client entry offers the password once TCP Server is chosen.
  EXPECT_FALSE(option().m_ConnectEnable->isEnabled());
  network().m_Server->click();
  EXPECT_TRUE(option().m_ConnectEnable->isEnabled());
  option().m_ConnectEnable->click();
  option().m_ConnectPassword->setText("secret");

  for (const int tab : {app::kNetworkPage, app::kSerialPage, app::kOptionPage}) {
    SCOPED_TRACE(tab);
    dlg->tabs()->setCurrentIndex(tab);
    QApplication::processEvents();
    DeviceEntry copy = session.DeviceTable[0];
    ASSERT_TRUE(option().StoreToBlock(copy, true));
    const bool onDisplay = tab == app::kOptionPage;
    EXPECT_EQ(copy.block().get(field::Connect_Password), onDisplay ? "secret  " : std::string(8, ' '));
    EXPECT_EQ(copy.block().get(field::Connect_Password_Enable), onDisplay ? 1 : 0);
  }
}

TEST(PagesInADialog, EnterAndEscapeInAPageFireNothing) {
  Session session;
  for (int slot = 0; slot < app::kPageCount; ++slot) {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    pages::SettingsPage* page = app::CreatePage(session, slot, &dialog);
    auto* button = new QPushButton(QStringLiteral("default"), &dialog);
    button->setDefault(true);
    layout->addWidget(page);
    layout->addWidget(button);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    dialog.show();
    QApplication::processEvents();
    QLineEdit* edit = page->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
      QApplication::sendEvent(edit, &press);
    }
    EXPECT_EQ(clicks, 0) << page->m_PageTitle.toStdString();
    EXPECT_TRUE(dialog.isVisible());
  }
}
