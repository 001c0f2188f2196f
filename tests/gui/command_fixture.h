// Shared by the command tests: fake pages that store chosen bytes, the main
// window built on them, the fake network, clock and host addresses under the
// real workers, and the recording message service.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <map>
#include <optional>

#include "app/LX47ConfigToolDlg.h"
#include "app/page_factory.h"
#include "device_reply.h"
#include "fake_net.h"
#include "fakes.h"
#include "pages/settings_page.h"
#include "protocol/session.h"
#include "recording_messages.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

namespace lx47::test {

// A page whose "fields" are bytes of the block: edits maps an offset to the
// value the user typed there. Loading forgets the edits, as a real page
// shows the block's values again.
class BytePage : public pages::SettingsPage {
 public:
  BytePage(int slot, QWidget* parent) : SettingsPage(parent), slot(slot) {}
  void LoadFromEntry(DeviceEntry&, int index) override {
    edits.clear();
    loadedIndex = index;
    ++loads;
  }
  void EnableControls(bool enable, int) override { enabled = enable; }
  bool StoreToBlock(DeviceEntry& entry, bool report) override {
    ++stores;
    lastReport = report;
    // Stores its first field, then finds the second invalid: the partial
    // store a caller must undo.
    for (const auto& [offset, value] : edits) {
      entry.Block.at(offset) = value;
      if (invalid) return false;
    }
    return !invalid;
  }

  const int slot;
  std::map<std::size_t, std::uint8_t> edits;
  bool invalid = false;
  bool lastReport = false;
  bool enabled = true;
  int loadedIndex = -1;
  int loads = 0;
  int stores = 0;
};

class CommandTest : public ::testing::Test {
 public:
  static constexpr std::uint32_t kHost = 0x01002F0Au;  // 10.47.0.1 in network order

  void SetUp() override {
    settings.MaxSendCmdLoopCount = 2;
    settings.MaxRecvLoopCount = 3;
    host.addRow("10.47.0.1");
    dlg.emplace(session, nullptr, [this](int slot, QWidget* parent) {
      pages[slot] = new BytePage(slot, parent);
      return pages[slot];
    });
  }
  void TearDown() override {
    dlg.reset();
    EXPECT_EQ(net.openSockets(), 0);
  }

  DeviceEntry& Entry(int i) { return session.DeviceTable[static_cast<std::size_t>(i)]; }

  // count devices listed as a search leaves them, device 0 shown.
  void ListDevices(int count = 2, std::uint8_t wifiMode = 0) {
    for (int i = 0; i < count; ++i) {
      Bytes reply = DeviceReply("IAMI", Mac(std::uint8_t(i + 1)));
      reply[field::Wifi_Mode.offset] = wifiMode;
      Entry(i).storeReply(reply, kHost);
    }
    session.DeviceCount = count;
    dlg->FillDeviceList();
    dlg->EnableMainControls(true);
    dlg->m_CurrentIndex = dlg->m_PreviousIndex = -1;
    dlg->SelectRow(0);
    rec.clear();
  }

  // Texts of the boxes shown so far.
  QStringList Texts() const {
    QStringList t;
    for (const auto& r : rec.shown) t << r.text;
    return t;
  }

  BytePage& page(int slot) { return *pages[slot]; }

  store::MemorySettingsStore store;
  ui::ScopedSettingsStore scopedStore{&store};
  RecordingMessages rec;
  FakeNet net;
  FakeClock clock;
  FakeHostNet host;
  BytePage* pages[5] = {};
  // A fresh session for every test: the tool settings at their defaults,
  // empty tables.
  Session session;
  ToolSettings& settings = session.Settings;
  std::optional<app::LX47ConfigToolDlg> dlg;
};

}  // namespace lx47::test

#include <QTimer>
#include <functional>

namespace lx47::test {

// Runs fn on the next modal dialog of type T once it is up (within 5 s);
// a dialog that never comes fails the test.
template <typename T>
void OnModal(std::function<void(T&)> fn) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, fn] {
    if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      fn(*d);
      return;
    }
    if (++*tries > 500) {
      ADD_FAILURE() << "no modal dialog of the expected type came up";
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(10);
}

}  // namespace lx47::test
