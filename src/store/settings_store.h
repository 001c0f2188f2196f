// Per-user store of named integers and strings, all in the section "Setting".
// QSettings on the desktop (INI file on Linux, registry on Windows); an
// in-memory store for tests. Qt Core only, so that the window and the
// command line read and write the same store.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "protocol/tool_settings.h"

namespace lx47::store {

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

// The application whose store the tool's settings are: the window's
// executable name, which is also the name of the store's place.
inline constexpr const char* kToolApplicationName = "lx47-config";

// A new per-user store (QSettings under "Orvane Systems" and the application
// name).
std::unique_ptr<SettingsStore> CreatePerUserStore(const QString& applicationName);
// The same store on a given INI file (the Linux format), for checking how a
// hand-edited file is read.
std::unique_ptr<SettingsStore> CreateIniFileStore(const QString& path);

// A store as the Qt-free tool settings read and write it.
class StoreAccess final : public SettingsAccess {
 public:
  explicit StoreAccess(SettingsStore& store) : m_Store(store) {}
  int readInt(const char* key, int def) override { return m_Store.readInt(QString::fromUtf8(key), def); }
  void writeInt(const char* key, int value) override { m_Store.writeInt(QString::fromUtf8(key), value); }
  std::string readString(const char* key) override { return m_Store.readString(QString::fromUtf8(key)).toStdString(); }
  void writeString(const char* key, const std::string& value) override {
    m_Store.writeString(QString::fromUtf8(key), QString::fromStdString(value));
  }
  void remove(const char* key) override { m_Store.remove(QString::fromUtf8(key)); }

 private:
  SettingsStore& m_Store;
};

}  // namespace lx47::store
