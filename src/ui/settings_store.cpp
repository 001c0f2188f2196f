#include "ui/settings_store.h"

#include <memory>

#include "ui/message_service.h"

namespace lx47::ui {

namespace {
store::SettingsStore* g_replacement = nullptr;
}  // namespace

store::SettingsStore& settingsStore() {
  if (g_replacement) return *g_replacement;
  // Made on first use, after the application object exists, because the
  // application name is part of the store's location.
  static std::unique_ptr<store::SettingsStore> real;
  if (!real) real = store::CreatePerUserStore(AppName());
  return *real;
}

void setSettingsStore(store::SettingsStore* replacement) { g_replacement = replacement; }

}  // namespace lx47::ui
