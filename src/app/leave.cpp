#include "app/leave.h"

#include <QCoreApplication>
#include <QTimer>

#include "protocol/session.h"

namespace lx47::app {

namespace {

// Every event loop returns, the main window's modal one too, and a loop
// started later returns at once.
void LeaveNow() { QCoreApplication::exit(0); }

}  // namespace

void RequestLeave(Session& session) {
  if (session.Leaving) return;
  session.Leaving = true;
  session.Abort.RequestAbort();
  if (session.WorkersRunning == 0) {
    LeaveNow();
    return;
  }
  // A worker clears the abort flag as it starts; one asked just before that
  // would run its exchange to the end. Ask again until its end has come.
  auto* again = new QTimer(QCoreApplication::instance());
  QObject::connect(again, &QTimer::timeout, again, [again, &session] {
    if (session.WorkersRunning == 0) {
      again->deleteLater();
      return;
    }
    session.Abort.RequestAbort();
  });
  again->start(50);
}

bool IsLeaving(const Session& session) { return session.Leaving; }

void WorkerStarted(Session& session) { ++session.WorkersRunning; }

void WorkerEnded(Session& session) {
  if (session.WorkersRunning > 0) --session.WorkersRunning;
  if (session.Leaving && session.WorkersRunning == 0) LeaveNow();
}

}  // namespace lx47::app
