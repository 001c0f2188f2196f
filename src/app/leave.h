// Leaving the tool when the system asks it to (SIGTERM, SIGINT, SIGHUP on
// Linux) while an exchange may be running. The worker still posts to the
// runner's notifier and writes the result its command reads, so the tool
// asks it to stop, waits for its end message, and only then leaves as the
// exit button does: every event loop returns and the start-up code cleans
// up. The state lives in the session (Leaving, WorkersRunning).
#pragma once

namespace lx47 {
struct Session;
}

namespace lx47::app {

// Starts the leave; called on the user-interface thread, once or more.
void RequestLeave(Session& session);
// True once a leave has started: the runner starts no further worker.
bool IsLeaving(const Session& session);

// The runner reports its worker's start and the arrival of its end message.
void WorkerStarted(Session& session);
void WorkerEnded(Session& session);

}  // namespace lx47::app
