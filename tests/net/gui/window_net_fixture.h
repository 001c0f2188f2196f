// The main window on a fresh session over real sockets, with the fast
// settings, an in-memory store and recorded message boxes; lx47-sim started
// by each test.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <optional>

#include "app/LX47ConfigToolDlg.h"
#include "platform/net.h"
#include "protocol/session.h"
#include "recording_messages.h"
#include "support/sim_process.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"

namespace lx47::nettest {

class WindowNet : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::net().startup());
    settings = FastSettings();
    win.emplace(session);
    win->show();
  }
  void TearDown() override { win.reset(); }

  // The texts of the message boxes shown so far.
  QStringList Texts() const {
    QStringList t;
    for (const auto& r : messages.shown) t << r.text;
    return t;
  }

  store::MemorySettingsStore store;
  ui::ScopedSettingsStore scoped{&store};
  test::RecordingMessages messages;
  SimProcess sim;
  Session session;
  ToolSettings& settings = session.Settings;
  DeviceTableArray& DeviceTable = session.DeviceTable;
  std::optional<app::LX47ConfigToolDlg> win;
};

}  // namespace lx47::nettest
