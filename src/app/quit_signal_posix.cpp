#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "app/leave.h"
#include "app/quit_signal.h"

namespace lx47::app {

namespace {

// The one thing a signal handler can reach is process-wide: it is given no
// context of its own.
int g_signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe; the event loop
// does the rest.
void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

}  // namespace

void QuitOnTerminationRequest(Session& session) {
  if (g_signalPipe[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [&session] {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &byte, 1);
    // A running exchange is stopped and waited for before every event loop,
    // the main window's modal one too, returns.
    RequestLeave(session);
  });
  struct sigaction sa = {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
}

}  // namespace lx47::app
