#include "protocol/factory_reset.h"

#include "hostnet/host_address.h"
#include "platform/net.h"
#include "protocol/cycle.h"

namespace lx47 {

int FactoryReset_LX47_sub(std::uint32_t host, const FactoryResetRequest& request, const ExchangeContext& x) {
  const bool broadcast = request.settings.USE_BC_CFG == 1 || request.UseBroadcast == 1;
  const std::uint32_t device = request.Device_IP;
  const MacAddress mac = request.MacAddress;
  const std::uint8_t eraseMode = request.EraseMode;

  CycleSpec cycle;
  cycle.host = host;
  cycle.request = [&](int, std::vector<std::uint8_t>& req) {
    req.assign({'R', 'E', 'S', 'T'});
    req.insert(req.end(), mac.begin(), mac.end());
    req.push_back(eraseMode);
  };
  cycle.destination = [=](int) { return broadcast ? platform::kBroadcastAddr : device; };
  cycle.bufferSize = 2048;
  TakeTiming(cycle, request.settings);
  cycle.successMarker = "REOK";
  cycle.refusalMarker = "REng";
  cycle.minLength = 11;
  cycle.accept = [&](const CycleReply& r) { return ReplyMacIs(r, mac); };
  cycle.onAccepted = [](const CycleReply& r) -> std::optional<int> { return r.refused ? PR_REFUSED : PR_OK; };
  return RunCycle(cycle, x);
}

int FactoryReset(const FactoryResetRequest& request, const ExchangeContext& x) {
  std::vector<hostnet::HostAddressRow> rows;
  if (hostnet::GetHostAddressTable(x.io.hosts, rows) == 0) return PR_NO_HOST_ADDRESS;
  if (request.settings.ALL_HOST_SCAN == 0) return FactoryReset_LX47_sub(request.SelectedHostAddress, request, x);

  int result = PR_NO_HOST_ADDRESS;
  bool refusedEarlier = false;
  for (const hostnet::HostAddressRow& row : rows) {
    if (x.abort.IsAbortRequested()) {
      result = PR_ABORTED;
      break;
    }
    if (!hostnet::UsableForAllHosts(row)) continue;
    result = FactoryReset_LX47_sub(row.addr, request, x);
    if (result == PR_OK) break;
    if (result == PR_REFUSED) refusedEarlier = true;
  }
  // The device's refusal through one adapter is the answer the user needs,
  // even when a later adapter heard nothing: report it rather than "no reply".
  if (refusedEarlier && result != PR_OK && result != PR_ABORTED) result = PR_REFUSED;
  return result;
}

}  // namespace lx47
