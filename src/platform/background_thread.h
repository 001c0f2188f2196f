// The one way the tool starts work on a thread of its own: the runner's
// worker and the two device commands. The thread is not waited for; what it
// hands back travels by posted message or by a count its owner watches.
#pragma once

#include <functional>

namespace lx47::platform {

// Runs work on a new detached thread. False when no thread could be made
// (work is then not run).
bool StartBackgroundThread(std::function<void()> work);

}  // namespace lx47::platform
