// Feeds arbitrary configuration blocks (392 bytes or more, as a device or a
// device pretending to be one may send) to every settings page: each page
// loads the block, is enabled and stores it back. Nothing may read or write
// outside the block, its length must stay, and a second load and store of
// what the first store left must change nothing more (the pages clean the
// block once, then agree with themselves).
#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/page_factory.h"
#include "pages/settings_page.h"
#include "protocol/config_block.h"
#include "protocol/session.h"
#include "recording_messages.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

QApplication& App() {
  static int argc = 1;
  static char name[] = "fuzz_pages";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

struct Pages {
  lx47::Session session;
  QWidget parent;
  std::vector<lx47::pages::SettingsPage*> list;
  Pages() {
    for (int slot = 0; slot < lx47::app::kPageCount; ++slot)
      list.push_back(lx47::app::CreatePage(session, slot, &parent));
  }
};

void LoadAndStore(Pages& pages, lx47::DeviceEntry& entry) {
  for (lx47::pages::SettingsPage* page : pages.list) {
    page->LoadFromEntry(entry, 0);
    page->EnableControls(true, 0);
  }
  // A refused field stops a page; the block keeps what the page had stored.
  for (lx47::pages::SettingsPage* page : pages.list) page->StoreToBlock(entry, false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  App();
  static lx47::test::RecordingMessages messages;  // no box ever waits for a user
  static Pages pages;
  messages.clear();

  std::vector<std::uint8_t> reply(data, data + std::min<std::size_t>(size, 2048));
  if (reply.size() < lx47::kConfigBlockSize) reply.resize(lx47::kConfigBlockSize, 0);
  std::copy_n("IAMI", 4, reply.begin());
  lx47::DeviceEntry& entry = pages.session.DeviceTable[0];
  entry.clear();
  entry.storeReply(reply, 0x0100000A);
  pages.session.DeviceCount = 1;
  const std::size_t length = entry.Block.size();

  LoadAndStore(pages, entry);
  Check(entry.Block.size() == length);
  const std::vector<std::uint8_t> once = entry.Block;
  LoadAndStore(pages, entry);
  Check(entry.Block == once);
  entry.clear();
  pages.session.DeviceCount = 0;
  return 0;
}
