// Ends the tool cleanly when the system asks it to (a session logging out, a
// service manager, `kill`): a running exchange is stopped and waited for
// (app/leave.h), then every event loop returns, so the start-up code
// releases the device table and the store is flushed as on a normal exit.
#pragma once

namespace lx47 {
struct Session;
}

namespace lx47::app {

// Call once after the QApplication exists; session is the one the tool runs
// with, and must outlive the event loops.
void QuitOnTerminationRequest(Session& session);

}  // namespace lx47::app
