#include "protocol/factory_reset.h"

#include "hostnet/host_address.h"
#include "platform/net.h"
#include "protocol/cycle.h"
#include "protocol/settings.h"

namespace lx47 {

namespace {
constexpr std::uint32_t kLoopback = 0x0100007Fu;  // 127.0.0.1, network order
}

int FactoryReset_LX47_sub(std::uint32_t host, DeviceEntry* target, ProcessParam* param) {
  const bool broadcast = USE_BC_CFG == 1 || param->UseBroadcast == 1;
  const std::uint32_t device = target ? target->Device_IP : 0;
  const MacAddress mac = param->MacAddress;
  const std::uint8_t eraseMode = param->EraseMode;

  CycleSpec cycle;
  cycle.host = host;
  cycle.request = [&](int, std::vector<std::uint8_t>& req) {
    req.assign({'R', 'E', 'S', 'T'});
    req.insert(req.end(), mac.begin(), mac.end());
    req.push_back(eraseMode);
  };
  cycle.destination = [=](int) { return broadcast ? platform::kBroadcastAddr : device; };
  cycle.bufferSize = 2048;
  cycle.sends = MaxSendCmdLoopCount;
  cycle.attempts = MaxRecvLoopCount;
  cycle.recvDelayMs = RecvDelay_msec;
  cycle.successMarker = "REOK";
  cycle.refusalMarker = "REng";
  cycle.minLength = 11;
  cycle.accept = [&](const CycleReply& r) { return ReplyMacIs(r, mac); };
  cycle.onAccepted = [](const CycleReply& r) -> std::optional<int> { return r.refused ? PR_REFUSED : PR_OK; };
  return RunCycle(cycle);
}

int FactoryReset(DeviceEntry* target, ProcessParam* param) {
  std::vector<hostnet::HostAddressRow> rows;
  if (hostnet::GetHostAddressTable(rows) == 0) return PR_NO_HOST_ADDRESS;
  if (ALL_HOST_SCAN == 0) return FactoryReset_LX47_sub(SelectedHostAddress, target, param);

  int result = PR_NO_HOST_ADDRESS;
  bool refusedEarlier = false;
  for (const hostnet::HostAddressRow& row : rows) {
    if (IsAbortRequested()) {
      result = PR_ABORTED;
      break;
    }
    if (row.type & (hostnet::kAddrDisconnected | hostnet::kAddrDeleted)) continue;
    if (row.addr == kLoopback) continue;
    result = FactoryReset_LX47_sub(row.addr, target, param);
    if (result == PR_OK) break;
    if (result == PR_REFUSED) refusedEarlier = true;
  }
  // The device's refusal through one adapter is the answer the user needs,
  // even when a later adapter heard nothing: report it rather than "no reply".
  if (refusedEarlier && result != PR_OK && result != PR_ABORTED) result = PR_REFUSED;
  return result;
}

}  // namespace lx47
