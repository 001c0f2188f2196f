#include "protocol/firmware.h"

#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "platform/net.h"
#include "protocol/cycle.h"
#include "protocol/result_codes.h"

namespace lx47 {

using platform::NetApi;
using platform::Socket;

namespace {

void Progress(platform::Notifier* notify, std::size_t sent, std::int32_t length) {
  if (notify) notify->post(UWM_PROCESS_PROGRESS, static_cast<std::intptr_t>(sent), length);
}

int Announce(NetApi& net, const DeviceEntry& target, const ToolSettings& settings) {
  std::vector<std::uint8_t> firm(target.Block.begin(), target.Block.begin() + kConfigBlockSize);
  std::memcpy(firm.data(), "FIRM", 4);
  Socket udp(net, net.udpSocket());
  if (!udp.valid()) return PR_SEND;
  if (!net.setBroadcast(udp.get(), true)) return PR_SEND;
  if (!net.bind(udp.get(), platform::Endpoint{target.Host_IP, kDevicePort})) return PR_SEND;
  const std::uint32_t to = settings.USE_BC_FUP == 1 ? platform::kBroadcastAddr : target.Device_IP;
  if (!net.sendTo(udp.get(), firm.data(), firm.size(), platform::Endpoint{to, kDevicePort})) return PR_SEND;
  return PR_OK;
}

int Connect(NetApi& net, const Socket& tcp, const DeviceEntry& target) {
  if (!tcp.valid()) return PR_SEND;
  if (!net.setNonBlocking(tcp.get(), true)) return PR_CONNECT;
  const platform::ConnectStart start = net.connect(tcp.get(), platform::Endpoint{target.Device_IP, kFirmwarePort});
  if (start == platform::ConnectStart::Failed) {
    (void)net.setNonBlocking(tcp.get(), false);
    return PR_CONNECT;
  }
  (void)net.setNonBlocking(tcp.get(), false);
  if (net.waitConnected(tcp.get(), kFirmwareConnectTimeoutMs) != platform::WaitResult::Ready) return PR_CONNECT;
  return PR_OK;
}

}  // namespace

int TransferFirmware(const DeviceEntry& target, const std::uint8_t* image, std::int32_t length,
                     const ToolSettings& settings, const ExchangeContext& x) {
  if (length <= 0 || !image || !target.hasBlock()) return PR_SEND;
  NetApi& net = x.io.net;
  platform::Clock& clock = x.io.clock;
  const platform::FinePauses pace(clock);

  if (int r = Announce(net, target, settings); r != PR_OK) return r;
  clock.sleepMs(300);

  Socket tcp(net, net.tcpSocket());
  if (int r = Connect(net, tcp, target); r != PR_OK) return r;

  const std::uint32_t n = static_cast<std::uint32_t>(length);
  const std::uint8_t header[4] = {static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
                                  static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
  if (net.send(tcp.get(), header, sizeof header) != static_cast<std::ptrdiff_t>(sizeof header)) return PR_SEND;
  Progress(x.notify, 0, length);
  clock.sleepMs(300);

  std::size_t p = 0;
  while (p < n) {
    if (x.abort.IsAbortRequested()) return PR_ABORTED;
    const std::size_t piece = std::min<std::size_t>(kFirmwarePiece, n - p);
    const std::ptrdiff_t sent = net.send(tcp.get(), image + p, piece);
    // A send that moves nothing would never finish the image.
    if (sent <= 0) return PR_SEND;
    p += static_cast<std::size_t>(sent);
    Progress(x.notify, p, length);
    clock.sleepMs(400);
  }
  Progress(x.notify, p, length);
  clock.sleepMs(1000);
  return PR_OK;
}

}  // namespace lx47
