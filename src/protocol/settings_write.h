// The settings write: the edited block goes out as "SETS"; the device's
// "SETI" answer becomes the entry's stored block.
#pragma once

#include "protocol/device_table.h"

namespace lx47 {

int WriteSettings(DeviceEntry& target);

}  // namespace lx47
