// The per-user settings store on QSettings, and the in-memory one.
#include "store/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <memory>

#include "store/memory_settings_store.h"

namespace lx47::store {

namespace {

constexpr const char* kOrganisation = "Orvane Systems";
constexpr const char* kSection = "Setting";

// Integers are 32-bit; anything else (text, a number out of range) reads as
// the caller's default.
int ToInt(const QVariant& v, int def) {
  bool ok = false;
  const int value = v.toString().trimmed().toInt(&ok, 10);
  return ok ? value : def;
}

// The per-user place of an application's store.
struct PerUser {
  QString applicationName;
};

class QSettingsStore final : public SettingsStore {
 public:
  explicit QSettingsStore(const PerUser& place)
#ifdef Q_OS_WIN
      : m_Settings(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, place.applicationName)
#else
      : m_Settings(QSettings::IniFormat, QSettings::UserScope, kOrganisation, place.applicationName)
#endif
  {
    if (m_Settings.format() == QSettings::IniFormat) PrepareFile(m_Settings.fileName());
    m_Settings.beginGroup(kSection);
  }
  explicit QSettingsStore(const QString& iniPath) : m_Settings(iniPath, QSettings::IniFormat) {
    PrepareFile(iniPath);
    m_Settings.beginGroup(kSection);
  }

  int readInt(const QString& key, int def) override {
    if (!m_Settings.contains(key)) return def;
    return ToInt(m_Settings.value(key), def);
  }
  void writeInt(const QString& key, int value) override {
    m_Settings.setValue(key, value);
    flush();
  }
  QString readString(const QString& key, const QString& def) override {
    if (!m_Settings.contains(key)) return def;
    const QVariant v = m_Settings.value(key);
    // The INI reader turns an unquoted text with commas into a list.
    if (v.metaType().id() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(','));
    return v.toString();
  }
  void writeString(const QString& key, const QString& value) override {
    m_Settings.setValue(key, value);
    flush();
  }
  void remove(const QString& key) override {
    m_Settings.remove(key);
    flush();
  }
  QStringList keys() override { return m_Settings.childKeys(); }

 private:
  // The file holds a saved search password: it is written at once and kept
  // readable by its owner only.
  void flush() {
    m_Settings.sync();
    if (m_Settings.format() != QSettings::IniFormat) return;
    const QString path = m_Settings.fileName();
    if (QFile::exists(path)) QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  }

  // Creates the file empty and private before QSettings first writes it, so
  // that no moment exists in which it is readable by others.
  static void PrepareFile(const QString& path) {
    if (path.isEmpty() || QFile::exists(path)) return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
      f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
      f.close();
    }
  }

  QSettings m_Settings;
};

}  // namespace

std::unique_ptr<SettingsStore> CreatePerUserStore(const QString& applicationName) {
  return std::make_unique<QSettingsStore>(PerUser{applicationName});
}

std::unique_ptr<SettingsStore> CreateIniFileStore(const QString& path) {
  return std::make_unique<QSettingsStore>(path);
}

// In-memory store.

int MemorySettingsStore::readInt(const QString& key, int def) {
  const auto it = m_Values.constFind(key);
  return it == m_Values.cend() ? def : ToInt(*it, def);
}

void MemorySettingsStore::writeInt(const QString& key, int value) { m_Values.insert(key, value); }

QString MemorySettingsStore::readString(const QString& key, const QString& def) {
  const auto it = m_Values.constFind(key);
  return it == m_Values.cend() ? def : it->toString();
}

void MemorySettingsStore::writeString(const QString& key, const QString& value) { m_Values.insert(key, value); }

void MemorySettingsStore::remove(const QString& key) { m_Values.remove(key); }

QStringList MemorySettingsStore::keys() { return m_Values.keys(); }

}  // namespace lx47::store
