// A settings store held in memory: for tests, and for any run that must not
// touch the user's stored settings.
#pragma once

#include <QMap>
#include <QVariant>

#include "store/settings_store.h"

namespace lx47::store {

class MemorySettingsStore final : public SettingsStore {
 public:
  int readInt(const QString& key, int def) override;
  void writeInt(const QString& key, int value) override;
  QString readString(const QString& key, const QString& def = QString()) override;
  void writeString(const QString& key, const QString& value) override;
  void remove(const QString& key) override;
  QStringList keys() override;

  // Puts any value in place, including ones that are not integers, as a
  // hand-edited store could hold them.
  void setRaw(const QString& key, const QVariant& value) { m_Values.insert(key, value); }
  bool contains(const QString& key) const { return m_Values.contains(key); }
  void clear() { m_Values.clear(); }

 private:
  QMap<QString, QVariant> m_Values;
};

}  // namespace lx47::store
