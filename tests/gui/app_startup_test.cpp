// Start-up: the normalisation of the stored tool settings, the title, the
// socket failure message and the clean-up of the device table.
#include <gtest/gtest.h>

#include <QMap>

#include "app/LX47ConfigToolApp.h"
#include "device_reply.h"
#include "fake_net.h"
#include "protocol/device_table.h"
#include "protocol/settings.h"
#include "recording_messages.h"
#include "ui/memory_settings_store.h"
#include "ui/strings.h"

using namespace lx47;
using lx47::ui::MemorySettingsStore;

namespace {

QMap<QString, int> Contents(MemorySettingsStore& s) {
  QMap<QString, int> m;
  for (const QString& k : s.keys()) m.insert(k, s.readInt(k, -12345));
  return m;
}

}  // namespace

TEST(StartUp, EmptyStoreEndsWithExactlyTheSevenKeys) {
  MemorySettingsStore s;
  app::LoadToolSettings(s);
  const QMap<QString, int> expected{{"APP_SETTING_OPTION1", 0}, {"ALL_HOST_SCAN", 1},  {"MaxSendCmdLoopCount", 10},
                                    {"MaxRecvLoopCount", 60},   {"RecvDelay_msec", 20}, {"USE_BC_CFG", 1},
                                    {"USE_BC_FUP", 0}};
  EXPECT_EQ(Contents(s), expected);
  EXPECT_EQ(ALL_HOST_SCAN, 1);
  EXPECT_EQ(MaxSendCmdLoopCount, 10);
  EXPECT_EQ(MaxRecvLoopCount, 60);
  EXPECT_EQ(RecvDelay_msec, 20);
  EXPECT_EQ(USE_BC_CFG, 1);
  EXPECT_EQ(USE_BC_FUP, 0);
  EXPECT_EQ(APP_SETTING_OPTION1, 0);
}

// One stored value, what it is stored back as and what the exchanges use.
TEST(StartUp, RepairsAndKeepsStoredValues) {
  struct Case {
    const char* key;
    QVariant stored;
    int expected;
    int* variable;
  };
  const Case cases[] = {
      {"ALL_HOST_SCAN", 7, 1, &ALL_HOST_SCAN},
      {"ALL_HOST_SCAN", 0, 0, &ALL_HOST_SCAN},
      {"APP_SETTING_OPTION1", -2, 1, &APP_SETTING_OPTION1},
      {"USE_BC_CFG", 0, 0, &USE_BC_CFG},
      {"USE_BC_FUP", 3, 1, &USE_BC_FUP},
      {"RecvDelay_msec", 501, 20, &RecvDelay_msec},
      {"RecvDelay_msec", 500, 500, &RecvDelay_msec},
      {"RecvDelay_msec", 1, 1, &RecvDelay_msec},
      {"RecvDelay_msec", 0, 20, &RecvDelay_msec},
      {"MaxSendCmdLoopCount", 0, 10, &MaxSendCmdLoopCount},
      {"MaxSendCmdLoopCount", -3, 10, &MaxSendCmdLoopCount},
      {"MaxSendCmdLoopCount", 1000, 1000, &MaxSendCmdLoopCount},  // the tool settings' narrower range is not applied
      {"MaxRecvLoopCount", 0, 60, &MaxRecvLoopCount},
      {"MaxRecvLoopCount", 1, 1, &MaxRecvLoopCount},
      // A value that is not an integer reads as the key's default.
      {"RecvDelay_msec", QStringLiteral("fast"), 20, &RecvDelay_msec},
      {"USE_BC_CFG", QStringLiteral("x"), 1, &USE_BC_CFG},
      {"MaxRecvLoopCount", QStringLiteral("12ms"), 60, &MaxRecvLoopCount},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " = " + c.stored.toString().toStdString());
    MemorySettingsStore s;
    s.setRaw(c.key, c.stored);
    app::LoadToolSettings(s);
    EXPECT_EQ(s.readInt(c.key, -1), c.expected);
    EXPECT_EQ(*c.variable, c.expected);
    EXPECT_EQ(s.keys().size(), 7);
  }
}

TEST(StartUp, MaskSettingIsOnOnlyAboveZero) {
  const std::pair<QVariant, bool> cases[] = {{-1, false}, {0, false}, {1, true}, {5, true}, {"on", false}};
  for (const auto& [stored, on] : cases) {
    MemorySettingsStore s;
    s.setRaw("MaskSetting", stored);
    EXPECT_EQ(app::ReadMaskSetting(s), on) << stored.toString().toStdString();
  }
  MemorySettingsStore empty;
  EXPECT_FALSE(app::ReadMaskSetting(empty));
  EXPECT_TRUE(empty.keys().isEmpty());  // read, never written
}

TEST(StartUp, TitleIsCaptionTwoBlanksVerAndVersion) {
  EXPECT_EQ(app::FormAppTitle("Cap", "2.1.0"), QStringLiteral("Cap  Ver 2.1.0"));
  // No version: the title ends with "Ver" and one blank.
  EXPECT_EQ(app::FormAppTitle("Cap", ""), QStringLiteral("Cap  Ver "));
  EXPECT_FALSE(app::ProductVersion().isEmpty());
  EXPECT_EQ(app::AppTitle(), ui::Str(108) + "  Ver " + app::ProductVersion());
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
  EXPECT_EQ(rec.last().text, ui::Str(103));
  EXPECT_EQ(rec.last().caption, ui::AppName());
  EXPECT_EQ(rec.last().icon, ui::MsgIcon::None);
  EXPECT_EQ(rec.last().buttons, ui::MsgButtons::Ok);
  EXPECT_TRUE(store.keys().isEmpty());
}

TEST(StartUp, CleanUpReleasesEveryBlockAndZeroesTheCount) {
  for (int i = 0; i < 3; ++i) DeviceTable[i].storeReply(test::DeviceReply("IAMI", test::Mac(i + 1)), 0x0100000a);
  DeviceCount = 3;
  app::ReleaseDeviceTable();
  EXPECT_EQ(DeviceCount, 0);
  for (const DeviceEntry& e : DeviceTable) {
    EXPECT_TRUE(e.Block.empty());
    EXPECT_EQ(e.Device_IP, 0u);
    EXPECT_EQ(e.Entry_Status, 0);
  }
}
