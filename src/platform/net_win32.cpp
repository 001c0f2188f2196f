// Winsock 2 behind the socket layer.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/net.h"

namespace lx47::platform {
namespace {

// A connect on a non-blocking socket reports this while it is under way.
constexpr int kWouldBlock = 10035;  // WSAEWOULDBLOCK
static_assert(WSAEWOULDBLOCK == kWouldBlock);

sockaddr_in toSockaddr(Endpoint e) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = e.addr;
  sa.sin_port = htons(e.port);
  return sa;
}

SOCKET sock(SocketHandle s) { return static_cast<SOCKET>(s); }

// The handle layer keeps -1 for "no socket"; INVALID_SOCKET is ~0, the same
// bit pattern, but say so rather than rely on it.
SocketHandle handle(SOCKET s) { return s == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(s); }

class WinsockNet final : public NetApi {
 public:
  ~WinsockNet() override {
    if (started_) WSACleanup();
  }
  bool startup() override {
    if (started_) return true;
    WSADATA data{};
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
    // A stack that offers only an older version cannot serve this tool.
    if (LOBYTE(data.wVersion) != 2 || HIBYTE(data.wVersion) != 2) {
      WSACleanup();
      return false;
    }
    started_ = true;
    return true;
  }
  SocketHandle udpSocket() override { return handle(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)); }
  SocketHandle tcpSocket() override {
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return kInvalidSocket;
    // A peer that accepts and then stops reading would block a send for
    // ever; after kStreamSendTimeoutMs without progress the send fails.
    DWORD ms = kStreamSendTimeoutMs;
    (void)::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
    return handle(s);
  }
  bool setBroadcast(SocketHandle s, bool on) override {
    BOOL v = on ? TRUE : FALSE;
    return ::setsockopt(sock(s), SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&v), sizeof v) == 0;
  }
  bool bind(SocketHandle s, Endpoint local) override {
    // A UDP socket bound to an address hears its port's broadcasts that come
    // in through that address's interface as well: nothing more to do here
    // (the POSIX side opens listeners for them).
    sockaddr_in sa = toSockaddr(local);
    return ::bind(sock(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
  }
  bool localEndpoint(SocketHandle s, Endpoint& out) override {
    sockaddr_in sa{};
    int len = sizeof sa;
    if (::getsockname(sock(s), reinterpret_cast<sockaddr*>(&sa), &len) != 0) return false;
    out.addr = sa.sin_addr.s_addr;
    out.port = ntohs(sa.sin_port);
    return true;
  }
  bool sendTo(SocketHandle s, const std::uint8_t* data, std::size_t len, Endpoint to) override {
    sockaddr_in sa = toSockaddr(to);
    int n = ::sendto(sock(s), reinterpret_cast<const char*>(data), static_cast<int>(len), 0,
                     reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    return n != SOCKET_ERROR && static_cast<std::size_t>(n) == len;
  }
  std::ptrdiff_t recvFrom(SocketHandle s, std::uint8_t* buf, std::size_t cap) override {
    sockaddr_in from{};
    int len = sizeof from;
    int n = ::recvfrom(sock(s), reinterpret_cast<char*>(buf), static_cast<int>(cap), 0,
                       reinterpret_cast<sockaddr*>(&from), &len);
    // WSAEMSGSIZE too: a datagram longer than cap is used up and nothing is
    // received (the POSIX side detects the truncation and does the same).
    if (n == SOCKET_ERROR) return -1;
    return n;
  }
  bool setNonBlocking(SocketHandle s, bool on) override {
    u_long v = on ? 1 : 0;
    return ::ioctlsocket(sock(s), FIONBIO, &v) == 0;
  }
  ConnectStart connect(SocketHandle s, Endpoint to) override {
    sockaddr_in sa = toSockaddr(to);
    if (::connect(sock(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0) return ConnectStart::Connected;
    return WSAGetLastError() == kWouldBlock ? ConnectStart::InProgress : ConnectStart::Failed;
  }
  WaitResult waitConnected(SocketHandle s, int timeoutMs) override {
    fd_set r, w, e;
    FD_ZERO(&r);
    FD_ZERO(&w);
    FD_ZERO(&e);
    FD_SET(sock(s), &r);
    FD_SET(sock(s), &w);
    FD_SET(sock(s), &e);
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    // The first argument is ignored by Winsock.
    int n = ::select(0, &r, &w, &e, &tv);
    if (n == SOCKET_ERROR) return WaitResult::Failed;
    if (n == 0) return WaitResult::TimedOut;
    // Winsock reports a refused connection in the exception set only.
    if (!FD_ISSET(sock(s), &r) && !FD_ISSET(sock(s), &w)) return WaitResult::NotReady;
    return WaitResult::Ready;
  }
  std::ptrdiff_t send(SocketHandle s, const std::uint8_t* data, std::size_t len) override {
    // One call sends at most INT_MAX bytes; the caller sends the rest.
    const int chunk = len > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(len);
    int n = ::send(sock(s), reinterpret_cast<const char*>(data), chunk, 0);
    return n == SOCKET_ERROR ? -1 : n;
  }
  void shutdownBoth(SocketHandle s) override { ::shutdown(sock(s), SD_BOTH); }
  void close(SocketHandle s) override { ::closesocket(sock(s)); }

 private:
  bool started_ = false;
};

}  // namespace

NetApi& systemNet() {
  static WinsockNet instance;
  return instance;
}

}  // namespace lx47::platform
