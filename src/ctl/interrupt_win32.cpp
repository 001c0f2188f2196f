#include <windows.h>

#include <atomic>

#include "ctl/interrupt.h"

namespace lx47::ctl {

namespace {

// The console calls the handler on a thread of its own, with no context.
std::atomic<int> g_interrupts{0};

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  // The second Ctrl-C: the default handling ends the process.
  if (g_interrupts.fetch_add(1) > 0 && event == CTRL_C_EVENT) return FALSE;
  return TRUE;
}

}  // namespace

void InstallInterruptHandler() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool Interrupted() { return g_interrupts.load() > 0; }

}  // namespace lx47::ctl
