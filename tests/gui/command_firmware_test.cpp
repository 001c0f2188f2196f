// The firmware update: the file dialog, the file's verdict and every way its
// reading can fail, the confirmation, the transfer's messages, and the
// search without the dialog that follows unless an access-point device may
// have dropped off.
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <atomic>
#include <memory>

#include "app/DlgPassword.h"
#include "app/commands.h"
#include "command_fixture.h"
#include "controls/CStaticEx.h"
#include "app/error_info.h"
#include "protocol/result_codes.h"

using lx47::texts::TextId;

using namespace lx47;
using namespace lx47::test;
using ui::MsgIcon;
using ui::MsgResult;

namespace {

class FirmwareCommand : public CommandTest {
 public:
  void SetUp() override {
    CommandTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    store.writeInt("OneDevice", 1);
    // A search dialog would wait for a user; the follow-up search must not open one.
    passwordGuard = std::make_unique<QTimer>();
    QObject::connect(passwordGuard.get(), &QTimer::timeout, [] {
      if (auto* d = qobject_cast<app::DlgPassword*>(QApplication::activeModalWidget())) {
        ADD_FAILURE() << "the search dialog was shown";
        d->reject();
      }
    });
    passwordGuard->start(20);
  }
  void TearDown() override {
    passwordGuard.reset();
    CommandTest::TearDown();
  }

  QString File(const QByteArray& bytes, const char* name = "LX47_test.bin") {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    return path;
  }
  // Lists the device, as after a search with password "pw".
  void ListForUpdate(std::uint8_t wifiMode = 0) {
    ListDevices(1, wifiMode);
    dlg->m_LastPassword = "pw      ";
  }
  // The device answers a search with its block at version 2.0.0.
  void DeviceAnswersSearch() {
    net.onSend = [this](const Datagram& d) {
      if (std::memcmp(d.bytes.data(), "FOND", 4) != 0) return;
      Bytes reply = DeviceReply("IAMI", Mac(1));
      reply[field::Firmware_Version_Major.offset] = 2;
      reply[field::Firmware_Version_Minor.offset] = 0;
      reply[field::Firmware_Version_Revision.offset] = 0;
      net.replyTo(d, reply);
    };
  }
  void Update(const QString& path) {
    rec.files.push_back(path);
    app::commands::FirmwareUpdate(*dlg);
  }
  int Searches() const {
    int n = 0;
    for (const auto& d : net.sent()) n += std::memcmp(d.bytes.data(), "FOND", 4) == 0;
    return n;
  }
  int Announcements() const {
    int n = 0;
    for (const auto& d : net.sent()) n += std::memcmp(d.bytes.data(), "FIRM", 4) == 0;
    return n;
  }
  bool AnythingSentToTheDevice() const { return Announcements() > 0 || !net.streamed.empty(); }
  QString Confirmation() const {
    return ui::Str(TextId::FirmwareUpdateAhead) + "\n\nMACアドレス [00:80:47:00:00:01]\n\n" +
           ui::Str(TextId::AreYouSure);
  }

  QTemporaryDir dir;
  std::unique_ptr<QTimer> passwordGuard;
};

TEST_F(FirmwareCommand, NoDeviceShownAsksForASelectionWithoutTheFileDialog) {
  app::commands::FirmwareUpdate(*dlg);
  ASSERT_EQ(rec.count(), 1);
  EXPECT_EQ(rec.last().text, ui::Str(TextId::SelectDeviceFirst));
  EXPECT_EQ(rec.last().icon, MsgIcon::Information);
  EXPECT_TRUE(rec.fileRequests.empty());
}

TEST_F(FirmwareCommand, FileDialogAndItsCancel) {
  ListForUpdate();
  app::commands::FirmwareUpdate(*dlg);  // no file handed out: cancelled
  ASSERT_EQ(rec.fileRequests.size(), 1u);
  const ui::FileRequest& r = rec.fileRequests[0];
  EXPECT_EQ(r.title, ui::Str(TextId::ChooseFirmwareFile));
  EXPECT_EQ(r.directory, QStringLiteral("."));
  EXPECT_EQ(r.fileName, QStringLiteral("LX47_*.bin"));
  EXPECT_EQ(r.defaultSuffix, QStringLiteral("bin"));
  EXPECT_EQ(r.filter, QStringLiteral("LX47 firm data file (lx47_*.bin)"));
  EXPECT_EQ(rec.count(), 0);
  EXPECT_TRUE(net.sent().empty());
}

TEST_F(FirmwareCommand, FileContentDecidesAndEachPressReadsAfresh) {
  struct Case {
    const char* name;
    QByteArray bytes;
    bool accepted;
  };
  const Case cases[] = {
      {"signature only", QByteArray("LX47"), false},
      {"lower-case signature", QByteArray("lx47\x01", 5), false},
      {"short", QByteArray("LX4"), false},
      {"empty", QByteArray(), false},
      {"one image byte", QByteArray("LX47\xAB", 5), true},
      {"signature only again", QByteArray("LX47"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListForUpdate();
    DeviceAnswersSearch();
    net.streamed.clear();
    const int announcementsBefore = Announcements();
    const int searchesBefore = Searches();
    Update(File(c.bytes));  // the same path each time, rewritten
    EXPECT_TRUE(dlg->m_FirmwareImage.empty());  // never held past the command
    EXPECT_EQ(dlg->m_FirmwareSize, 0);
    if (c.accepted) {
      ASSERT_GE(rec.count(), 2);
      EXPECT_EQ(rec.shown[0].text, Confirmation());
      EXPECT_EQ(rec.shown[0].icon, MsgIcon::Question);
      EXPECT_EQ(rec.shown[0].buttons, ui::MsgButtons::YesNo);
      EXPECT_EQ(rec.shown[1].text, ui::Str(TextId::FirmwareUpdated));
      EXPECT_EQ(net.streamed, (Bytes{0, 0, 0, 1, 0xAB}));  // the length, then the one byte
    } else {
      EXPECT_EQ(Texts(), QStringList{ui::Str(TextId::NotFirmwareFile)});
      EXPECT_EQ(rec.last().icon, MsgIcon::Error);
      EXPECT_EQ(rec.last().caption, ui::AppCaption());
      EXPECT_EQ(Announcements(), announcementsBefore);
      EXPECT_TRUE(net.streamed.empty());
      EXPECT_EQ(Searches(), searchesBefore);
    }
    net.onSend = nullptr;
    if (HasFailure()) return;
  }
}

TEST_F(FirmwareCommand, MissingFileShowsNotFoundTheErrorBoxAndTheLoadError) {
  ListForUpdate();
  const QString path = dir.filePath(QStringLiteral("LX47_gone.bin"));  // chosen, then gone
  Update(path);
  ASSERT_EQ(rec.count(), 3);
  EXPECT_EQ(rec.shown[0].text, QStringLiteral("File %1 not found! \n").arg(QDir::toNativeSeparators(path)));
  EXPECT_EQ(rec.shown[0].icon, MsgIcon::None);
  EXPECT_EQ(rec.shown[0].buttons, ui::MsgButtons::Ok);
  EXPECT_EQ(rec.shown[1].caption, QStringLiteral("ErrorInfomation"));
  EXPECT_EQ(rec.shown[1].text, app::ErrorInfoText(2));
  EXPECT_EQ(rec.shown[2].text,
            QStringLiteral(" IDS_FILE_LOAD_ERROR  %1\n\n\n  (m_cause=2)").arg(QDir::toNativeSeparators(path)));
  EXPECT_EQ(rec.shown[2].icon, MsgIcon::Error);
  EXPECT_FALSE(AnythingSentToTheDevice());
  EXPECT_EQ(Searches(), 0);
}

TEST_F(FirmwareCommand, UnreadableAndOversizedFilesSendNothing) {
  ListForUpdate();
  // A directory opens but cannot be read.
  const QString sub = dir.filePath(QStringLiteral("LX47_dir.bin"));
  ASSERT_TRUE(QDir().mkpath(sub));
  Update(sub);
  ASSERT_EQ(rec.count(), 2);
  EXPECT_EQ(rec.shown[0].caption, QStringLiteral("ErrorInfomation"));
  EXPECT_TRUE(rec.shown[1].text.startsWith(QStringLiteral(" IDS_FILE_LOAD_ERROR  ")));
  EXPECT_EQ(rec.shown[1].icon, MsgIcon::Error);

  // One byte beyond what the transfer can carry: refused by its length,
  // without reading it (the file is sparse; reading it would take 2 GiB).
  rec.clear();
  const QString big = dir.filePath(QStringLiteral("LX47_big.bin"));
  {
    QFile f(big);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("LX47");
    ASSERT_TRUE(f.resize(qint64(0x80000000LL)));
  }
  Update(big);
  EXPECT_EQ(Texts(), QStringList{ui::Str(TextId::FirmwareFileTooLarge)});
  EXPECT_EQ(rec.last().icon, MsgIcon::Error);
  EXPECT_TRUE(dlg->m_FirmwareImage.empty());
  EXPECT_FALSE(AnythingSentToTheDevice());
  EXPECT_EQ(Searches(), 0);
}

TEST_F(FirmwareCommand, AnsweringNoSendsNothingAndSearchesNot) {
  ListForUpdate();
  rec.answer(MsgResult::No);
  Update(File(QByteArray("LX47firmware")));
  EXPECT_EQ(Texts(), QStringList{Confirmation()});
  EXPECT_FALSE(AnythingSentToTheDevice());
  EXPECT_EQ(Searches(), 0);
  EXPECT_TRUE(dlg->m_FirmwareImage.empty());
}

TEST_F(FirmwareCommand, SuccessIsFollowedBySearchListingTheRaisedVersion) {
  for (const std::uint8_t wifiMode : {0, 1}) {
    SCOPED_TRACE(wifiMode == 1 ? "access point" : "infrastructure");
    ListForUpdate(wifiMode);
    DeviceAnswersSearch();
    const int searchesBefore = Searches();
    Update(File(QByteArray("LX47") + QByteArray(6000, '\x5A')));

    QStringList expected{Confirmation(), ui::Str(TextId::FirmwareUpdated)};
    if (wifiMode == 1) expected << ui::Str(TextId::ReconnectAfterApMode);
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(rec.pauses.front(), 500);
    EXPECT_EQ(net.streamed.size(), 4u + 6000u);
    EXPECT_EQ(dlg->m_RememberedMac, Mac(1));
    // The search ran without its dialog, for the remembered device only.
    ASSERT_EQ(Searches(), searchesBefore + 1);
    const Datagram* fond = nullptr;
    for (const auto& d : net.sent())
      if (std::memcmp(d.bytes.data(), "FOND", 4) == 0) fond = &d;
    ASSERT_NE(fond, nullptr);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(fond->bytes.data()) + 4, 8), QByteArray("pw      "));
    EXPECT_EQ(dlg->deviceList()->rowCount(), 1);
    EXPECT_EQ(dlg->m_CurrentIndex, 0);
    EXPECT_EQ(dlg->versionLabel()->text(), QStringLiteral("2.0.0"));
    EXPECT_EQ(dlg->m_RepeatSearch, 0);
    EXPECT_EQ(dlg->m_SearchRememberedMac, 0);
    net.onSend = nullptr;
    net.streamed.clear();
    rec.clear();
  }
}

TEST_F(FirmwareCommand, FailuresSearchAgainOnlyForAnInfrastructureDevice) {
  struct Case {
    const char* name;
    std::uint8_t wifiMode;
    std::function<void(FirmwareCommand&)> arrange;
    QString text;
    bool searches;
  };
  const auto abortOnce = [](FirmwareCommand& t) {
    auto once = std::make_shared<std::atomic<bool>>(false);
    t.clock.onSleep = [once, &t](std::uint32_t) {
      if (!once->exchange(true)) t.session.Abort.RequestAbort();
    };
  };
  const Case cases[] = {
      {"aborted, infrastructure", 0, abortOnce, ui::Str(TextId::FirmwareAborted), true},
      {"aborted, access point", 1, abortOnce, ui::Str(TextId::FirmwareAborted), false},
      {"no connection", 0, [](FirmwareCommand& t) { t.net.failCall(Call::Connect); },
       ui::Str(TextId::FirmwareUpdateFailed) + "\n" + ui::Str(TextId::CannotConnect), true},
      {"send failed", 0, [](FirmwareCommand& t) { t.net.failCall(Call::Send); }, ui::Str(TextId::FirmwareUpdateFailed),
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListForUpdate(c.wifiMode);
    DeviceAnswersSearch();
    c.arrange(*this);
    const int searchesBefore = Searches();
    Update(File(QByteArray("LX47") + QByteArray(12000, '\x11')));
    clock.onSleep = nullptr;

    QStringList expected{Confirmation(), c.text};
    if (c.wifiMode == 1) expected << ui::Str(TextId::ReconnectAfterApMode);
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(rec.shown[1].icon, MsgIcon::Warning);
    EXPECT_EQ(rec.pauses.front(), 1000);
    EXPECT_EQ(Searches(), searchesBefore + (c.searches ? 1 : 0));
    if (!c.searches) {
      EXPECT_EQ(dlg->deviceList()->rowCount(), 1);  // the list stays as it was
      EXPECT_EQ(dlg->versionLabel()->text(), QStringLiteral("1.2.3"));
    } else {
      EXPECT_EQ(dlg->versionLabel()->text(), QStringLiteral("2.0.0"));
    }
    net.onSend = nullptr;
    net.streamed.clear();
    rec.clear();
  }
}

}  // namespace
