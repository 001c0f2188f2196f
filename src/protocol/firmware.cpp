#include "protocol/firmware.h"

#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "platform/net.h"
#include "protocol/cycle.h"
#include "protocol/result_codes.h"
#include "protocol/settings.h"

namespace lx47 {

using platform::net;
using platform::SocketHandle;

namespace {

// Owns a socket for one exchange: shut down and closed on every path.
struct SocketGuard {
  SocketHandle s = platform::kInvalidSocket;
  ~SocketGuard() { platform::closeSocket(s); }
};

void Progress(platform::Notifier* notify, std::size_t sent, std::int32_t length) {
  if (notify) notify->post(UWM_PROCESS_PROGRESS, static_cast<std::intptr_t>(sent), length);
}

int Announce(const DeviceEntry& target) {
  std::vector<std::uint8_t> firm(target.Block.begin(), target.Block.begin() + kConfigBlockSize);
  std::memcpy(firm.data(), "FIRM", 4);
  SocketGuard udp{net().udpSocket()};
  if (udp.s == platform::kInvalidSocket) return PR_SEND;
  if (!net().setBroadcast(udp.s, true)) return PR_SEND;
  if (!net().bind(udp.s, platform::Endpoint{target.Host_IP, kDevicePort})) return PR_SEND;
  const std::uint32_t to = USE_BC_FUP == 1 ? platform::kBroadcastAddr : target.Device_IP;
  if (!net().sendTo(udp.s, firm.data(), firm.size(), platform::Endpoint{to, kDevicePort})) return PR_SEND;
  return PR_OK;
}

int Connect(SocketGuard& tcp, const DeviceEntry& target) {
  tcp.s = net().tcpSocket();
  if (tcp.s == platform::kInvalidSocket) return PR_SEND;
  if (!net().setNonBlocking(tcp.s, true)) return PR_CONNECT;
  const platform::ConnectStart start = net().connect(tcp.s, platform::Endpoint{target.Device_IP, kFirmwarePort});
  if (start == platform::ConnectStart::Failed) {
    (void)net().setNonBlocking(tcp.s, false);
    return PR_CONNECT;
  }
  (void)net().setNonBlocking(tcp.s, false);
  if (net().waitConnected(tcp.s, kFirmwareConnectTimeoutMs) != platform::WaitResult::Ready) return PR_CONNECT;
  return PR_OK;
}

}  // namespace

int TransferFirmware(DeviceEntry& target, platform::Notifier* notify, const std::uint8_t* image, std::int32_t length) {
  if (length <= 0 || !image || !target.hasBlock()) return PR_SEND;
  const platform::FinePauses pace;

  if (int r = Announce(target); r != PR_OK) return r;
  platform::Sleep(300);

  SocketGuard tcp;
  if (int r = Connect(tcp, target); r != PR_OK) return r;

  const std::uint32_t n = static_cast<std::uint32_t>(length);
  const std::uint8_t header[4] = {static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
                                  static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
  if (net().send(tcp.s, header, sizeof header) != static_cast<std::ptrdiff_t>(sizeof header)) return PR_SEND;
  Progress(notify, 0, length);
  platform::Sleep(300);

  std::size_t p = 0;
  while (p < n) {
    if (IsAbortRequested()) return PR_ABORTED;
    const std::size_t piece = std::min<std::size_t>(kFirmwarePiece, n - p);
    const std::ptrdiff_t sent = net().send(tcp.s, image + p, piece);
    // A send that moves nothing would never finish the image.
    if (sent <= 0) return PR_SEND;
    p += static_cast<std::size_t>(sent);
    Progress(notify, p, length);
    platform::Sleep(400);
  }
  Progress(notify, p, length);
  platform::Sleep(1000);
  return PR_OK;
}

}  // namespace lx47
