// The application object: start-up, the single-instance rule, the run of the
// main window and the clean-up after it.
#pragma once

#include <QString>
#include <functional>

namespace lx47::ui {
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

// Reads the tool settings the exchanges use into the process-wide variables,
// repairing values start-up does not accept, and writes each back at once.
void LoadToolSettings(ui::SettingsStore& store);
// "MaskSetting" as a flag: on when the stored number is above 0.
bool ReadMaskSetting(ui::SettingsStore& store);
// Releases every stored block of the device table and sets the count to 0.
void ReleaseDeviceTable();

class LX47ConfigToolApp {
 public:
  // From the socket library to the clean-up after the main window; returns
  // the process exit code (0 also for a second start that handed over).
  int Run();

  // Called after a later start has brought the window to the front (tests
  // watch the handover through it).
  std::function<void()> m_OnActivation;
};

}  // namespace lx47::app
