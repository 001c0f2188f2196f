#include "protocol/router_scan.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/net.h"
#include "protocol/cycle.h"

namespace lx47 {

std::string RouterScanRecord::ssid() const {
  const auto* first = bytes.data() + 2;
  const auto* end = std::find(first, first + 32, 0);
  return std::string(first, end);
}

std::string SecurityModeName(unsigned code) {
  switch (code) {
    case 0: return "open";
    case 2: return "WPA";
    case 3: return "WPA2";
    case 4: return "WPA/WPA2";
    case 6: return "WPA3";
    case 7: return "WPA2/WPA3";
    default: {
      char text[32];
      std::snprintf(text, sizeof text, "unknown (%u)", code);
      return text;
    }
  }
}

int ScanRouters(const DeviceEntry& target, std::uint8_t& count, RouterScanRecord* table, int capacity,
                const ToolSettings& settings, const ExchangeContext& x) {
  const MacAddress mac = target.Device_MAC;
  const std::size_t room = table ? static_cast<std::size_t>(std::clamp(capacity, 0, kRouterScanCapacity)) : 0;

  CycleSpec cycle;
  cycle.host = target.Host_IP;
  cycle.request = [&](int, std::vector<std::uint8_t>& req) {
    req.assign({'W', 'F', 'S', 'C'});
    req.insert(req.end(), mac.begin(), mac.end());
  };
  cycle.destination = [](int) { return platform::kBroadcastAddr; };
  cycle.bufferSize = 4096;
  TakeTiming(cycle, settings);
  cycle.successMarker = "WFSR";
  cycle.minLength = 12;
  // The device needs time to scan before it answers.
  cycle.waitAfterSendMs = 1750;
  cycle.waitAfterBindMs = 1750;
  cycle.accept = [&](const CycleReply& r) { return ReplyMacIs(r, mac); };
  cycle.onAccepted = [&](const CycleReply& r) -> std::optional<int> {
    // The count byte is the device's claim; store only whole records that
    // arrived and fit the table.
    const std::size_t claimed = r.bytes[11];
    const std::size_t received = (r.bytes.size() - 12) / kRouterRecordSize;
    const std::size_t n = std::min({claimed, received, room});
    for (std::size_t i = 0; i < n; ++i)
      std::memcpy(table[i].bytes.data(), r.bytes.data() + 12 + i * kRouterRecordSize, kRouterRecordSize);
    count = static_cast<std::uint8_t>(n);
    return PR_OK;
  };
  return RunCycle(cycle, x);
}

}  // namespace lx47
