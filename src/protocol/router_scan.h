// The Wi-Fi router scan: the device reports the networks it hears as
// 42-byte records; the session keeps those of the last scan for the router
// selection.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/device_table.h"
#include "protocol/exchange_context.h"
#include "protocol/tool_settings.h"

namespace lx47 {

inline constexpr std::size_t kRouterRecordSize = 42;
inline constexpr int kRouterScanCapacity = 50;

// One record exactly as the device sends it.
struct RouterScanRecord {
  std::array<std::uint8_t, kRouterRecordSize> bytes{};

  std::uint8_t channel() const { return bytes[1]; }
  // Up to the first zero byte, at most 32 bytes (a full SSID has no terminator).
  std::string ssid() const;
  std::span<const std::uint8_t, 6> bssid() const { return std::span<const std::uint8_t, 6>(bytes.data() + 34, 6); }
  std::uint8_t security() const { return bytes[40]; }
  std::int8_t rssi() const { return static_cast<std::int8_t>(bytes[41]); }
};
static_assert(sizeof(RouterScanRecord) == kRouterRecordSize);

using RouterScanTableArray = std::array<RouterScanRecord, kRouterScanCapacity>;

// "open", "WPA", ... or "unknown (%u)".
std::string SecurityModeName(unsigned code);

// count is in/out: it keeps its value unless a reply is accepted, which sets
// it to the number of records stored (never more than capacity, 50, or the
// whole records the datagram holds).
int ScanRouters(const DeviceEntry& target, std::uint8_t& count, RouterScanRecord* table, int capacity,
                const ToolSettings& settings, const ExchangeContext& x);

}  // namespace lx47
