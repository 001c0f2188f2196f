#include "protocol/discovery.h"

#include <algorithm>
#include <cstring>

#include "hostnet/host_address.h"
#include "platform/net.h"
#include "protocol/cycle.h"
#include "protocol/settings.h"

namespace lx47 {

namespace {

constexpr std::uint32_t kLoopback = 0x0100007Fu;  // 127.0.0.1 in network order

bool MacFilterActive(const ProcessParam& p) {
  return p.OneDevice == 1 && std::any_of(p.MacAddress.begin(), p.MacAddress.end(), [](std::uint8_t b) { return b != 0; });
}

bool IsDuplicate(std::span<const std::uint8_t> reply, int total) {
  for (int k = 0; k < total && k < kDeviceTableSize; ++k) {
    const DeviceEntry& e = DeviceTable[static_cast<std::size_t>(k)];
    if (e.Entry_Status == kEntryFilled && std::equal(e.Device_MAC.begin(), e.Device_MAC.end(), reply.begin() + 4))
      return true;
  }
  return false;
}

// First two octets 127.0 (network order: the lowest two bytes).
bool IsLoopbackNet(std::uint32_t addr) { return (addr & 0xFFFFu) == 0x007Fu; }

}  // namespace

int ScanLX47_sub(std::uint32_t host, ProcessParam* param) {
  const int base = param->FoundCount;
  int found = 0;
  bool done = false;
  const bool filter = MacFilterActive(*param);

  CycleSpec cycle;
  cycle.host = host;
  cycle.request = [param](int, std::vector<std::uint8_t>& req) {
    req.assign({'F', 'O', 'N', 'D'});
    req.insert(req.end(), param->Password.begin(), param->Password.end());
  };
  cycle.destination = [](int) { return platform::kBroadcastAddr; };
  cycle.bufferSize = 2048;
  cycle.sends = MaxSendCmdLoopCount;
  cycle.attempts = MaxRecvLoopCount + (param->OneDevice != 0 ? 10 : 0);
  cycle.recvDelayMs = RecvDelay_msec;
  cycle.successMarker = "IAMI";
  cycle.minLength = kConfigBlockSize;
  cycle.markerlessUsesAttempt = true;
  // An abort keeps what was stored and counts as a finished search.
  cycle.abortResult = PR_OK;
  cycle.exhaustedResult = PR_OK;
  cycle.accept = [&](const CycleReply& r) {
    if (param->OneDevice == 1) {
      if (filter && !ReplyMacIs(r, param->MacAddress)) return false;
      return true;
    }
    return !IsDuplicate(r.bytes, base + found);
  };
  cycle.onAccepted = [&](const CycleReply& r) -> std::optional<int> {
    if (param->OneDevice == 1) done = true;
    const int total = base + found;
    if (total < kDeviceTableSize) {
      DeviceTable[static_cast<std::size_t>(total)].storeReply(r.bytes, host);
      ++found;
    }
    if (done || base + found >= kDeviceTableSize) return PR_OK;
    return std::nullopt;
  };

  const int result = RunCycle(cycle);
  param->FoundCount += found;
  return result;
}

int DiscoverDevices(ProcessParam* param) {
  param->FoundCount = 0;
  std::vector<hostnet::HostAddressRow> rows;
  if (hostnet::GetHostAddressTable(rows) == 0) return PR_OK;

  if (ALL_HOST_SCAN != 0) {
    for (const hostnet::HostAddressRow& row : rows) {
      if (IsAbortRequested()) break;
      if (row.type & (hostnet::kAddrDisconnected | hostnet::kAddrDeleted)) continue;
      if (row.addr == kLoopback) continue;
      const int before = param->FoundCount;
      const int result = ScanLX47_sub(row.addr, param);
      if (result != PR_OK) return result;
      if (param->OneDevice == 1 && param->FoundCount > before) break;
      if (param->FoundCount >= kDeviceTableSize) break;
    }
    return PR_OK;
  }

  const std::uint32_t host = SelectedHostAddress;
  for (const hostnet::HostAddressRow& row : rows) {
    if (IsLoopbackNet(row.addr)) continue;
    if (row.addr == host) return ScanLX47_sub(host, param);
  }
  return PR_NO_HOST;
}

}  // namespace lx47
