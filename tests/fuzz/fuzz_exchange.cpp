// Feeds arbitrary datagrams to one exchange's reply handling through the
// fake network. Built once per exchange (LX47_FUZZ_EXCHANGE picks it). The
// input is a list of datagrams, each a 2-byte big-endian length and its
// bytes; every request of the exchange is answered with all of them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fake_net.h"
#include "fakes.h"
#include "protocol/device_commands.h"
#include "protocol/discovery.h"
#include "protocol/factory_reset.h"
#include "protocol/router_scan.h"
#include "protocol/session.h"
#include "protocol/settings_write.h"

namespace {

using namespace lx47;

std::vector<test::Bytes> SplitDatagrams(const std::uint8_t* data, std::size_t size) {
  std::vector<test::Bytes> out;
  std::size_t i = 0;
  while (i + 2 <= size && out.size() < 64) {
    std::size_t n = (std::size_t{data[i]} << 8) | data[i + 1];
    i += 2;
    if (n > size - i) n = size - i;
    out.emplace_back(data + i, data + i + n);
    i += n;
  }
  return out;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

DeviceEntry Entry() {
  DeviceEntry e;
  test::Bytes block(kConfigBlockSize, 0);
  std::copy_n("IAMI", 4, block.begin());
  const std::uint8_t mac[6] = {0x00, 0x80, 0x47, 0x00, 0x00, 0x01};
  std::copy_n(mac, 6, block.begin() + 4);
  e.storeReply(block, 0x0100000A);
  return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  test::FakeNet net;
  test::FakeClock clock;
  test::FakeHostNet host;
  host.rows.push_back({0x0100000Au, 1, 0, 0, 0, 0});
  const std::vector<test::Bytes> datagrams = SplitDatagrams(data, size);
  net.onSend = [&](const test::Datagram& d) {
    for (const test::Bytes& b : datagrams) net.replyTo(d, b);
  };
  Session session;
  ToolSettings& settings = session.Settings;
  settings.MaxSendCmdLoopCount = 2;
  settings.MaxRecvLoopCount = 8;
  const ExchangeContext x{Io{net, clock, host}, session.Abort};

  DeviceEntry entry = Entry();
  int result = 0;
#if LX47_FUZZ_EXCHANGE == 0
  SearchResult found;
  result = DiscoverDevices(SearchRequest{settings}, found, x);
  Check(found.FoundCount >= 0 && found.FoundCount <= kDeviceTableSize);
  for (int k = 0; k < found.FoundCount; ++k) {
    const DeviceEntry& e = found.DeviceTable[static_cast<std::size_t>(k)];
    Check(e.Entry_Status == kEntryFilled && e.Block_Length() >= kConfigBlockSize && e.Block_Length() <= 2047);
  }
#elif LX47_FUZZ_EXCHANGE == 1
  result = WriteSettings(entry, settings, x);
  Check(entry.Block_Length() >= kConfigBlockSize && entry.Block_Length() <= 2047);
#elif LX47_FUZZ_EXCHANGE == 2
  FactoryResetRequest request{settings, 0, entry.Device_MAC};
  request.Device_IP = entry.Device_IP;
  result = FactoryReset(request, x);
#elif LX47_FUZZ_EXCHANGE == 3
  std::uint8_t count = 0;
  result = ScanRouters(entry, count, session.RouterScanTable.data(), kRouterScanCapacity, settings, x);
  Check(count <= kRouterScanCapacity);
#elif LX47_FUZZ_EXCHANGE == 4
  result = SetDeviceClock(entry, settings, x);
#elif LX47_FUZZ_EXCHANGE == 5
  result = DisconnectTcp(entry, settings, x);
#endif
  Check(result >= -1 && result <= 20);
  Check(net.openSockets() == 0);
  return 0;
}
