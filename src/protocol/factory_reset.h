// The factory reset: "REST" for one MAC address, tried from the host
// addresses in turn until one of them gets an answer.
#pragma once

#include <cstdint>

#include "protocol/config_block.h"
#include "protocol/exchange_context.h"
#include "protocol/tool_settings.h"

namespace lx47 {

struct FactoryResetRequest {
  ToolSettings settings;                  // the timing, ALL_HOST_SCAN and USE_BC_CFG
  std::uint32_t SelectedHostAddress = 0;  // network order; the host address when ALL_HOST_SCAN is 0
  lx47::MacAddress MacAddress{};          // the device to reset
  std::int32_t UseBroadcast = 0;          // 1: by broadcast; 0: to Device_IP
  std::uint8_t EraseMode = 0;
  std::uint32_t Device_IP = 0;  // network order; the shown device's address
};

int FactoryReset(const FactoryResetRequest& request, const ExchangeContext& x);
int FactoryReset_LX47_sub(std::uint32_t host, const FactoryResetRequest& request, const ExchangeContext& x);

}  // namespace lx47
