#include "protocol/host_choice.h"

#include <string>

#include "platform/codepage.h"
#include "texts/utf8.h"

namespace lx47 {

HostChoice ChooseHostAddress(SettingsAccess& store, ToolSettings& settings, hostnet::HostNetSource& source) {
  ReloadSetting(store, settings, &ToolSettings::ALL_HOST_SCAN);
  ReloadSetting(store, settings, &ToolSettings::HOST_ADAPTERNAME);
  return HostFor(settings, source);
}

HostChoice HostFor(const ToolSettings& settings, hostnet::HostNetSource& source) {
  if (settings.ALL_HOST_SCAN != 0) return {};
  // Adapter names are single-byte text of the system; the store keeps them
  // as the tool settings wrote them.
  const std::string name(texts::Trimmed(settings.HOST_ADAPTERNAME));
  std::uint32_t address = 0;
  if (!name.empty()) {
    address = hostnet::FindAdapterAddress(source, platform::Utf8ToSystemText(name));
    if (address == 0xFFFFFFFFu) address = 0;
  }
  return {address, address != 0};
}

}  // namespace lx47
