#include "app/leave.h"

#include <QCoreApplication>
#include <QTimer>

#include "protocol/settings.h"

namespace lx47::app {

namespace {

bool g_leaving = false;
int g_workers = 0;  // started, end message not yet arrived

// Every event loop returns, the main window's modal one too, and a loop
// started later returns at once.
void LeaveNow() { QCoreApplication::exit(0); }

}  // namespace

void RequestLeave() {
  if (g_leaving) return;
  g_leaving = true;
  RequestAbort();
  if (g_workers == 0) {
    LeaveNow();
    return;
  }
  // A worker clears the abort flag as it starts; one asked just before that
  // would run its exchange to the end. Ask again until its end has come.
  auto* again = new QTimer(QCoreApplication::instance());
  QObject::connect(again, &QTimer::timeout, again, [again] {
    if (g_workers == 0) {
      again->deleteLater();
      return;
    }
    RequestAbort();
  });
  again->start(50);
}

bool IsLeaving() { return g_leaving; }

void WorkerStarted() { ++g_workers; }

void WorkerEnded() {
  if (g_workers > 0) --g_workers;
  if (g_leaving && g_workers == 0) LeaveNow();
}

}  // namespace lx47::app
