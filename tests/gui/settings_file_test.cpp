// The settings file as a user or another program may leave it: damaged,
// with keys of its own, or where it cannot be written. The start-up must
// still come out with every value in force and repair what it can.
#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "app/LX47ConfigToolApp.h"
#include "protocol/tool_settings.h"
#include "ui/settings_store.h"

using namespace lx47;

namespace {

QString Write(const QTemporaryDir& dir, const char* name, const QByteArray& text) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
  return path;
}

void ExpectDefaultsInForce(const ToolSettings& t) {
  EXPECT_EQ(t.ALL_HOST_SCAN, 1);
  EXPECT_EQ(t.MaxSendCmdLoopCount, 10);
  EXPECT_EQ(t.MaxRecvLoopCount, 60);
  EXPECT_EQ(t.RecvDelay_msec, 20);
  EXPECT_EQ(t.USE_BC_CFG, 1);
  EXPECT_EQ(t.USE_BC_FUP, 0);
}

}  // namespace

TEST(SettingsFile, DamagedFileGivesDefaultsAndIsRepairedOnDisk) {
  QTemporaryDir dir;
  const QByteArray damaged[] = {
      QByteArray("\xff\xfe\x00[Setting\nRecvDelay_msec\n==\n\\", 28),
      "[Setting]\nRecvDelay_msec=0x20\nMaxSendCmdLoopCount=99999999999\nUSE_BC_FUP=\"\"\nALL_HOST_SCAN=@Invalid()\n",
      "RecvDelay_msec=5\n[Other]\nMaxRecvLoopCount=3\n",  // values outside the section are not the tool's
  };
  int n = 0;
  for (const QByteArray& text : damaged) {
    SCOPED_TRACE(n);
    const QString path = Write(dir, QByteArray("d" + QByteArray::number(n++) + ".ini").constData(), text);
    ExpectDefaultsInForce(app::LoadToolSettings(*store::CreateIniFileStore(path)));
    // What the tool wrote back is what a later start reads.
    QSettings again(path, QSettings::IniFormat);
    EXPECT_EQ(again.value("Setting/RecvDelay_msec").toInt(), 20);
    EXPECT_EQ(again.value("Setting/MaxSendCmdLoopCount").toInt(), 10);
    EXPECT_EQ(again.value("Setting/ALL_HOST_SCAN").toInt(), 1);
  }
}

TEST(SettingsFile, KeysOfOthersStayAsTheyWere) {
  QTemporaryDir dir;
  const QString path =
      Write(dir, "k.ini", "[Setting]\nRecvDelay_msec=30\nSomeoneElse=keep me\n[Other]\nX=1\n");
  EXPECT_EQ(app::LoadToolSettings(*store::CreateIniFileStore(path)).RecvDelay_msec, 30);
  QSettings again(path, QSettings::IniFormat);
  EXPECT_EQ(again.value("Setting/SomeoneElse").toString(), QStringLiteral("keep me"));
  EXPECT_EQ(again.value("Other/X").toInt(), 1);
}

// A folder in place of the file's folder: nothing can be read or written
// (root ignores permission bits, so a mode would not show this in CI).
TEST(SettingsFile, UnwritablePlaceStillGivesTheValuesInForce) {
  QTemporaryDir dir;
  const QString blocker = Write(dir, "not-a-folder", "x");
  auto store = store::CreateIniFileStore(blocker + QStringLiteral("/settings.ini"));
  ExpectDefaultsInForce(app::LoadToolSettings(*store));
  EXPECT_EQ(store->readInt(QStringLiteral("RecvDelay_msec"), -1), 20);  // this run keeps them in memory
  QFile f(blocker);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("x"));
}
