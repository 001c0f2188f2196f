// Start-up: the normalisation of the stored tool settings, the title, the
// socket failure message and the clean-up of the device table.
#include <gtest/gtest.h>

#include <QMap>

#include "app/LX47ConfigToolApp.h"
#include "device_reply.h"
#include "fake_net.h"
#include "protocol/session.h"
#include "recording_messages.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

using lx47::texts::TextId;

using namespace lx47;
using lx47::store::MemorySettingsStore;

namespace {

QMap<QString, int> Contents(MemorySettingsStore& s) {
  QMap<QString, int> m;
  for (const QString& k : s.keys()) m.insert(k, s.readInt(k, -12345));
  return m;
}

}  // namespace

TEST(StartUp, EmptyStoreEndsWithExactlyTheSevenKeys) {
  MemorySettingsStore s;
  const ToolSettings t = app::LoadToolSettings(s);
  const QMap<QString, int> expected{{"APP_SETTING_OPTION1", 0}, {"ALL_HOST_SCAN", 1},  {"MaxSendCmdLoopCount", 10},
                                    {"MaxRecvLoopCount", 60},   {"RecvDelay_msec", 20}, {"USE_BC_CFG", 1},
                                    {"USE_BC_FUP", 0}};
  EXPECT_EQ(Contents(s), expected);
  EXPECT_EQ(t.ALL_HOST_SCAN, 1);
  EXPECT_EQ(t.MaxSendCmdLoopCount, 10);
  EXPECT_EQ(t.MaxRecvLoopCount, 60);
  EXPECT_EQ(t.RecvDelay_msec, 20);
  EXPECT_EQ(t.USE_BC_CFG, 1);
  EXPECT_EQ(t.USE_BC_FUP, 0);
  EXPECT_EQ(t.APP_SETTING_OPTION1, 0);
}

// One stored value, what it is stored back as and what the exchanges use.
TEST(StartUp, RepairsAndKeepsStoredValues) {
  struct Case {
    const char* key;
    QVariant stored;
    int expected;
    int ToolSettings::*variable;
  };
  const Case cases[] = {
      {"ALL_HOST_SCAN", 7, 1, &ToolSettings::ALL_HOST_SCAN},
      {"ALL_HOST_SCAN", 0, 0, &ToolSettings::ALL_HOST_SCAN},
      {"APP_SETTING_OPTION1", -2, 1, &ToolSettings::APP_SETTING_OPTION1},
      {"USE_BC_CFG", 0, 0, &ToolSettings::USE_BC_CFG},
      {"USE_BC_FUP", 3, 1, &ToolSettings::USE_BC_FUP},
      {"RecvDelay_msec", 501, 20, &ToolSettings::RecvDelay_msec},
      {"RecvDelay_msec", 500, 500, &ToolSettings::RecvDelay_msec},
      {"RecvDelay_msec", 1, 1, &ToolSettings::RecvDelay_msec},
      {"RecvDelay_msec", 0, 20, &ToolSettings::RecvDelay_msec},
      {"MaxSendCmdLoopCount", 0, 10, &ToolSettings::MaxSendCmdLoopCount},
      {"MaxSendCmdLoopCount", -3, 10, &ToolSettings::MaxSendCmdLoopCount},
      // The tool settings' narrower range is not applied.
      {"MaxSendCmdLoopCount", 1000, 1000, &ToolSettings::MaxSendCmdLoopCount},
      {"MaxRecvLoopCount", 0, 60, &ToolSettings::MaxRecvLoopCount},
      {"MaxRecvLoopCount", 1, 1, &ToolSettings::MaxRecvLoopCount},
      // A value that is not an integer reads as the key's default.
      {"RecvDelay_msec", QStringLiteral("fast"), 20, &ToolSettings::RecvDelay_msec},
      {"USE_BC_CFG", QStringLiteral("x"), 1, &ToolSettings::USE_BC_CFG},
      {"MaxRecvLoopCount", QStringLiteral("12ms"), 60, &ToolSettings::MaxRecvLoopCount},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " = " + c.stored.toString().toStdString());
    MemorySettingsStore s;
    s.setRaw(c.key, c.stored);
    const ToolSettings t = app::LoadToolSettings(s);
    EXPECT_EQ(s.readInt(c.key, -1), c.expected);
    EXPECT_EQ(t.*c.variable, c.expected);
    EXPECT_EQ(s.keys().size(), 7);
  }
}

TEST(StartUp, MaskSettingIsOnOnlyAboveZero) {
  const std::pair<QVariant, bool> cases[] = {{-1, false}, {0, false}, {1, true}, {5, true}, {"on", false}};
  for (const auto& [stored, on] : cases) {
    MemorySettingsStore s;
    s.setRaw("MaskSetting", stored);
    EXPECT_EQ(app::LoadToolSettings(s).MaskSetting != 0, on) << stored.toString().toStdString();
  }
  MemorySettingsStore empty;
  EXPECT_EQ(app::LoadToolSettings(empty).MaskSetting, 0);
  EXPECT_FALSE(empty.contains("MaskSetting"));  // read, never written
}

TEST(StartUp, TitleIsCaptionTwoBlanksVerAndVersion) {
  EXPECT_EQ(app::FormAppTitle("Cap", "2.1.0"), QStringLiteral("Cap  Ver 2.1.0"));
  // No version: the title ends with "Ver" and one blank.
  EXPECT_EQ(app::FormAppTitle("Cap", ""), QStringLiteral("Cap  Ver "));
  EXPECT_FALSE(app::ProductVersion().isEmpty());
  EXPECT_EQ(app::AppTitle(), ui::Str(TextId::ToolName) + "  Ver " + app::ProductVersion());
}

TEST(StartUp, SocketLibraryFailureShowsString103AndTouchesNoSetting) {
  test::FakeNet net;
  net.failCall(test::Call::Startup);
  MemorySettingsStore store;
  ui::ScopedSettingsStore scoped(&store);
  test::RecordingMessages rec;
  app::LX47ConfigToolApp app;
  EXPECT_NE(app.Run(), 0);
  ASSERT_EQ(rec.count(), 1);
  EXPECT_EQ(rec.last().text, ui::Str(TextId::SocketInitFailed));
  EXPECT_EQ(rec.last().caption, ui::AppName());
  EXPECT_EQ(rec.last().icon, ui::MsgIcon::None);
  EXPECT_EQ(rec.last().buttons, ui::MsgButtons::Ok);
  EXPECT_TRUE(store.keys().isEmpty());
}

TEST(StartUp, CleanUpReleasesEveryBlockAndZeroesTheCount) {
  Session session;
  for (int i = 0; i < 3; ++i)
    session.DeviceTable[i].storeReply(test::DeviceReply("IAMI", test::Mac(i + 1)), 0x0100000a);
  session.DeviceCount = 3;
  session.ReleaseDeviceTable();
  EXPECT_EQ(session.DeviceCount, 0);
  for (const DeviceEntry& e : session.DeviceTable) {
    EXPECT_TRUE(e.Block.empty());
    EXPECT_EQ(e.Device_IP, 0u);
    EXPECT_EQ(e.Entry_Status, 0);
  }
}
