// Leaving the tool when the system asks it to (SIGTERM, SIGINT, SIGHUP on
// Linux) while an exchange may be running. The worker still uses the
// runner's ProcessParam and notifier and the device table, so the tool asks
// it to stop, waits for its end message, and only then leaves as the exit
// button does: every event loop returns and the start-up code cleans up.
#pragma once

namespace lx47::app {

// Starts the leave; called on the user-interface thread, once or more.
void RequestLeave();
// True once a leave has started: the runner starts no further worker.
bool IsLeaving();

// The runner reports its worker's start and the arrival of its end message.
void WorkerStarted();
void WorkerEnded();

}  // namespace lx47::app
