// Per-user store of named integers and strings, all in the section "Setting".
// QSettings on the desktop (INI file on Linux, registry on Windows); an
// in-memory store for tests.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace lx47::ui {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Absent or not an integer: the default.
  virtual int readInt(const QString& key, int def) = 0;
  virtual void writeInt(const QString& key, int value) = 0;
  // Absent: the default.
  virtual QString readString(const QString& key, const QString& def = QString()) = 0;
  virtual void writeString(const QString& key, const QString& value) = 0;
  // Writing a string as absent removes the value.
  virtual void remove(const QString& key) = 0;
  // The keys present, for tests and diagnostics.
  virtual QStringList keys() = 0;
};

// A new per-user store (QSettings under "Orvane Systems" and the application
// name). settingsStore() keeps one for the process.
std::unique_ptr<SettingsStore> CreatePerUserStore();
// The same store on a given INI file (the Linux format), for checking how a
// hand-edited file is read.
std::unique_ptr<SettingsStore> CreateIniFileStore(const QString& path);

// The process-wide store: the per-user one unless a test installed another.
SettingsStore& settingsStore();
void setSettingsStore(SettingsStore* replacement);  // nullptr restores the per-user store

}  // namespace lx47::ui
