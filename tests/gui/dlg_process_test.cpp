// The operation runner: texts, the worker's start and end, Escape, and a UI
// thread that keeps running while the worker works.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/DlgProcess.h"
#include "controls/CStaticEx.h"
#include "fake_net.h"
#include "fakes.h"
#include "protocol/result_codes.h"
#include "protocol/router_scan.h"
#include "protocol/settings.h"

using namespace lx47;
using app::DlgProcess;

namespace {

// What the fake workers do, set by each test before the run.
std::atomic<int> g_endCode{0};
ProcessParam g_seen;
std::atomic<bool> g_abortSeen{false};

void PostEnd(ProcessParam* p, int code) { p->hNotifyWnd->post(UWM_PROCESS_END, code, 0); }

void CopyParamWorker(ProcessParam* p) {
  g_seen = *p;
  PostEnd(p, g_endCode);
}

void ProgressWorker(ProcessParam* p) {
  p->hNotifyWnd->post(UWM_PROCESS_PROGRESS, 6, 12);
  PostEnd(p, 0);
}

// Runs until the abort flag is set (at most 5 s), then takes a while to
// wind down, as an exchange finishing its current attempt does.
void AbortableWorker(ProcessParam* p) {
  for (int i = 0; i < 1000 && !IsAbortRequested(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  g_abortSeen = IsAbortRequested();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  PostEnd(p, g_abortSeen ? PR_ABORTED : PR_OK);
}

// Runs the dialog with a guard that ends a run that never finishes.
int Exec(DlgProcess& dlg) {
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &dlg, [&dlg] {
    ADD_FAILURE() << "the runner did not close";
    RequestAbort();
    dlg.done(-99);
  });
  guard.start(15000);
  return dlg.exec();
}

void Press(QWidget& w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&w, &press);
}

}  // namespace

TEST(DlgProcess, DotsGrowAndShrinkOverEightSteps) {
  const char16_t* expected[9] = {u"　　　　", u"・　　　", u"・・　　", u"・・・　", u"・・・・",
                                 u"・・・　", u"・・　　", u"・　　　", u"　　　　"};
  for (int step = 0; step <= 8; ++step)
    EXPECT_EQ(DlgProcess::DotsText(step), QString::fromUtf16(expected[step])) << step;
}

TEST(DlgProcess, ProgressTexts) {
  EXPECT_EQ(DlgProcess::ByteCountText(6, 12), QStringLiteral("(6/12\n)"));
  EXPECT_EQ(DlgProcess::PercentText(6, 12), QStringLiteral("50.0 %"));
  EXPECT_EQ(DlgProcess::PercentText(1, 3), QStringLiteral("33.3 %"));
  EXPECT_EQ(DlgProcess::PercentText(12, 12), QStringLiteral("100.0 %"));
  // Past 4,294,967 bytes sent × 1000 needs more than 32 bits.
  EXPECT_EQ(DlgProcess::PercentText(4'000'000'000u, 4'294'967'295u), QStringLiteral("93.1 %"));
  EXPECT_EQ(DlgProcess::PercentText(5'000'000u, 10'000'000u), QStringLiteral("50.0 %"));
  // A total of 0 is never sent; it must not divide by zero.
  EXPECT_EQ(DlgProcess::PercentText(5, 0), QStringLiteral("0.0 %"));
}

TEST(DlgProcess, FirmwareProgressIsShownAndEndClosesWithTheCode) {
  DlgProcess dlg;
  dlg.m_Kind = OP_FIRMWARE;
  dlg.m_WorkerOverride = ProgressWorker;
  EXPECT_EQ(Exec(dlg), QDialog::Accepted);
  EXPECT_EQ(dlg.m_Result, 0);
  EXPECT_EQ(dlg.bytesLabel()->text(), QStringLiteral("(6/12\n)"));
  EXPECT_EQ(dlg.percentLabel()->text(), QStringLiteral("50.0 %"));
  EXPECT_FALSE(dlg.bytesLabel()->isHidden());
  EXPECT_FALSE(dlg.percentLabel()->isHidden());
}

TEST(DlgProcess, ParamIsFilledPerKind) {
  static std::uint8_t image[5] = {1, 2, 3, 4, 5};
  const MacAddress mac{1, 2, 3, 4, 5, 6};

  struct Case {
    int kind;
    std::function<void(DlgProcess&)> set;
    std::function<void(const ProcessParam&)> check;
  };
  const Case cases[] = {
      {OP_SEARCH,
       [&](DlgProcess& d) {
         d.m_Password = QByteArray("abc");
         d.m_Mac = mac;
         d.m_OneDevice = 1;
         d.m_DataPtr = image;  // not a search input: stays out of the record
       },
       [&](const ProcessParam& p) {
         const std::array<std::uint8_t, 8> pw{'a', 'b', 'c', ' ', ' ', ' ', ' ', ' '};
         EXPECT_EQ(p.Password, pw);
         EXPECT_EQ(p.MacAddress, mac);
         EXPECT_EQ(p.OneDevice, 1);
         EXPECT_EQ(p.DataPtr, nullptr);
       }},
      {OP_SEARCH, [&](DlgProcess& d) { d.m_Password = QByteArray("123456789ABC"); },
       [&](const ProcessParam& p) {
         const std::array<std::uint8_t, 8> pw{'1', '2', '3', '4', '5', '6', '7', '8'};
         EXPECT_EQ(p.Password, pw);
         EXPECT_EQ(p.MacAddress, MacAddress{});
       }},
      {OP_WRITE,
       [&](DlgProcess& d) {
         d.m_Mac = mac;
         d.m_Password = "x";
       },
       [&](const ProcessParam& p) {
         EXPECT_EQ(p.MacAddress, MacAddress{});
         EXPECT_EQ(p.Password, (std::array<std::uint8_t, 8>{}));
       }},
      {OP_FIRMWARE,
       [&](DlgProcess& d) {
         d.m_DataPtr = image;
         d.m_DataSize = 5;
       },
       [&](const ProcessParam& p) {
         EXPECT_EQ(p.DataPtr, image);
         EXPECT_EQ(p.DataSize, 5);
       }},
      {OP_FACTORY_RESET,
       [&](DlgProcess& d) {
         d.m_Mac = mac;
         d.m_UseBroadcast = 1;
         d.m_EraseMode = 2;
       },
       [&](const ProcessParam& p) {
         EXPECT_EQ(p.MacAddress, mac);
         EXPECT_EQ(p.UseBroadcast, 1);
         EXPECT_EQ(p.EraseMode, 2);
       }},
      {OP_ROUTER_SCAN, [&](DlgProcess& d) { d.m_DataSize = 7; },
       [&](const ProcessParam& p) {
         EXPECT_EQ(p.FoundCount, 0);
         EXPECT_EQ(p.DataPtr, reinterpret_cast<const std::uint8_t*>(RouterScanTable.data()));
         EXPECT_EQ(p.DataSize, kRouterScanCapacity);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    DlgProcess dlg;
    DeviceEntry entry;
    dlg.m_Kind = c.kind;
    dlg.m_TargetEntry = &entry;
    dlg.m_WorkerOverride = CopyParamWorker;
    c.set(dlg);
    g_endCode = 19;
    g_seen = ProcessParam{};
    EXPECT_EQ(Exec(dlg), QDialog::Accepted);
    EXPECT_EQ(dlg.m_Result, 19);
    EXPECT_EQ(g_seen.TargetEntry, &entry);
    EXPECT_NE(g_seen.hNotifyWnd, nullptr);
    c.check(g_seen);
    // Only the firmware transfer shows the byte progress.
    EXPECT_EQ(dlg.bytesLabel()->isHidden(), c.kind != OP_FIRMWARE);
    EXPECT_EQ(dlg.percentLabel()->isHidden(), c.kind != OP_FIRMWARE);
  }
}

TEST(DlgProcess, WorkerThatCannotStartGivesMinusOne) {
  DlgProcess dlg;
  dlg.m_Kind = OP_WRITE;
  dlg.m_Starter = [](WorkerProc, ProcessParam*) { return false; };
  EXPECT_EQ(Exec(dlg), QDialog::Accepted);
  EXPECT_EQ(dlg.m_Result, -1);

  DlgProcess unknown;  // no worker for the kind
  unknown.m_Kind = 4;
  EXPECT_EQ(Exec(unknown), QDialog::Accepted);
  EXPECT_EQ(unknown.m_Result, -1);
}

// Escape, Enter and a close request only ask the worker to stop; the dialog
// stays up until the worker's end message, and the dots move meanwhile.
TEST(DlgProcess, EscapeRequestsAbortAndTheEndMessageCloses) {
  DlgProcess dlg;
  dlg.m_Kind = OP_WRITE;
  dlg.m_Title = QStringLiteral("title");
  dlg.m_WorkerOverride = AbortableWorker;
  g_abortSeen = false;
  bool visibleAfterEscape = false;
  QString dotsAfterOneTick;
  QTimer::singleShot(DlgProcess::kAnimationMs + 200, &dlg, [&] {
    dotsAfterOneTick = dlg.dotsLabel()->text();
    Press(dlg, Qt::Key_Return);
    QCloseEvent close;
    QApplication::sendEvent(&dlg, &close);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(IsAbortRequested());
    ClearAbort();  // so the worker sees the Escape, not the close request
    Press(dlg, Qt::Key_Escape);
    QTimer::singleShot(100, &dlg, [&] { visibleAfterEscape = dlg.isVisible(); });
  });
  EXPECT_EQ(Exec(dlg), QDialog::Accepted);
  EXPECT_TRUE(g_abortSeen);
  EXPECT_TRUE(visibleAfterEscape);
  EXPECT_EQ(dlg.m_Result, PR_ABORTED);
  EXPECT_EQ(dotsAfterOneTick, DlgProcess::DotsText(1));
  EXPECT_EQ(dlg.titleLabel()->text(), QStringLiteral("title"));
}

// A real exchange (a search that nobody answers, on the fake network with
// real pauses) behind the runner: a 10 ms timer on the UI thread must keep
// firing. LX47_LONG_RUN=1 makes it a search of about ten seconds.
TEST(DlgProcess, UiThreadKeepsRunningDuringAnExchange) {
  const bool longRun = std::getenv("LX47_LONG_RUN") != nullptr;
  test::FakeNet net;
  test::FakeHostNet host;
  host.addRow("10.47.0.1");
  const int saved[3] = {MaxSendCmdLoopCount, MaxRecvLoopCount, RecvDelay_msec};
  MaxSendCmdLoopCount = longRun ? 10 : 2;
  MaxRecvLoopCount = longRun ? 50 : 25;
  RecvDelay_msec = longRun ? 18 : 20;
  ALL_HOST_SCAN = 1;

  DlgProcess dlg;
  dlg.m_Kind = OP_SEARCH;
  dlg.m_TargetEntry = DeviceTable.data();
  QElapsedTimer clock;
  qint64 last = 0, longest = 0;
  int ticks = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    longest = std::max(longest, now - last);
    last = now;
    ++ticks;
  });
  clock.start();
  tick.start(10);
  EXPECT_EQ(Exec(dlg), QDialog::Accepted);
  const qint64 total = clock.elapsed();
  tick.stop();
  MaxSendCmdLoopCount = saved[0];
  MaxRecvLoopCount = saved[1];
  RecvDelay_msec = saved[2];

  EXPECT_EQ(dlg.m_Result, PR_OK);
  EXPECT_EQ(DeviceCount, 0);
  EXPECT_GT(total, 800);
  EXPECT_GT(ticks, total / 40);
  // A blocked UI thread would stall for the whole exchange; the margin above
  // 50 ms is for a busy build machine.
  EXPECT_LT(longest, 250);
  std::printf("exchange %lld ms, longest event-loop pause %lld ms, %d ticks\n", static_cast<long long>(total),
              static_cast<long long>(longest), ticks);
}
