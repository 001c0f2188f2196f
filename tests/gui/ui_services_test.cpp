// The string table, the message-box rules and the settings stores.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>
#include <QSettings>
#include <QTemporaryDir>

#include "recording_messages.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"
#include "ui/message_service.h"
#include "ui/strings.h"

using lx47::texts::TextId;

#ifdef Q_OS_WIN
#include "tool_registry_win.h"
#endif

using namespace lx47::ui;
using lx47::store::MemorySettingsStore;

namespace {

// The table by number: the numbers are the texts' keys.
QString ByNumber(int id) {
  const std::string_view text = lx47::texts::Text(id);
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

TEST(StringTable, TextsKeepTheirExactCharacters) {
  EXPECT_EQ(ByNumber(108), QStringLiteral("Orvane LX47 Configuration Tool"));
  // Trailing blanks, a lone blank heading and line breaks are part of the texts.
  EXPECT_EQ(ByNumber(124), QStringLiteral("LX47の検索中   "));
  EXPECT_EQ(ByNumber(106), QStringLiteral(" "));
  EXPECT_EQ(ByNumber(122), QStringLiteral("ファームの更新は数分かかります。\n更新中は Wi-Fi を切断しないでください"));
  EXPECT_EQ(ByNumber(142), QStringLiteral("初期化（ファクトリーリセット）を行いました。\n\n"));
  EXPECT_TRUE(ByNumber(181).contains(QChar(0x3000)));
  EXPECT_TRUE(ByNumber(181).endsWith(QStringLiteral("切替が行えます。\n")));
  EXPECT_EQ(ByNumber(144).count(QStringLiteral("%d")), 3);
  // Numbers the table does not have read as empty.
  EXPECT_TRUE(ByNumber(0).isEmpty());
  EXPECT_TRUE(ByNumber(107).isEmpty());
  EXPECT_TRUE(ByNumber(182).isEmpty());
}

TEST(MessageService, CaptionIconAndDefaultButtonRules) {
  lx47::test::RecordingMessages rec;
  ShowMessage(nullptr, QStringLiteral("a"), MsgIcon::Information);
  ShowAppMessage(nullptr, QStringLiteral("b"), MsgIcon::Warning, MsgButtons::YesNo);
  ShowMessage(nullptr, QStringLiteral("c"), MsgIcon::Information, MsgButtons::YesNo, MsgResult::No);
  ShowMessage(nullptr, QStringLiteral("d"), MsgIcon::None, MsgButtons::OkCancel, MsgResult::Yes);
  ASSERT_EQ(rec.count(), 4);
  EXPECT_EQ(rec.shown[0].caption, Str(TextId::ToolName));
  EXPECT_EQ(rec.shown[0].buttons, MsgButtons::Ok);
  // The application-wide service carries the executable's name.
  EXPECT_EQ(rec.shown[1].caption, QStringLiteral("lx47_gui_tests"));
  EXPECT_EQ(rec.shown[1].icon, MsgIcon::Warning);
  // Yes/No boxes default to Yes unless the caller asks for No; a default that
  // is not one of the box's buttons falls back to its first one.
  EXPECT_EQ(rec.shown[1].defaultButton, MsgResult::Yes);
  EXPECT_EQ(rec.shown[2].defaultButton, MsgResult::No);
  EXPECT_EQ(rec.shown[3].defaultButton, MsgResult::Ok);
}

TEST(MessageService, RecordingAnswersFromQueueThenDefault) {
  lx47::test::RecordingMessages rec;
  rec.answer(MsgResult::No);
  EXPECT_EQ(ShowMessage(nullptr, "q", MsgIcon::Warning, MsgButtons::YesNo), MsgResult::No);
  EXPECT_EQ(ShowMessage(nullptr, "q", MsgIcon::Warning, MsgButtons::YesNo), MsgResult::Yes);
}

// The firmware's file dialog: its file type reads as the tool's text, the
// files shown are those of the pre-filled name whatever their case, and the
// size and date columns are as wide as their texts.
TEST(MessageService, OpenFileDialogShowsThePatternAndWholeColumns) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* name : {"LX47_v2.5.7.bin", "lx47_old.bin", "other.bin"}) {
    QFile f(dir.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(123456, 'x'));
  }
  FileRequest request;
  request.title = QStringLiteral("LX47 に書き込むファームファイルを選択してください。");
  request.directory = dir.path();
  request.fileName = QStringLiteral("LX47_*.bin");
  request.defaultSuffix = QStringLiteral("bin");
  request.filter = QStringLiteral("LX47 firm data file (lx47_*.bin)");
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  ConfigureOpenFileDialog(dialog, request);
  dialog.show();
  auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  ASSERT_NE(view, nullptr);
  QElapsedTimer clock;
  clock.start();
  while (view->model()->rowCount(view->rootIndex()) < 2 && !clock.hasExpired(5000)) QApplication::processEvents();
  QApplication::processEvents();

  auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  ASSERT_NE(types, nullptr);
  EXPECT_EQ(types->currentText(), request.filter);
  QStringList shown;
  const QModelIndex root = view->rootIndex();
  for (int r = 0; r < view->model()->rowCount(root); ++r) {
    const QModelIndex name = view->model()->index(r, 0, root);
    if (view->isRowHidden(r, root)) continue;
    shown << name.data().toString();
    for (int c = 1; c < view->header()->count(); ++c) {
      if (view->header()->isSectionHidden(c)) continue;
      const QString text = view->model()->index(r, c, root).data().toString();
      EXPECT_GE(view->header()->sectionSize(c), view->fontMetrics().horizontalAdvance(text) + 4)
          << c << " " << text.toStdString();
    }
  }
  shown.sort();
  EXPECT_EQ(shown, (QStringList{QStringLiteral("LX47_v2.5.7.bin"), QStringLiteral("lx47_old.bin")}));
}

TEST(SettingsStore, MemoryStoreReadsDefaultsAndNonIntegers) {
  MemorySettingsStore s;
  EXPECT_EQ(s.readInt("A", 7), 7);
  s.setRaw("A", QStringLiteral("abc"));
  EXPECT_EQ(s.readInt("A", 7), 7);
  s.setRaw("A", QStringLiteral("99999999999"));  // beyond 32 bits
  EXPECT_EQ(s.readInt("A", 7), 7);
  s.writeInt("A", -3);
  EXPECT_EQ(s.readInt("A", 7), -3);
  s.writeString("S", QStringLiteral("x"));
  s.remove("S");
  EXPECT_EQ(s.readString("S", "d"), QStringLiteral("d"));
  EXPECT_EQ(s.keys(), QStringList{"A"});
}

#ifdef Q_OS_WIN
// The real store is the user's registry: integers as REG_DWORD, texts as
// REG_SZ holding exactly what was written, a removed text leaves no value;
// and values that another program left there read back through the store.
TEST(SettingsStore, PerUserStoreIsTheUsersRegistry) {
  lx47::test::ScopedToolKey key;
  const QString description = QStringLiteral("ワイヤレス ネットワーク接続, 6 AX201");
  {
    auto s = lx47::store::CreatePerUserStore(AppName());
    s->writeInt("RecvDelay_msec", 20);
    s->writeInt("MaskSetting", -1);
    s->writeString("SavePassword", QStringLiteral("        "));
    s->writeString("HOST_DESC", description);
    s->writeString("HOST_IP", QStringLiteral("x"));
    s->remove("HOST_IP");
  }
  struct Stored {
    const char* name;
    DWORD type;
    DWORD dword;
    QString text;
  };
  for (const Stored& want : {Stored{"RecvDelay_msec", REG_DWORD, 20, {}},
                             Stored{"MaskSetting", REG_DWORD, 0xFFFFFFFFu, {}},
                             Stored{"SavePassword", REG_SZ, 0, QStringLiteral("        ")},
                             Stored{"HOST_DESC", REG_SZ, 0, description}}) {
    SCOPED_TRACE(want.name);
    const auto got = lx47::test::ReadSetting(want.name);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->type, want.type);
    if (want.type == REG_DWORD) {
      EXPECT_EQ(got->dword(), want.dword);
    } else {
      EXPECT_EQ(got->text(), want.text);
    }
  }
  EXPECT_FALSE(lx47::test::ReadSetting("HOST_IP").has_value());

  ASSERT_TRUE(lx47::test::WriteSettingDword("MaxRecvLoopCount", 0xFFFFFFFDu));
  ASSERT_TRUE(lx47::test::WriteSettingText("SearchMacAdrs", QStringLiteral("0080C8123456")));
  auto s = lx47::store::CreatePerUserStore(AppName());
  EXPECT_EQ(s->readInt("RecvDelay_msec", 0), 20);
  EXPECT_EQ(s->readInt("MaskSetting", 0), -1);
  EXPECT_EQ(s->readInt("MaxRecvLoopCount", 0), -3);
  EXPECT_EQ(s->readString("SavePassword"), QStringLiteral("        "));
  EXPECT_EQ(s->readString("HOST_DESC"), description);
  EXPECT_EQ(s->readString("SearchMacAdrs"), QStringLiteral("0080C8123456"));
  EXPECT_EQ(s->readString("HOST_IP", "none"), QStringLiteral("none"));
  QStringList keys = s->keys();
  keys.sort();
  EXPECT_EQ(keys, (QStringList{"HOST_DESC", "MaskSetting", "MaxRecvLoopCount", "RecvDelay_msec", "SavePassword",
                               "SearchMacAdrs"}));
}
#else
// The real store in a private directory: values survive a new store object,
// texts come back as written, and the file is private to its owner.
TEST(SettingsStore, PerUserStoreRoundTripsAndIsOwnerOnly) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
  {
    auto s = lx47::store::CreatePerUserStore(AppName());
    s->writeInt("RecvDelay_msec", 20);
    s->writeString("SavePassword", QStringLiteral("        "));
    s->writeString("HOST_DESC", QStringLiteral("Intel(R) Wi-Fi, 6 AX201"));
    s->writeString("HOST_IP", QStringLiteral("x"));
    s->remove("HOST_IP");
  }
  auto s = lx47::store::CreatePerUserStore(AppName());
  EXPECT_EQ(s->readInt("RecvDelay_msec", 0), 20);
  EXPECT_EQ(s->readString("SavePassword"), QStringLiteral("        "));
  EXPECT_EQ(s->readString("HOST_DESC"), QStringLiteral("Intel(R) Wi-Fi, 6 AX201"));
  EXPECT_EQ(s->readString("HOST_IP", "none"), QStringLiteral("none"));
  QStringList keys = s->keys();
  keys.sort();
  EXPECT_EQ(keys, (QStringList{"HOST_DESC", "RecvDelay_msec", "SavePassword"}));

  const QString file = dir.path() + "/Orvane Systems/lx47_gui_tests.ini";
  ASSERT_TRUE(QFile::exists(file)) << file.toStdString();
  EXPECT_EQ(QFile::permissions(file) & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup |
                                        QFileDevice::WriteOther),
            QFileDevice::Permissions());
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().contains("[Setting]"));
}
#endif
