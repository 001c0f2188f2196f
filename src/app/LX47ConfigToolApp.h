// The application object: start-up, the single-instance rule, the run of the
// main window and the clean-up after it.
#pragma once

#include <QString>
#include <functional>

#include "protocol/session.h"

namespace lx47::store {
class SettingsStore;
}

namespace lx47::app {

// The product version of this build ("1.0.0"); empty when it cannot be read.
// On Windows it is the "ProductVersion" of the executable's version resource,
// so that the title and the file's properties can never disagree; elsewhere
// the build's own version.
QString ProductVersion();
// "%s  Ver %s" (two blanks before "Ver").
QString FormAppTitle(const QString& caption, const QString& version);
// Title of the main window: the caption and the product version.
QString AppTitle();

// Reads the tool settings from the store, repairing values start-up does
// not accept and writing each back at once (see protocol/tool_settings.h).
ToolSettings LoadToolSettings(store::SettingsStore& store);

class LX47ConfigToolApp {
 public:
  // From the socket library to the clean-up after the main window; returns
  // the process exit code (0 also for a second start that handed over).
  int Run();

  // Called after a later start has brought the window to the front (tests
  // watch the handover through it).
  std::function<void()> m_OnActivation;

  // The process's one session: the tool settings from start-up on, the
  // device table until the clean-up after the main window.
  Session& session() { return m_Session; }

 private:
  Session m_Session;
};

}  // namespace lx47::app
