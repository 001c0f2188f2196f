// The exit statuses of lx47ctl, one for each kind of outcome, so that a
// script can tell them apart (the help and the manual page list them).
#pragma once

namespace lx47::ctl {

enum ExitStatus : int {
  kExitOk = 0,
  kExitSomeFailed = 1,  // several devices, not all of them succeeded
  kExitUsage = 2,       // the command line or a file is not what it must be
  kExitRefused = 3,     // a value the pages refuse: nothing was sent
  kExitNotFound = 4,    // no device answered (the one asked for, or any)
  kExitNoReply = 5,     // PR_NO_REPLY
  kExitDeviceRefused = 6,  // PR_REFUSED: the device may be busy
  kExitNetwork = 7,     // sockets or sending failed
  kExitNoHost = 8,      // PR_NO_HOST: no host address to send from
  kExitConnect = 9,     // PR_CONNECT: the firmware connection failed
  kExitFile = 10,       // a file could not be read or written, or is no firmware
  kExitInterrupted = 130,  // Ctrl-C (or a termination signal); PR_ABORTED
};

// The status of an exchange's result code.
ExitStatus StatusOf(int resultCode);

}  // namespace lx47::ctl
