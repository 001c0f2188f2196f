// The tool as its own main() starts it (the termination signals, the
// application object, the main window run modally), with a scripted user in
// place of a person, for the test that asks it to leave in the middle of an
// exchange (tests/net/gui/leave_net_test_posix.cpp):
//
//   lx47_leave_probe search            a search with the default timing,
//                                      about 12.8 s per host address
//   lx47_leave_probe firmware IMAGE    a quick search, then IMAGE sent to the
//                                      device found, 5120 bytes every 400 ms
//
// It prints "left <code>" as soon as the application object has returned.
// A second later, by which time a worker left running would have stored
// further answers, the device table must still be as the clean-up left it:
// then it returns that code, else 3.
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "app/DlgPassword.h"
#include "app/DlgProcess.h"
#include "app/LX47ConfigToolApp.h"
#include "app/LX47ConfigToolDlg.h"
#include "app/quit_signal.h"
#include "modal.h"
#include "protocol/session.h"
#include "protocol/result_codes.h"
#include "recording_messages.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"

namespace {

using namespace lx47;

// Presses the search button and answers the search dialog: no password,
// every device.
void Search(app::LX47ConfigToolDlg& win) {
  test::ModalWatch<app::DlgPassword> answer([](app::DlgPassword& d) {
    if (d.oneDeviceBox()->isChecked()) d.oneDeviceBox()->click();
    d.okButton()->click();
  });
  win.searchButton()->click();
}

}  // namespace

int main(int argc, char** argv) {
  const bool firmware = argc == 3 && std::strcmp(argv[1], "firmware") == 0;
  if (!firmware && !(argc == 2 && std::strcmp(argv[1], "search") == 0)) {
    std::fprintf(stderr, "usage: lx47_leave_probe search | firmware IMAGE\n");
    return 2;
  }
  QApplication qtApp(argc, argv);

  store::MemorySettingsStore store;
  ui::ScopedSettingsStore scoped(&store);
  store.writeInt("PinMonitor", 1);  // no single-instance lock between runs
  if (firmware) {
    // The search before the transfer is quick: 2 sends of 10 attempts.
    store.writeInt("MaxSendCmdLoopCount", 2);
    store.writeInt("MaxRecvLoopCount", 10);
  }
  test::RecordingMessages messages;  // the file dialog and the question
  if (firmware) messages.files.push_back(QString::fromLocal8Bit(argv[2]));

  // Once the transfer runs, the real message boxes are back: what the
  // firmware command shows after the leave is what a user would get.
  QTimer realBoxes;
  realBoxes.setInterval(20);
  QObject::connect(&realBoxes, &QTimer::timeout, [&] {
    if (auto* d = dynamic_cast<app::DlgProcess*>(QApplication::activeModalWidget()); d && d->m_Kind == OP_FIRMWARE) {
      ui::setMessageService(nullptr);
      realBoxes.stop();
    }
  });

  QTimer::singleShot(200, [&] {
    auto* win = dynamic_cast<app::LX47ConfigToolDlg*>(QApplication::activeModalWidget());
    if (!win) {
      std::fprintf(stderr, "leave_probe: no main window\n");
      return;
    }
    Search(*win);
    if (!firmware) return;
    if (win->deviceList()->rowCount() < 1) {
      std::fprintf(stderr, "leave_probe: the search found nothing\n");
      return;
    }
    realBoxes.start();
    win->firmwareButton()->click();
  });

  app::LX47ConfigToolApp tool;
  app::QuitOnTerminationRequest(tool.session());
  const int code = tool.Run();
  std::printf("left %d\n", code);
  std::fflush(stdout);

  std::this_thread::sleep_for(std::chrono::seconds(1));
  const Session& session = tool.session();
  const bool untouched =
      session.DeviceCount == 0 && std::all_of(session.DeviceTable.begin(), session.DeviceTable.end(),
                                              [](const DeviceEntry& e) { return e.Block.empty(); });
  if (!untouched) {
    std::fprintf(stderr, "leave_probe: the device table changed after the tool had left\n");
    return 3;
  }
  return code;
}
