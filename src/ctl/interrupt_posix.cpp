#include <signal.h>

#include <initializer_list>

#include "ctl/interrupt.h"

namespace lx47::ctl {

namespace {

// The one process-wide variable a signal handler can reach: it is given no
// context.
volatile sig_atomic_t g_interrupts = 0;

void OnSignal(int signo) {
  if (g_interrupts > 0 && signo == SIGINT) {
    // The second Ctrl-C: the user does not want to wait for the exchange.
    signal(SIGINT, SIG_DFL);
    raise(SIGINT);
    return;
  }
  g_interrupts = g_interrupts + 1;
}

}  // namespace

void InstallInterruptHandler() {
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  for (int signo : {SIGINT, SIGTERM, SIGHUP}) sigaction(signo, &sa, nullptr);
}

bool Interrupted() { return g_interrupts > 0; }

}  // namespace lx47::ctl
