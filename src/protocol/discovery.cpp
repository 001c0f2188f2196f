#include "protocol/discovery.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "hostnet/host_address.h"
#include "platform/codepage.h"
#include "platform/net.h"
#include "protocol/cycle.h"

namespace lx47 {

namespace {

bool MacFilterActive(const SearchRequest& r) {
  return r.OneDevice == 1 &&
         std::any_of(r.MacAddress.begin(), r.MacAddress.end(), [](std::uint8_t b) { return b != 0; });
}

bool IsDuplicate(const DeviceTableArray& table, std::span<const std::uint8_t> reply, int total) {
  for (int k = 0; k < total && k < kDeviceTableSize; ++k) {
    const DeviceEntry& e = table[static_cast<std::size_t>(k)];
    if (e.Entry_Status == kEntryFilled && std::equal(e.Device_MAC.begin(), e.Device_MAC.end(), reply.begin() + 4))
      return true;
  }
  return false;
}

// First two octets 127.0 (network order: the lowest two bytes).
bool IsLoopbackNet(std::uint32_t addr) { return (addr & 0xFFFFu) == 0x007Fu; }

}  // namespace

SearchPassword PadSearchPassword(std::string_view text) {
  SearchPassword padded;
  padded.fill(' ');
  for (std::size_t i = 0; i < padded.size() && i < text.size() && text[i] != '\0'; ++i)
    padded[i] = static_cast<std::uint8_t>(text[i]);
  return padded;
}

SearchPassword TypedSearchPassword(std::string_view utf8) {
  // Meant for ASCII passwords; other characters go through the device code
  // page (no form there: '?').
  const std::string ansi = platform::Utf8ToAnsi(utf8);
  return PadSearchPassword(std::string_view(ansi).substr(0, platform::AnsiPrefixLength(ansi, 8)));
}

int ScanLX47_sub(std::uint32_t host, const SearchRequest& request, SearchResult& found, const ExchangeContext& x) {
  const int base = found.FoundCount;
  int stored = 0;
  bool done = false;
  const bool filter = MacFilterActive(request);

  CycleSpec cycle;
  cycle.host = host;
  cycle.request = [&request](int, std::vector<std::uint8_t>& req) {
    req.assign({'F', 'O', 'N', 'D'});
    req.insert(req.end(), request.Password.begin(), request.Password.end());
  };
  cycle.destination = [](int) { return platform::kBroadcastAddr; };
  cycle.bufferSize = 2048;
  TakeTiming(cycle, request.settings);
  cycle.attempts += request.OneDevice != 0 ? 10 : 0;
  cycle.successMarker = "IAMI";
  cycle.minLength = kConfigBlockSize;
  cycle.markerlessUsesAttempt = true;
  // An abort keeps what was stored and counts as a finished search.
  cycle.abortResult = PR_OK;
  cycle.exhaustedResult = PR_OK;
  cycle.accept = [&](const CycleReply& r) {
    if (request.OneDevice == 1) {
      if (filter && !ReplyMacIs(r, request.MacAddress)) return false;
      return true;
    }
    return !IsDuplicate(found.DeviceTable, r.bytes, base + stored);
  };
  cycle.onAccepted = [&](const CycleReply& r) -> std::optional<int> {
    if (request.OneDevice == 1) done = true;
    const int total = base + stored;
    if (total < kDeviceTableSize) {
      found.DeviceTable[static_cast<std::size_t>(total)].storeReply(r.bytes, host);
      ++stored;
    }
    if (done || base + stored >= kDeviceTableSize) return PR_OK;
    return std::nullopt;
  };

  const int result = RunCycle(cycle, x);
  found.FoundCount += stored;
  return result;
}

int DiscoverDevices(const SearchRequest& request, SearchResult& found, const ExchangeContext& x) {
  found.FoundCount = 0;
  std::vector<hostnet::HostAddressRow> rows;
  if (hostnet::GetHostAddressTable(x.io.hosts, rows) == 0) return PR_OK;

  if (request.settings.ALL_HOST_SCAN != 0) {
    for (const hostnet::HostAddressRow& row : rows) {
      if (x.abort.IsAbortRequested()) break;
      if (!hostnet::UsableForAllHosts(row)) continue;
      const int before = found.FoundCount;
      const int result = ScanLX47_sub(row.addr, request, found, x);
      if (result != PR_OK) return result;
      if (request.OneDevice == 1 && found.FoundCount > before) break;
      if (found.FoundCount >= kDeviceTableSize) break;
    }
    return PR_OK;
  }

  const std::uint32_t host = request.SelectedHostAddress;
  for (const hostnet::HostAddressRow& row : rows) {
    if (IsLoopbackNet(row.addr)) continue;
    if (row.addr == host) return ScanLX47_sub(host, request, found, x);
  }
  return PR_NO_HOST;
}

}  // namespace lx47
