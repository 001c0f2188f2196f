// The firmware transfer: a "FIRM" announcement over UDP, then the image over
// TCP port 5075 behind a 4-byte big-endian length.
#pragma once

#include <cstdint>

#include "protocol/device_table.h"
#include "protocol/exchange_context.h"
#include "protocol/tool_settings.h"

namespace lx47 {

inline constexpr std::size_t kFirmwarePiece = 5120;
inline constexpr int kFirmwareConnectTimeoutMs = 10000;

// Posts UWM_PROCESS_PROGRESS (bytes sent, length) to x.notify as it goes.
int TransferFirmware(const DeviceEntry& target, const std::uint8_t* image, std::int32_t length,
                     const ToolSettings& settings, const ExchangeContext& x);

}  // namespace lx47
