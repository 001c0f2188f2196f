#include "protocol/settings_write.h"

#include <algorithm>
#include <cstring>

#include "platform/net.h"
#include "protocol/cycle.h"

namespace lx47 {

int WriteSettings(DeviceEntry& target, const ToolSettings& settings, const ExchangeContext& x) {
  if (!target.hasBlock()) return PR_SEND;  // nothing to send; never read past a missing block

  // Built once: the first 392 bytes of the stored copy under the "SETS" marker.
  std::vector<std::uint8_t> request(target.Block.begin(), target.Block.begin() + kConfigBlockSize);
  std::memcpy(request.data(), "SETS", 4);

  const int sends = settings.MaxSendCmdLoopCount;
  const bool broadcastAlways = settings.USE_BC_CFG == 1;
  const std::uint32_t device = target.Device_IP;
  const std::uint32_t host = target.Host_IP;

  CycleSpec cycle;
  cycle.host = host;
  cycle.request = [&request](int, std::vector<std::uint8_t>& req) { req = request; };
  // Without USE_BC_CFG the first half of the sends (and one more) go to the
  // device's address, the rest by broadcast in case that address is stale.
  cycle.destination = [=](int k) {
    if (broadcastAlways || k > sends / 2) return platform::kBroadcastAddr;
    return device;
  };
  cycle.bufferSize = 2048;
  TakeTiming(cycle, settings);
  cycle.successMarker = "SETI";
  cycle.refusalMarker = "SETn";
  cycle.minLength = kConfigBlockSize;
  cycle.accept = [&request](const CycleReply& r) {
    return ReplyMacIs(r, std::span<const std::uint8_t>(request.data() + 4, 6));
  };
  cycle.onAccepted = [&target, host](const CycleReply& r) -> std::optional<int> {
    target.Entry_Status = kEntryFilled;
    if (r.refused) return PR_REFUSED;
    target.storeReply(r.bytes, host);
    return PR_OK;
  };
  return RunCycle(cycle, x);
}

}  // namespace lx47
