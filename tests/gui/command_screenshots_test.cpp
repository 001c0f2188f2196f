// Screenshots of the factory reset dialog and of the runner in the middle of
// a firmware transfer, for docs/screenshots. Runs only when LX47_SHOT_DIR
// names the folder to write to.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/DlgFactoryReset.h"
#include "app/DlgProcess.h"
#include "protocol/result_codes.h"
#include "protocol/settings.h"
#include "recording_messages.h"
#include "ui/strings.h"

using namespace lx47;

namespace {

QString ShotDir() {
  const char* d = std::getenv("LX47_SHOT_DIR");
  return d ? QString::fromLocal8Bit(d) : QString();
}

QString ShotPath(const char* name) { return QDir(ShotDir()).filePath(QString::fromLatin1(name)); }

// 143,360 of 524,288 bytes sent, then waits (at most 5 s) for the abort.
void HalfwayWorker(ProcessParam* p) {
  p->hNotifyWnd->post(UWM_PROCESS_PROGRESS, 143360, 524288);
  for (int i = 0; i < 500 && !IsAbortRequested(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  p->hNotifyWnd->post(UWM_PROCESS_END, PR_ABORTED, 0);
}

}  // namespace

TEST(CommandScreenshots, FactoryResetDialogAndFirmwareProgress) {
  if (ShotDir().isEmpty()) GTEST_SKIP() << "LX47_SHOT_DIR not set";
  test::RecordingMessages messages;

  app::DlgFactoryReset reset;
  reset.m_Mac = {0x02, 0x47, 0x00, 0x00, 0x00, 0x01};
  reset.show();
  QApplication::processEvents();
  ASSERT_TRUE(reset.grab().save(ShotPath("factory_reset.png")));
  reset.hide();

  app::DlgProcess runner;
  runner.m_Kind = OP_FIRMWARE;
  runner.m_Title = ui::Str(123);
  runner.m_Message = ui::Str(122) + "\n" + ui::Str(152);
  runner.m_WorkerOverride = HalfwayWorker;
  bool saved = false;
  QTimer::singleShot(1700, &runner, [&] {  // two animation steps in
    saved = runner.grab().save(ShotPath("firmware_update.png"));
    RequestAbort();
  });
  runner.exec();
  EXPECT_TRUE(saved);
}
