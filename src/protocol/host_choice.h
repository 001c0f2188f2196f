// The host address the search and the factory reset send from, as the tool
// settings choose it: every usable host address, or the address the chosen
// adapter has now.
#pragma once

#include <cstdint>

#include "hostnet/host_address.h"
#include "protocol/tool_settings.h"

namespace lx47 {

struct HostChoice {
  std::uint32_t address = 0;  // network order; 0 with ALL_HOST_SCAN: every usable one
  // False when one adapter is chosen and it has no usable address now (it
  // is gone, unplugged or of another type): nothing may be sent.
  bool usable = true;
};

// Reads ALL_HOST_SCAN and HOST_ADAPTERNAME afresh from the store into
// settings (a choice changed there while the tool runs counts from now on);
// with ALL_HOST_SCAN 0 the adapter of that name (white space at both ends
// ignored) is looked up, and an address of all ones counts as none.
HostChoice ChooseHostAddress(SettingsAccess& store, ToolSettings& settings, hostnet::HostNetSource& source);
// The same choice from the settings as they stand.
HostChoice HostFor(const ToolSettings& settings, hostnet::HostNetSource& source);

}  // namespace lx47
