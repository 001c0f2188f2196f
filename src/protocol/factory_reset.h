// The factory reset: "REST" for one MAC address, tried from the host
// addresses in turn until one of them gets an answer.
#pragma once

#include <cstdint>

#include "protocol/process_param.h"

namespace lx47 {

int FactoryReset(DeviceEntry* target, ProcessParam* param);
int FactoryReset_LX47_sub(std::uint32_t host, DeviceEntry* target, ProcessParam* param);

}  // namespace lx47
