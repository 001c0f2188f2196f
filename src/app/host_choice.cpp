#include "app/host_choice.h"

#include <QString>

#include "platform/codepage.h"

namespace lx47::app {

HostChoice ChooseHostAddress(SettingsAccess& store, ToolSettings& settings, hostnet::HostNetSource& source) {
  ReloadSetting(store, settings, &ToolSettings::ALL_HOST_SCAN);
  ReloadSetting(store, settings, &ToolSettings::HOST_ADAPTERNAME);
  if (settings.ALL_HOST_SCAN != 0) return {};
  // Adapter names are single-byte text of the system; the store keeps them
  // as the tool settings wrote them.
  const QString name = QString::fromStdString(settings.HOST_ADAPTERNAME).trimmed();
  std::uint32_t address = 0;
  if (!name.isEmpty()) {
    address = hostnet::FindAdapterAddress(source, platform::Utf8ToSystemText(name.toStdString()));
    if (address == 0xFFFFFFFFu) address = 0;
  }
  return {address, address != 0};
}

}  // namespace lx47::app
