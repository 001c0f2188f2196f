// Ctrl-C and the termination signals while the command line runs: the first
// one asks the running exchange to stop (the runner polls this flag), a
// second Ctrl-C ends the process at once.
#pragma once

namespace lx47::ctl {

void InstallInterruptHandler();
// Whether an interrupt has come since the start.
bool Interrupted();

}  // namespace lx47::ctl
