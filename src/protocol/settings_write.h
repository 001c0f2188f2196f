// The settings write: the edited block goes out as "SETS"; the device's
// "SETI" answer becomes the entry's stored block.
#pragma once

#include "protocol/device_table.h"
#include "protocol/exchange_context.h"
#include "protocol/tool_settings.h"

namespace lx47 {

int WriteSettings(DeviceEntry& target, const ToolSettings& settings, const ExchangeContext& x);

}  // namespace lx47
