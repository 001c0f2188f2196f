// The window's settings store: the per-user store of the running program
// unless a test installed another in its place.
#pragma once

#include "store/settings_store.h"

namespace lx47::ui {

// The process-wide store: the per-user one unless a test installed another.
store::SettingsStore& settingsStore();
void setSettingsStore(store::SettingsStore* replacement);  // nullptr restores the per-user store

// Installs a store as the process-wide one for the lifetime of this object.
class ScopedSettingsStore {
 public:
  explicit ScopedSettingsStore(store::SettingsStore* s) { setSettingsStore(s); }
  ~ScopedSettingsStore() { setSettingsStore(nullptr); }
  ScopedSettingsStore(const ScopedSettingsStore&) = delete;
  ScopedSettingsStore& operator=(const ScopedSettingsStore&) = delete;
};

}  // namespace lx47::ui
