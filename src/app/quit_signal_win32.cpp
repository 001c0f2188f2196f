#include "app/quit_signal.h"

namespace lx47::app {

// Windows ends a windowed program with WM_CLOSE / WM_ENDSESSION, which Qt
// already turns into close events; nothing to install.
void QuitOnTerminationRequest(Session&) {}

}  // namespace lx47::app
