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
#include "protocol/job.h"
#include "protocol/result_codes.h"
#include "protocol/session.h"

using namespace lx47;
using app::DlgProcess;

namespace {

int ProgressJob(const ExchangeContext& x) {
  x.notify->post(UWM_PROCESS_PROGRESS, 6, 12);
  return PR_OK;
}

// Runs until the abort flag is set (at most 5 s), then takes a while to
// wind down, as an exchange finishing its current attempt does.
std::atomic<bool> g_abortSeen{false};
int AbortableJob(const ExchangeContext& x) {
  for (int i = 0; i < 1000 && !x.abort.IsAbortRequested(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  g_abortSeen = x.abort.IsAbortRequested();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  return g_abortSeen ? PR_ABORTED : PR_OK;
}

// Runs the dialog with a guard that ends a run that never finishes.
int Exec(DlgProcess& dlg, Session& session) {
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &dlg, [&dlg, &session] {
    ADD_FAILURE() << "the runner did not close";
    session.Abort.RequestAbort();
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
  Session session;
  DlgProcess dlg(session);
  dlg.m_Kind = OP_FIRMWARE;
  dlg.m_Job = ProgressJob;
  EXPECT_EQ(Exec(dlg, session), QDialog::Accepted);
  EXPECT_EQ(dlg.m_Result, 0);
  EXPECT_EQ(dlg.bytesLabel()->text(), QStringLiteral("(6/12\n)"));
  EXPECT_EQ(dlg.percentLabel()->text(), QStringLiteral("50.0 %"));
  EXPECT_FALSE(dlg.bytesLabel()->isHidden());
  EXPECT_FALSE(dlg.percentLabel()->isHidden());
}

// Whatever the kind, the runner starts its one job on a thread of its own,
// with the session's abort flag cleared and its own window to post to, and
// closes with the job's code. Only the firmware transfer shows the byte
// progress.
TEST(DlgProcess, RunsItsJobOnAWorkerThread) {
  for (const int kind : {OP_SEARCH, OP_WRITE, OP_FIRMWARE, OP_FACTORY_RESET, OP_ROUTER_SCAN}) {
    SCOPED_TRACE(kind);
    Session session;
    session.Abort.RequestAbort();  // left from an earlier cancel
    DlgProcess dlg(session);
    dlg.m_Kind = kind;
    std::atomic<bool> otherThread{false}, ownFlag{false}, cleared{false}, notifier{false};
    const std::thread::id ui = std::this_thread::get_id();
    dlg.m_Job = [&](const ExchangeContext& x) {
      otherThread = std::this_thread::get_id() != ui;
      ownFlag = &x.abort == &session.Abort;
      cleared = !x.abort.IsAbortRequested();
      notifier = x.notify != nullptr;
      return 19;
    };
    EXPECT_EQ(Exec(dlg, session), QDialog::Accepted);
    EXPECT_EQ(dlg.m_Result, 19);
    EXPECT_TRUE(otherThread);
    EXPECT_TRUE(ownFlag);
    EXPECT_TRUE(cleared);
    EXPECT_TRUE(notifier);
    EXPECT_EQ(dlg.bytesLabel()->isHidden(), kind != OP_FIRMWARE);
    EXPECT_EQ(dlg.percentLabel()->isHidden(), kind != OP_FIRMWARE);
  }
}

TEST(DlgProcess, WorkerThatCannotStartGivesMinusOne) {
  Session session;
  DlgProcess dlg(session);
  dlg.m_Kind = OP_WRITE;
  dlg.m_Job = [](const ExchangeContext&) { return PR_OK; };
  dlg.m_Starter = [](Job, const ExchangeContext&) { return false; };
  EXPECT_EQ(Exec(dlg, session), QDialog::Accepted);
  EXPECT_EQ(dlg.m_Result, -1);

  DlgProcess nothing(session);  // no job to run
  nothing.m_Kind = OP_WRITE;
  EXPECT_EQ(Exec(nothing, session), QDialog::Accepted);
  EXPECT_EQ(nothing.m_Result, -1);
}

// Escape, Enter and a close request only ask the worker to stop; the dialog
// stays up until the worker's end message, and the dots move meanwhile.
TEST(DlgProcess, EscapeRequestsAbortAndTheEndMessageCloses) {
  Session session;
  DlgProcess dlg(session);
  dlg.m_Kind = OP_WRITE;
  dlg.m_Title = QStringLiteral("title");
  dlg.m_Job = AbortableJob;
  g_abortSeen = false;
  bool visibleAfterEscape = false;
  QString dotsAfterOneTick;
  QTimer::singleShot(DlgProcess::kAnimationMs + 200, &dlg, [&] {
    dotsAfterOneTick = dlg.dotsLabel()->text();
    Press(dlg, Qt::Key_Return);
    QCloseEvent close;
    QApplication::sendEvent(&dlg, &close);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(session.Abort.IsAbortRequested());
    session.Abort.ClearAbort();  // so the worker sees the Escape, not the close request
    Press(dlg, Qt::Key_Escape);
    QTimer::singleShot(100, &dlg, [&] { visibleAfterEscape = dlg.isVisible(); });
  });
  EXPECT_EQ(Exec(dlg, session), QDialog::Accepted);
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
  Session session;
  session.Settings.MaxSendCmdLoopCount = longRun ? 10 : 2;
  session.Settings.MaxRecvLoopCount = longRun ? 50 : 25;
  session.Settings.RecvDelay_msec = longRun ? 18 : 20;

  DlgProcess dlg(session);
  dlg.m_Kind = OP_SEARCH;
  std::optional<SearchResult> found;
  dlg.m_Job = SearchJob(SearchRequest{session.Settings}, found);
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
  EXPECT_EQ(Exec(dlg, session), QDialog::Accepted);
  const qint64 total = clock.elapsed();
  tick.stop();

  EXPECT_EQ(dlg.m_Result, PR_OK);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->FoundCount, 0);
  EXPECT_GT(total, 800);
  EXPECT_GT(ticks, total / 40);
  // A blocked UI thread would stall for the whole exchange; the margin above
  // 50 ms is for a busy build machine.
  EXPECT_LT(longest, 250);
  std::printf("exchange %lld ms, longest event-loop pause %lld ms, %d ticks\n", static_cast<long long>(total),
              static_cast<long long>(longest), ticks);
}
